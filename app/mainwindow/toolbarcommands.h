// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QString>
#include <functional>

class EntryCommands;
class QAbstractItemView;
class QMenu;

/// What the toolbar's buttons do, by key, and the "&Menu" popup on the
/// right button.
class ToolbarCommands
{
public:
    /// @p openHelp opens the help at its contents, as "&Guida" does.
    ToolbarCommands(const QAbstractItemView &List1, EntryCommands &commands, QMenu &cd,
                    std::function<void()> openHelp);

    /// "Mod" edits the selected entry, "Elim" deletes it, "ElimT" empties
    /// the history, "Gui" opens the help; any other key does nothing.
    void buttonClick(const QString &key);
    /// The right button shows "&Menu" at @p globalPos.
    void mouseDown(Qt::MouseButton button, const QPoint &globalPos);

private:
    const QAbstractItemView &m_list;
    EntryCommands &m_commands;
    QMenu &m_cd;
    std::function<void()> m_openHelp;
};
