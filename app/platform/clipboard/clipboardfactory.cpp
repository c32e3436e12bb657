// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboardfactory.h"

#include "qtclipboard.h"
#include "x11clipboard.h"

#include <QGuiApplication>

std::unique_ptr<Clipboard> createSystemClipboard(QObject *parent)
{
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        return std::make_unique<X11Clipboard>(X11ReadLimits{}, parent);
    return std::make_unique<QtClipboard>(parent);
}
