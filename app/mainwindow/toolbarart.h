// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

// Pictures of the four toolbar buttons, drawn at 16 × 16 and larger sizes.
namespace ToolbarArt {

QIcon editSelection();
QIcon deleteSelection();
QIcon emptyList();
QIcon helpContents();

} // namespace ToolbarArt
