// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Texts held as UTF-8 bytes: half the memory of a QString for the texts
// people copy. These turn them into QString only as far as needed.
namespace Utf8Text {

// The UTF-8 bytes of a text, in no more memory than they take.
QByteArray fromString(QStringView text);
// The text of valid UTF-8 bytes, exactly: a leading U+FEFF stays a character
// (QString::fromUtf8() would take it for a byte order mark and drop it).
QString toString(QByteArrayView utf8);
// The text of bytes that should be UTF-8, as QString::fromUtf8() reads them
// (a leading byte order mark dropped, invalid sequences as U+FFFD), in bytes
// of its own that are valid UTF-8: valid bytes are copied as they are.
QByteArray validated(QByteArrayView bytes);
// toString(utf8).left(count), decoding no more than that needs.
QString left(QByteArrayView utf8, qsizetype count);
// The first `count` characters, with "..." (or `more`) after them when the
// text is longer.
QString head(QByteArrayView utf8, qsizetype count, QStringView more = u"...");

} // namespace Utf8Text
