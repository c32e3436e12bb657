// SPDX-License-Identifier: GPL-3.0-or-later
#include "historyview.h"

#include "entrydelegate.h"
#include "historystore.h"

#include <QScopedValueRollback>
#include <utility>

HistoryView::HistoryView(HistoryStore &store, QWidget *parent) : QListView(parent)
{
    setUniformItemSizes(true);
    setItemDelegate(new EntryDelegate(this));
    setModel(&store);
    connect(&store, &QAbstractItemModel::rowsRemoved, this, [this] { setCurrentRow(-1); });
}

int HistoryView::count() const
{
    return model()->rowCount();
}

int HistoryView::currentRow() const
{
    return currentIndex().row();
}

void HistoryView::setCurrentRow(int row)
{
    selectionModel()->setCurrentIndex(model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
}

void HistoryView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    if (start == model()->rowCount() - (end - start + 1) && !m_otherChanges) {
        if (m_appendedFrom < 0)
            m_appendedFrom = start;
    } else {
        m_otherChanges = true;
    }
    QListView::rowsInserted(parent, start, end);
}

void HistoryView::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    m_otherChanges = true;
    QListView::rowsAboutToBeRemoved(parent, start, end);
}

void HistoryView::reset()
{
    m_otherChanges = true;
    QListView::reset();
}

void HistoryView::paintEvent(QPaintEvent *event)
{
    // Lines appended since the last layout have no place yet; without one,
    // what they cover would be drawn empty and, with only new lines redrawn
    // after the layout, stay so.
    const QScopedValueRollback painting(m_painting, true);
    executeDelayedItemsLayout();
    QListView::paintEvent(event);
}

void HistoryView::doItemsLayout()
{
    const int appendedFrom = std::exchange(m_appendedFrom, -1);
    const bool otherChanges = std::exchange(m_otherChanges, false);
    if (appendedFrom < 0 || otherChanges || !viewport()->updatesEnabled()) {
        QListView::doItemsLayout();
        return;
    }
    // The layout asks for the whole list to be drawn again; the lines above
    // the new ones stay as they are.
    viewport()->setAttribute(Qt::WA_UpdatesDisabled, true);
    QListView::doItemsLayout();
    viewport()->setAttribute(Qt::WA_UpdatesDisabled, false);
    const QRect shown = viewport()->rect();
    QRegion lines;
    for (int row = appendedFrom; row < model()->rowCount(); ++row) {
        const QRect line = visualRect(model()->index(row, 0));
        if (line.top() > shown.bottom())
            break;
        lines += line.intersected(shown);
    }
    if (lines.isEmpty())
        return;
    // Asked for while a paint is under way, an update would be lost.
    if (m_painting)
        QMetaObject::invokeMethod(
            viewport(), [this, lines] { viewport()->update(lines); }, Qt::QueuedConnection);
    else
        viewport()->update(lines);
}
