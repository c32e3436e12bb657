// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>

/// The fields of one notification-area request, in the first (88-byte) layout of the classic
/// notification-icon structure: size, window, icon id, flags, callback message, icon and a tip
/// field of exactly 64 characters.
struct NotifyIconData
{
    static constexpr quint32 StructSize = 88;
    static constexpr int TipLength = 64;
    /// The callback message that carries mouse notifications to the owning window.
    static constexpr quint32 TrayMessage = 1125;

    enum Flag : quint32 {
        MessageFlag = 1, ///< uCallbackMessage is valid
        IconFlag = 2,    ///< hIcon is valid
        TipFlag = 4,     ///< szTip is valid
    };

    quint32 cbSize = StructSize;
    QPointer<QObject> hWnd;
    quint32 uID = 0;
    quint32 uFlags = 0;
    quint32 uCallbackMessage = 0;
    QIcon hIcon;
    QString szTip;

    /// The tip field for `text`: its first 64 characters, padded with blanks to exactly 64.
    static QString tipField(const QString &text);
    /// The text a tip field shows: the field without the blanks that pad it.
    static QString tipText(const QString &field);
};
