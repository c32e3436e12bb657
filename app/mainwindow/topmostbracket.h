// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class AlwaysOnTop;
class MessageBox;
class ModalHost;
class QAction;
class QDialog;

// Every modal message and window of the main window goes through here, so
// that an always-on-top main window never covers it: always-on-top is off
// while it shows, and on again afterwards if mnutopmost is checked.
class TopmostBracket
{
public:
    TopmostBracket(AlwaysOnTop &alwaysOnTop, const QAction &mnutopmost, MessageBox &messages,
                   ModalHost &modals);

    int msgBox(const QString &text, int style, const QString &title = {});
    int showModal(QDialog &dialog);

    // The two halves, for callers that do more inside the bracket. open()
    // returns whether mnutopmost was checked, which close() takes back.
    bool open();
    void close(bool wasChecked);

private:
    AlwaysOnTop &m_alwaysOnTop;
    const QAction &m_mnutopmost;
    MessageBox &m_messages;
    ModalHost &m_modals;
};
