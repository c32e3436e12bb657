// SPDX-License-Identifier: GPL-3.0-or-later
#include "entrydelegate.h"

#include "historystore.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPixmapCache>

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
    // Every line is one visual line high, whatever its text: measured once.
    if (m_height < 0 || option.font != m_heightFont) {
        m_height = QStyledItemDelegate::sizeHint(option, index).height();
        m_heightFont = option.font;
    }
    // As narrow as can be, so that every line takes the list's width and is
    // elided there instead of widening the list.
    return QSize(1, m_height);
}

const EntryDelegate::Layout &EntryDelegate::layoutOf(const QStyleOptionViewItem &item,
                                                     const QStyle &style) const
{
    if (item.rect.size() == m_layout.line)
        return m_layout;
    QStyleOptionViewItem at = item;
    at.rect.moveTo(0, 0);
    const QRect check =
        style.subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &at, item.widget);
    const int margin = style.pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, item.widget) + 1;
    QRect text = at.rect.adjusted(margin, 0, -margin, 0);
    text.setLeft(check.right() + 1 + margin);
    m_layout = {item.rect.size(), check, text};
    return m_layout;
}

QPixmap EntryDelegate::checkBox(const QStyleOptionViewItem &item, const QStyle &style) const
{
    const qreal ratio = item.widget ? item.widget->devicePixelRatioF() : 1.0;
    const QSize size = m_layout.check.size();
    const QString key = QStringLiteral("scrivel-check-%1-%2-%3x%4@%5")
                            .arg(int(item.checkState))
                            .arg(int(item.state & (QStyle::State_Enabled | QStyle::State_Active)))
                            .arg(size.width())
                            .arg(size.height())
                            .arg(ratio);
    QPixmap box;
    if (QPixmapCache::find(key, &box))
        return box;
    box = QPixmap(size * ratio);
    box.setDevicePixelRatio(ratio);
    box.fill(Qt::transparent);
    QPainter painter(&box);
    QStyleOptionViewItem at = item;
    at.rect = QRect(QPoint(0, 0), size);
    at.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver);
    at.state |= item.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
    style.drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &at, &painter, item.widget);
    painter.end();
    QPixmapCache::insert(key, box);
    return box;
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
    // No character is narrower than a pixel or two: what lies past twice the
    // width in characters cannot show, and is not laid out.
    const QFontMetrics metrics(font);
    const qsizetype fits = qsizetype(width) / 2 + 1;
    const QString whole = oneLine(index.data(Qt::DisplayRole).toString());
    QString shown = metrics.elidedText(whole.left(fits), Qt::ElideRight, width);
    if (whole.size() > fits && shown.size() == fits)
        shown = metrics.elidedText(whole.left(fits - 1) + QChar(0x2026), Qt::ElideRight, width);
    auto *line = new QStaticText(shown);
    line->setTextFormat(Qt::PlainText);
    line->prepare(QTransform(), font);
    m_lines.insert(id, line);
    return *line;
}

void EntryDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const
{
    // The style draws the background and the focus, as it would; the check
    // box and the text come from what was drawn and laid out before.
    QStyleOptionViewItem item = option;
    item.index = index;
    item.features |= QStyleOptionViewItem::HasCheckIndicator;
    item.checkState = index.data(Qt::CheckStateRole).value<Qt::CheckState>();
    const QWidget *widget = option.widget;
    const QStyle &style = widget ? *widget->style() : *QApplication::style();
    style.drawPrimitive(QStyle::PE_PanelItemViewItem, &item, painter, widget);
    const Layout &layout = layoutOf(item, style);
    painter->drawPixmap(option.rect.topLeft() + layout.check.topLeft(), checkBox(item, style));
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = style.subElementRect(QStyle::SE_ItemViewItemFocusRect, &item, widget);
        focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
        focus.backgroundColor = option.palette.color(
            option.state & QStyle::State_Selected ? QPalette::Highlight : QPalette::Window);
        style.drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }

    const QRect text = layout.text.translated(option.rect.topLeft());
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
