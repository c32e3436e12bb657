// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
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

enum class Encoding { Utf8, Latin1 };

// Decodes offered bytes: invalid UTF-8 becomes U+FFFD, and the text ends at
// its first NUL character. CR LF and lone CR are kept.
QString decode(const QByteArray &bytes, Encoding encoding);
bool isSecretHint(const QByteArray &hintValue);
// The text of in-process clipboard data, with the same rules.
QString fromMimeData(const QMimeData &data);

} // namespace ClipText
