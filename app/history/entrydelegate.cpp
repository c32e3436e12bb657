// SPDX-License-Identifier: GPL-3.0-or-later
#include "entrydelegate.h"

QString EntryDelegate::oneLine(const QString &text)
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

QString EntryDelegate::displayText(const QVariant &value, const QLocale &locale) const
{
    Q_UNUSED(locale);
    // The base class would copy the whole text to turn its line breaks into
    // line separators (which still break the line).
    return oneLine(value.toString());
}

void EntryDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);

    option->textElideMode = Qt::ElideRight;
    option->features &= ~QStyleOptionViewItem::WrapText;
}

QSize EntryDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // As narrow as can be, so that every line takes the list's width and is
    // elided there instead of widening the list.
    return QSize(1, QStyledItemDelegate::sizeHint(option, index).height());
}
