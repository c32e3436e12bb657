// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class Clipboard;

// How entries go back onto the clipboard, for every command that copies one.
namespace ClipboardWriter {

// Puts a UTF-8 text on the clipboard, first emptying it of every format when
// `emptyFirst`; false when the clipboard cannot be opened.
bool copy(Clipboard &clipboard, const QByteArray &utf8, bool emptyFirst);
// What the user is told when that fails.
QString unavailableMessage();

} // namespace ClipboardWriter
