// SPDX-License-Identifier: GPL-3.0-or-later
#include "cliptext.h"

#include <QMimeData>

namespace ClipText {

QString decode(const QByteArray &bytes, Encoding encoding)
{
    const qsizetype nul = bytes.indexOf('\0');
    const QByteArrayView view = nul < 0 ? QByteArrayView(bytes) : QByteArrayView(bytes).first(nul);
    return encoding == Encoding::Utf8 ? QString::fromUtf8(view) : QString::fromLatin1(view);
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

QByteArray encode(const QString &text, Encoding encoding)
{
    return encoding == Encoding::Utf8 ? text.toUtf8() : text.toLatin1();
}

bool isSecretHint(const QByteArray &hintValue)
{
    return hintValue.trimmed() == "secret";
}

QString fromMimeData(const QMimeData &data)
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
    QString text = data.text();
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0)
        text.truncate(nul);
    return text;
}

} // namespace ClipText
