// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakeclipboard.h"

#include <utility>

void FakeClipboard::copy(const QString &text)
{
    m_text = text;
    ++m_serial;
}

void FakeClipboard::setUnavailable(bool unavailable)
{
    m_unavailable = unavailable;
}

void FakeClipboard::setPending(bool pending)
{
    m_pending = pending;
}

Clipboard::Reading FakeClipboard::poll()
{
    ++m_reads;
    if (m_pending)
        return {Status::Pending, {}, m_serial};
    if (m_unavailable)
        return {Status::Failed, {}, m_serial};
    QList<QByteArray> replaced;
    for (const QString &text : std::exchange(earlier, {}))
        replaced << text.toUtf8();
    return {Status::Ready, m_text.toUtf8(), m_serial, replaced};
}

Clipboard::Reading FakeClipboard::readNow()
{
    ++m_reads;
    if (m_unavailable || m_pending)
        return {Status::Failed, {}, m_serial};
    return {Status::Ready, m_text.toUtf8(), m_serial};
}

bool FakeClipboard::setText(const QByteArray &utf8)
{
    if (m_unavailable)
        return false;
    ++m_writes;
    copy(QString::fromUtf8(utf8));
    return true;
}

bool FakeClipboard::clear()
{
    if (m_unavailable)
        return false;
    ++m_clears;
    copy(QString());
    return true;
}
