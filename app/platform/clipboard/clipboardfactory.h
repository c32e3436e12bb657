// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

class Clipboard;
class QObject;

/// The system clipboard for the platform Qt runs on: the X11 reader on xcb,
/// the plain Qt clipboard elsewhere (offscreen, where it lives in-process).
/// Needs the QGuiApplication to exist.
std::unique_ptr<Clipboard> createSystemClipboard(QObject *parent = nullptr);
