// SPDX-License-Identifier: GPL-3.0-or-later
#include "cliptext.h"

#include "utf8text.h"

#include <QMimeData>

namespace ClipText {

QByteArray decode(QByteArrayView bytes, Encoding encoding)
{
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes = bytes.first(nul);
    return encoding == Encoding::Utf8 ? Utf8Text::validated(bytes)
                                      : Utf8Text::fromString(QString::fromLatin1(bytes));
}

Offer readOffer(const QList<QByteArray> &types)
{
    Offer offer;
    offer.hasPasswordHint = types.contains(QByteArrayView(kPasswordHintType));
    // Copied files come with their paths as text too; they are not a text.
    for (const char *type : kFileListTypes) {
        if (types.contains(QByteArrayView(type)))
            return offer;
    }
    for (const char *type : kTextTypes) {
        if (types.contains(QByteArrayView(type)))
            offer.textTypes.append(type);
    }
    return offer;
}

Encoding encodingOf(QByteArrayView type)
{
    return type == "STRING" ? Encoding::Latin1 : Encoding::Utf8;
}

QByteArray latin1Of(QByteArrayView utf8)
{
    return Utf8Text::toString(utf8).toLatin1();
}

bool isSecretHint(const QByteArray &hintValue)
{
    return hintValue.trimmed() == "secret";
}

QByteArray fromMimeData(const QMimeData &data)
{
    const QString hintType = QString::fromLatin1(kPasswordHintType);
    if (data.hasFormat(hintType) && isSecretHint(data.data(hintType)))
        return {};
    if (!data.hasText())
        return {};
    for (const char *type : kFileListTypes) {
        if (data.hasFormat(QString::fromLatin1(type)))
            return {};
    }
    const QString text = data.text();
    const qsizetype nul = text.indexOf(QChar(0));
    return Utf8Text::fromString(nul < 0 ? QStringView(text) : QStringView(text).first(nul));
}

} // namespace ClipText
