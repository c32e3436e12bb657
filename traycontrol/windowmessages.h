// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

/// The mouse messages that a tray icon's callback message carries as its second parameter.
namespace WindowMessages {

inline constexpr quint32 WM_MOUSEMOVE = 0x0200;
inline constexpr quint32 WM_LBUTTONDOWN = 0x0201;
inline constexpr quint32 WM_LBUTTONUP = 0x0202;
inline constexpr quint32 WM_LBUTTONDBLCLK = 0x0203;
inline constexpr quint32 WM_RBUTTONDOWN = 0x0204;
inline constexpr quint32 WM_RBUTTONUP = 0x0205;
inline constexpr quint32 WM_RBUTTONDBLCLK = 0x0206;
inline constexpr quint32 WM_MBUTTONDOWN = 0x0207;
inline constexpr quint32 WM_MBUTTONUP = 0x0208;

} // namespace WindowMessages
