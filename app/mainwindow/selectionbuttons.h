// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Toolbar buttons 1 and 2 ("Modifica selezione", "Elimina selezione"), which
// act on the selected entry. The main window wires them to its toolbar.
class SelectionButtons
{
public:
    virtual ~SelectionButtons() = default;
    virtual void setSelectionButtonsEnabled(bool enabled) = 0;
};
