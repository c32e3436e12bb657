// SPDX-License-Identifier: GPL-3.0-or-later
#include "contentbox.h"

#include <QKeyEvent>
#include <QLocale>
#include <QSignalBlocker>
#include <QTextDocument>

namespace {

// How the document holds the end of each paragraph in its raw text.
constexpr QChar kParagraphEnd = QChar::ParagraphSeparator;

} // namespace

ContentBox::ContentBox(QWidget *parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    m_shownRaw = document()->toRawText();
}

bool ContentBox::fitsForEditing(const QString &text)
{
    if (text.size() > kEditableLength)
        return false;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\n' || c == u'\r' || c == kParagraphEnd) {
            lineStart = i + 1;
        } else if (i - lineStart >= kEditableLineLength) {
            return false;
        }
    }
    return true;
}

QString ContentBox::partOf(const QString &text) const
{
    qsizetype length = kPartLength;
    // Never split a character made of two UTF-16 units.
    if (text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length) +
           QStringLiteral("\n\n[... Testo troppo lungo per essere modificato qui: sono mostrati "
                          "i primi %1 caratteri su %2.]")
               .arg(QLocale().toString(qint64(length)), QLocale().toString(qint64(text.size())));
}

void ContentBox::setText(const QString &text)
{
    if (text == this->text())
        return;
    m_text = text;
    m_inPart = !fitsForEditing(text);
    {
        // One change notification for the whole filling, whatever the
        // document reports on its way.
        const QSignalBlocker blocker(this);
        setPlainText(m_inPart ? partOf(text) : text);
    }
    m_shownRaw = document()->toRawText();
    if (m_inPart && !isReadOnly()) {
        setReadOnly(true);
        m_readOnlyForPart = true;
    } else if (!m_inPart && m_readOnlyForPart) {
        setReadOnly(false);
        m_readOnlyForPart = false;
    }
    Q_EMIT textChanged();
}

QString ContentBox::lineBreak() const
{
    return m_text.contains(QLatin1String("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
}

QString ContentBox::text() const
{
    QString raw = document()->toRawText();
    if (raw == m_shownRaw)
        return m_text;
    return raw.replace(kParagraphEnd, lineBreak());
}

void ContentBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (event->modifiers() & Qt::ControlModifier) {
            if (!isReadOnly()) {
                textCursor().insertBlock();
                ensureCursorVisible();
            }
            event->accept();
            return;
        }
        // Left to the dialog: its default button closes it.
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}
