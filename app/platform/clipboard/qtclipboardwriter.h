// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard.h"

// A clipboard whose writes go through QClipboard: Qt then owns the
// selection and answers other programs' requests itself.
class QtClipboardWriter : public Clipboard
{
public:
    using Clipboard::Clipboard;

    bool setText(const QString &text) override { return writeText(text); }
    bool clear() override { return writeEmpty(); }

    // The same writes, for clipboards that read otherwise.
    static bool writeText(const QString &text);
    static bool writeEmpty();
};
