// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class Clipboard;

// How entries go back onto the clipboard, for every command that copies one.
namespace ClipboardWriter {

// Puts `text` on the clipboard, first emptying it of every format when
// `emptyFirst`; false when the clipboard cannot be opened.
bool copy(Clipboard &clipboard, const QString &text, bool emptyFirst);
// What the user is told when that fails.
QString unavailableMessage();

} // namespace ClipboardWriter
