// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtclipboardwriter.h"

#include <QClipboard>
#include <QGuiApplication>

bool QtClipboardWriter::setText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    return true;
}

bool QtClipboardWriter::clear()
{
    QGuiApplication::clipboard()->clear();
    return true;
}
