// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolbarcommands.h"

#include "entrycommands.h"
#include "selectedrow.h"

#include <QAbstractItemView>
#include <QMenu>

ToolbarCommands::ToolbarCommands(const QAbstractItemView &List1, EntryCommands &commands, QMenu &cd,
                                 std::function<void()> openHelp)
    : m_list(List1), m_commands(commands), m_cd(cd), m_openHelp(std::move(openHelp))
{}

void ToolbarCommands::buttonClick(const QString &key)
{
    if (key == QLatin1String("Mod")) {
        if (selectedRow(m_list) != -1)
            m_commands.editSelected();
    } else if (key == QLatin1String("Elim")) {
        m_commands.deleteSelected();
    } else if (key == QLatin1String("ElimT")) {
        m_commands.emptyHistory(EntryCommands::EmptyFrom::Toolbar);
    } else if (key == QLatin1String("Gui")) {
        m_openHelp();
    }
}

void ToolbarCommands::mouseDown(Qt::MouseButton button, const QPoint &globalPos)
{
    if (button == Qt::RightButton)
        m_cd.popup(globalPos);
}
