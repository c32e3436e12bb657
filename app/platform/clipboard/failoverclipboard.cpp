// SPDX-License-Identifier: GPL-3.0-or-later
#include "failoverclipboard.h"

#include "waylandclipboard.h"

#include <utility>

FailoverClipboard::FailoverClipboard(std::unique_ptr<WaylandClipboard> primary, Factory fallback,
                                     QObject *parent)
    : Clipboard(parent), m_primary(std::move(primary)), m_fallback(std::move(fallback)),
      m_current(m_primary.get())
{
    connect(m_primary.get(), &WaylandClipboard::connectionLost, this, &FailoverClipboard::failOver);
}

FailoverClipboard::~FailoverClipboard() = default;

void FailoverClipboard::failOver()
{
    if (m_replacement || !m_fallback)
        return;
    m_replacement = m_fallback();
    if (!m_replacement)
        return;
    m_replacement->setReadAhead(m_readAhead);
    // Serials go on growing, so that no reading of the new reader looks old.
    m_serialBase = m_lastSerial + 1;
    m_current = m_replacement.get();
}

Clipboard::Reading FailoverClipboard::poll()
{
    return continued(m_current->poll());
}

Clipboard::Reading FailoverClipboard::readNow()
{
    return continued(m_current->readNow());
}

Clipboard::Reading FailoverClipboard::continued(Reading reading)
{
    reading.serial += m_serialBase;
    m_lastSerial = reading.serial;
    return reading;
}

bool FailoverClipboard::setText(const QByteArray &utf8)
{
    return m_current->setText(utf8);
}

bool FailoverClipboard::clear()
{
    return m_current->clear();
}

void FailoverClipboard::setReadAhead(bool on)
{
    m_readAhead = on;
    m_current->setReadAhead(on);
}
