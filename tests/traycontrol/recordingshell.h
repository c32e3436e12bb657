// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notifyicondata.h"
#include "trayshell.h"

#include <QList>
#include <memory>

// One call made to the notification area.
struct ShellCall
{
    enum Command { Add = 0, Modify = 1, Delete = 2 };
    Command command;
    NotifyIconData data;
    const QObject *window; // the window as it was at the call
};

// A notification area that records every call into a list the test keeps, so the record
// outlives the control that owns the shell.
class RecordingShell : public TrayShell
{
public:
    explicit RecordingShell(std::shared_ptr<QList<ShellCall>> calls) : m_calls(std::move(calls)) {}

    bool add(const NotifyIconData &data) override { return record(ShellCall::Add, data); }
    bool modify(const NotifyIconData &data) override { return record(ShellCall::Modify, data); }
    bool remove(const NotifyIconData &data) override { return record(ShellCall::Delete, data); }

private:
    bool record(ShellCall::Command command, const NotifyIconData &data)
    {
        m_calls->append({command, data, data.hWnd.data()});
        return true;
    }

    std::shared_ptr<QList<ShellCall>> m_calls;
};
