// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>

// Draws each history line on one visual line, whatever the length of its
// text: line breaks become a visible mark and the rest is elided. The cost
// of drawing does not grow with the text, and the text itself is untouched.
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

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};
