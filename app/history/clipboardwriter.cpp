// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboardwriter.h"

#include "clipboard.h"

bool ClipboardWriter::copy(Clipboard &clipboard, const QByteArray &utf8, bool emptyFirst)
{
    return (!emptyFirst || clipboard.clear()) && clipboard.setText(utf8);
}

QString ClipboardWriter::unavailableMessage()
{
    return QStringLiteral("Gli Scrivel di sistema non sono disponibili. Terminare l'operazione in "
                          "corso prima di riprovare.");
}
