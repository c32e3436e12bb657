// SPDX-License-Identifier: GPL-3.0-or-later
#include "historyview.h"

#include "entrydelegate.h"
#include "historystore.h"

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
