// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QIcon>

// The three tray pictures of the monitor, drawn afresh at every size a tray
// may ask for (16 × 16 up to 64 × 64), so they stay crisp in large panels and
// on high-density screens.
namespace TrayArt {

inline const QColor kNormalColor{0x25, 0x63, 0xeb};
inline const QColor kCaptureColor{0x16, 0xa3, 0x4a};
inline const QColor kSuspendedColor{0x6b, 0x72, 0x80};

QIcon normalIcon();
QIcon captureIcon();
QIcon suspendedIcon();

} // namespace TrayArt
