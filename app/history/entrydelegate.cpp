// SPDX-License-Identifier: GPL-3.0-or-later
#include "entrydelegate.h"

QString EntryDelegate::displayText(const QString &text)
{
    QString shown = text.left(kDrawnLength);
    shown.replace(QLatin1String("\r\n"), QStringLiteral("\u23CE"));
    for (QChar &c : shown) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QChar(0x23CE);
        else if (c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
    }
    if (text.size() > kDrawnLength)
        shown += QChar(0x2026);
    return shown;
}

void EntryDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->text = displayText(option->text);
    option->textElideMode = Qt::ElideRight;
    option->features &= ~QStyleOptionViewItem::WrapText;
}
