// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fakeclipboard.h"
#include "modalhost.h"
#include "notificationarea.h"
#include "platform.h"
#include "processlauncher.h"
#include "screenmetrics.h"
#include "scriptedmessagebox.h"
#include "settingsstore.h"

#include <QTemporaryDir>
#include <functional>
#include <memory>

// Runs modal dialogs through a test's callback instead of a nested loop.
class FakeModalHost : public ModalHost
{
public:
    // Gets the dialog, as shown, and returns its result. Without a callback
    // the dialog is rejected.
    std::function<int(QDialog &)> onShow;
    int shown = 0;
    int showModal(QDialog &dialog) override;
};

class FakeProcessLauncher : public ProcessLauncher
{
public:
    struct Start
    {
        QString program;
        QStringList arguments;
    };
    bool failing = false;
    QList<Start> starts;
    bool startDetached(const QString &program, const QStringList &arguments) override;
};

// A 96-dpi screen with a fixed work area.
class FakeScreenMetrics : public ScreenMetrics
{
public:
    QRect workArea{0, 0, 19200, 15000};
    QList<QRect> otherAreas;
    QRect workAreaTwips() const override { return workArea; }
    QList<QRect> allWorkAreasTwips() const override { return QList<QRect>{workArea} + otherAreas; }
    double twipsPerPixelX() const override { return 15.0; }
    double twipsPerPixelY() const override { return 15.0; }
    std::optional<QPoint> pointer = QPoint(0, 0);
    std::optional<QPoint> pointerPosition() const override { return pointer; }
};

// A notification area whose tray host comes and goes when the test says.
class FakeNotificationArea : public NotificationArea
{
public:
    bool available = true;
    bool isAvailable() const override { return available; }
    void setAvailable(bool now)
    {
        available = now;
        Q_EMIT availabilityChanged();
    }
};

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
    std::unique_ptr<SettingsStore> settings;

    Platform platform();
};
