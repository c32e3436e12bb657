// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractItemView>
#include <QItemSelectionModel>

/// The row of the line selected in @p list, or -1 when no line is selected.
///
/// The line the user sees selected, which is not always the list's current
/// line: the list makes a line current without selecting it when it gets
/// the focus, and keeps it current when a Ctrl+click deselects it.
inline int selectedRow(const QAbstractItemView &list)
{
    const QModelIndexList selected = list.selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}
