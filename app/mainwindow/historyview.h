// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListView>

class HistoryStore;

// The history list List1: one line per entry, with its check box, drawn on
// one visual line at a cost that does not grow with the text. After a
// removal no line is selected, whichever line was.
class HistoryView : public QListView
{
    Q_OBJECT
public:
    explicit HistoryView(HistoryStore &store, QWidget *parent = nullptr);

    int count() const;
    int currentRow() const;
    // Makes `row` the current and only selected line; -1 selects none.
    void setCurrentRow(int row);
};
