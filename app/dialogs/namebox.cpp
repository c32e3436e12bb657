// SPDX-License-Identifier: GPL-3.0-or-later
#include "namebox.h"

#include <QLocale>
#include <limits>

NameBox::NameBox(const QString &text, QWidget *parent) : QLineEdit(parent)
{
    // The box's own limit would cut longer names short.
    setMaxLength(std::numeric_limits<int>::max());
    setText(text);
}

void NameBox::setName(const QString &name)
{
    m_inPart = name.size() > kEditableLength;
    m_name = name;
    if (!m_inPart) {
        m_shown.clear();
        setReadOnly(false);
        setToolTip(QString());
        setText(name);
        return;
    }
    qsizetype length = kPartLength;
    // Never split a character made of two UTF-16 units.
    if (name.at(length - 1).isHighSurrogate())
        --length;
    m_shown = name.left(length) + QStringLiteral(" [...]");
    setReadOnly(true);
    setToolTip(
        QStringLiteral("Nome troppo lungo per essere modificato qui: sono mostrati i primi "
                       "%1 caratteri su %2.")
            .arg(QLocale().toString(qint64(length)), QLocale().toString(qint64(name.size()))));
    setText(m_shown);
}

QString NameBox::name() const
{
    if (m_inPart && text() == m_shown)
        return m_name;
    return text();
}
