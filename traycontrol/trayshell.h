// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct NotifyIconData;

/// The desktop's notification area: icons are added, modified and deleted by (window, id).
///
/// Once added with the message flag, the icon's mouse actions reach its window as a
/// WindowMessageEvent carrying the callback message, the icon id and the mouse message.
class TrayShell
{
public:
    virtual ~TrayShell() = default;
    /// Adds an icon; false when an icon with the same window and id already exists.
    virtual bool add(const NotifyIconData &data) = 0;
    /// Changes the fields named by the flags; false when there is no such icon.
    virtual bool modify(const NotifyIconData &data) = 0;
    /// Removes the icon; false when there is no such icon.
    virtual bool remove(const NotifyIconData &data) = 0;
};
