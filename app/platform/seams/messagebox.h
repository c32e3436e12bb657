// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Modal message boxes with the classic style values and results.
//
// style = buttons + icon: buttons 0 OK, 1 OK/Cancel, 3 Yes/No/Cancel, 4 Yes/No;
// icons 16 stop, 32 question, 48 exclamation, 64 information. The first
// button is the default. Results: 1 OK, 2 Cancel, 6 Yes, 7 No.
class MessageBox
{
public:
    enum Result { Ok = 1, Cancel = 2, Yes = 6, No = 7 };
    enum Style {
        OkOnly = 0,
        OkCancel = 1,
        YesNoCancel = 3,
        YesNo = 4,
        Critical = 16,
        Question = 32,
        Exclamation = 48,
        Information = 64,
    };

    virtual ~MessageBox() = default;
    // An empty title shows the application title.
    virtual int MsgBox(const QString &text, int style, const QString &title = {}) = 0;
};
