// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QMimeData;

// How an offered clipboard text becomes the text the program sees.
namespace ClipText {

// Offers above this size count as the empty text.
inline constexpr qsizetype kMaxBytes = qsizetype(256) * 1024 * 1024;
// The type password managers add to what they copy, and its value for secrets.
inline constexpr char kPasswordHintType[] = "x-kde-passwordManagerHint";
// Types that mark copied files; an offer with one of them holds no text.
inline constexpr const char *kFileListTypes[] = {"text/uri-list", "x-special/gnome-copied-files",
                                                 "application/x-kde-cutselection"};

// The types a text is read in and offered in, in order of preference. STRING
// carries Latin-1, the others UTF-8.
inline constexpr const char *kTextTypes[] = {"text/plain;charset=utf-8", "UTF8_STRING",
                                             "text/plain", "STRING", "TEXT"};

enum class Encoding { Utf8, Latin1 };

// What the list of types on offer says about the text to read.
struct Offer
{
    // The password hint is on offer: its value decides whether the text is secret.
    bool hasPasswordHint = false;
    // The text types to ask for, in order of preference; none for copied files.
    QList<QByteArray> textTypes;
};
Offer readOffer(const QList<QByteArray> &types);
Encoding encodingOf(QByteArrayView type);
// A UTF-8 text in Latin-1, for the STRING type; characters that Latin-1
// lacks become '?'.
QByteArray latin1Of(QByteArrayView utf8);

// The text of offered bytes, as UTF-8 bytes of its own: invalid UTF-8
// becomes U+FFFD, and the text ends at its first NUL character. CR LF and
// lone CR are kept.
QByteArray decode(QByteArrayView bytes, Encoding encoding);
bool isSecretHint(const QByteArray &hintValue);
// The text of in-process clipboard data, with the same rules.
QByteArray fromMimeData(const QMimeData &data);

} // namespace ClipText
