// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Whether the windows can open, asked before the application object exists:
// Qt ends the process with an abort when its platform cannot reach the
// display.
class DisplayProbe
{
public:
    // One line for the user naming the X display that cannot be reached;
    // empty when it can, or when the windows do not go to X11 (there the
    // platform chosen answers for itself). arguments: the program's name
    // followed by its arguments, where Qt's -platform and -display may be.
    static QString problem(const QStringList &arguments);
};
