// SPDX-License-Identifier: GPL-3.0-or-later
#include "entrydelegate.h"

#include "historystore.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

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

const QStaticText &EntryDelegate::drawnLine(const QModelIndex &index, const QFont &font,
                                            int width) const
{
    if (width != m_width || font != m_font) {
        m_lines.clear();
        m_width = width;
        m_font = font;
    }
    const quint64 id = index.data(HistoryStore::NameIdRole).toULongLong();
    if (const QStaticText *line = m_lines.object(id))
        return *line;
    const QString shown = QFontMetrics(font).elidedText(
        oneLine(index.data(Qt::DisplayRole).toString()), Qt::ElideRight, width);
    auto *line = new QStaticText(shown);
    line->setTextFormat(Qt::PlainText);
    line->prepare(QTransform(), font);
    m_lines.insert(id, line);
    return *line;
}

void EntryDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const
{
    // The style draws the background, the check box and the focus; the text
    // comes from the cache.
    QStyleOptionViewItem item = option;
    item.index = index;
    item.features |= QStyleOptionViewItem::HasCheckIndicator;
    item.checkState = index.data(Qt::CheckStateRole).value<Qt::CheckState>();
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

    const QRect check = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &item, widget);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    QRect text = option.rect.adjusted(margin, 0, -margin, 0);
    text.setLeft(check.right() + 1 + margin);
    if (text.width() <= 0)
        return;
    const QStaticText &line = drawnLine(index, option.font, text.width());

    const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (option.state & QStyle::State_Active) ? QPalette::Normal
                                                                               : QPalette::Inactive;
    const QPalette::ColorRole role =
        (option.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;
    painter->save();
    painter->setFont(option.font);
    painter->setPen(option.palette.color(group, role));
    const int top = text.top() + (text.height() - QFontMetrics(option.font).height()) / 2;
    painter->drawStaticText(text.left(), top, line);
    painter->restore();
}
