// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCache>
#include <QStaticText>
#include <QStyledItemDelegate>

// Draws each history line on one visual line, whatever the length of its
// text: line breaks become a visible mark and the rest is elided. A line's
// drawn text is laid out once for its name and the list's width, then
// reused at every paint; the cost does not grow with the text, and the text
// itself is untouched.
class EntryDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // At most this many characters of a text are ever laid out.
    static constexpr int kDrawnLength = 400;
    static QString oneLine(const QString &text);

    QString displayText(const QVariant &value, const QLocale &locale) const override;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    // Where the check box and the text lie in a line of a given size.
    struct Layout
    {
        QSize line;
        QRect check;
        QRect text;
    };
    const Layout &layoutOf(const QStyleOptionViewItem &item, const QStyle &style) const;
    // The drawn line of each name id, elided to the text's width.
    const QStaticText &drawnLine(const QModelIndex &index, const QFont &font, int width) const;
    // The check box as the style draws it, drawn once per state and size.
    QPixmap checkBox(const QStyleOptionViewItem &item, const QStyle &style) const;

    mutable QCache<quint64, QStaticText> m_lines{1024};
    mutable int m_width = -1;
    mutable QFont m_font;
    mutable Layout m_layout;
    // The line height for m_heightFont: the same for every line.
    mutable int m_height = -1;
    mutable QFont m_heightFont;
};
