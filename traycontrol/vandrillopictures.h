// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

/// The library's own 16-colour bitmaps, drawn from character maps.
namespace VandrilloPictures {

/// The 16 by 15 bitmap on the control's design surface: a window with a taskbar and its tray.
QImage imgVandrillo();
/// The 16 by 15 logo of the about box.
QImage imgLogo();

} // namespace VandrilloPictures
