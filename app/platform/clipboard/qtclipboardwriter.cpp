// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtclipboardwriter.h"

#include <QClipboard>
#include <QGuiApplication>

bool QtClipboardWriter::writeText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    return true;
}

bool QtClipboardWriter::writeEmpty()
{
    QGuiApplication::clipboard()->clear();
    return true;
}
