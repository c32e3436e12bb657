// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the desktop's notification area can tell the program.
namespace TrayHost {

// False where tray icons are shown through a StatusNotifierItem host, which
// reports clicks but never the pointer resting on an icon.
bool reportsHover();

} // namespace TrayHost
