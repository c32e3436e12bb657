// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

class Clipboard;
class QObject;

/// The system clipboard for the platform Qt runs on. In a Wayland session
/// whose compositor offers data-control (on xcb through XWayland, or on a
/// native Wayland platform): the Wayland clipboard, with the platform's own
/// reader to take over should its connection fail. Else the X11 reader on
/// xcb, and the plain Qt clipboard elsewhere (offscreen, where it lives
/// in-process). Needs the QGuiApplication to exist.
std::unique_ptr<Clipboard> createSystemClipboard(QObject *parent = nullptr);
