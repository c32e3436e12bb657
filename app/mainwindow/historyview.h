// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListView>

class HistoryStore;

// The history list List1: one line per entry, with its check box, drawn on
// one visual line at a cost that does not grow with the text. After a
// removal no line is selected, whichever line was. A capture repaints only
// the line it adds, not every line in sight.
class HistoryView : public QListView
{
    Q_OBJECT
public:
    explicit HistoryView(HistoryStore &store, QWidget *parent = nullptr);

    int count() const;
    int currentRow() const;
    // Makes `row` the current and only selected line; -1 selects none.
    void setCurrentRow(int row);

    void doItemsLayout() override;

protected:
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;
    void reset() override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Lines appended since the last layout, when nothing else changed: a
    // layout then moves no line, and only these need drawing.
    int m_appendedFrom = -1;
    bool m_otherChanges = false;
    bool m_painting = false;
};
