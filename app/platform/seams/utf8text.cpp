// SPDX-License-Identifier: GPL-3.0-or-later
#include "utf8text.h"

#include <QStringDecoder>

namespace Utf8Text {

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

} // namespace

QByteArray fromString(QStringView text)
{
    // The conversion reserves room for the worst case, three times the size.
    QByteArray utf8 = text.toUtf8();
    utf8.squeeze();
    return utf8;
}

QString toString(QByteArrayView utf8)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(utf8);
}

QByteArray validated(QByteArrayView bytes)
{
    if (!bytes.isValidUtf8())
        return fromString(QString::fromUtf8(bytes));
    if (bytes.startsWith(kByteOrderMark))
        bytes = bytes.sliced(sizeof kByteOrderMark - 1);
    return bytes.toByteArray();
}

QString left(QByteArrayView utf8, qsizetype count)
{
    // A UTF-16 unit takes at most three bytes, and a sequence cut at the end
    // at most three more: what follows cannot change the first units.
    const qsizetype enough = 3 * count + 3;
    if (utf8.size() > enough)
        utf8 = utf8.first(enough);
    return toString(utf8).left(count);
}

QString head(QByteArrayView utf8, qsizetype count, QStringView more)
{
    QString text = left(utf8, count + 1);
    if (text.size() <= count)
        return text;
    text.truncate(count);
    text += more;
    return text;
}

} // namespace Utf8Text
