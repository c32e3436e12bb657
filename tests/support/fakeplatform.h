// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fakeclipboard.h"
#include "platform.h"
#include "scriptedmessagebox.h"
#include "seamfakes.h"
#include "settingsstore.h"

#include <QTemporaryDir>
#include <memory>

// Every platform seam faked, with a settings file in a private folder.
class FakePlatform
{
public:
    FakePlatform();

    QString settingsPath() const { return dir.filePath(QStringLiteral("QVScrivel.ini")); }
    // A fresh store on the same file, as the next run of the program sees it.
    void reopenSettings();
    // Holds the help pages too.
    QString helpFolder() const { return dir.path(); }

    QTemporaryDir dir;
    FakeClipboard clipboard;
    ScriptedMessageBox messages;
    FakeModalHost modals;
    FakeProcessLauncher processes;
    FakeScreenMetrics screen;
    FakeNotificationArea notificationArea;
    FakeMemoryStatus memory;
    std::unique_ptr<SettingsStore> settings;

    Platform platform();
};
