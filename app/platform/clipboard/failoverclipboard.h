// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard.h"

#include <functional>
#include <memory>

class WaylandClipboard;

/// The Wayland clipboard while its connection lasts; should the compositor
/// connection fail, another reader (the X11 one, where XWayland still
/// serves) takes over for the rest of the run.
class FailoverClipboard : public Clipboard
{
    Q_OBJECT
public:
    using Factory = std::function<std::unique_ptr<Clipboard>()>;

    FailoverClipboard(std::unique_ptr<WaylandClipboard> primary, Factory fallback,
                      QObject *parent = nullptr);
    ~FailoverClipboard() override;

    Reading poll() override;
    Reading readNow() override;
    bool setText(const QByteArray &utf8) override;
    bool clear() override;
    void setReadAhead(bool on) override;

    /// The clipboard that serves now.
    Clipboard &current() const { return *m_current; }

private:
    void failOver();
    Reading continued(Reading reading);

    std::unique_ptr<WaylandClipboard> m_primary;
    Factory m_fallback;
    std::unique_ptr<Clipboard> m_replacement;
    Clipboard *m_current;
    bool m_readAhead = false;
    quint64 m_serialBase = 0;
    quint64 m_lastSerial = 0;
};
