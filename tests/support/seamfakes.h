// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "memorystatus.h"
#include "modalhost.h"
#include "notificationarea.h"
#include "processlauncher.h"
#include "screenmetrics.h"

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

// Small fakes of the platform seams, for tests of any layer.

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
    bool tiles = false;
    bool tilesWindows() const override { return tiles; }
};

// A notification area whose tray host comes and goes when the test says.
class FakeNotificationArea : public NotificationArea
{
public:
    bool available = true;
    bool hover = true;
    bool isAvailable() const override { return available; }
    bool reportsHover() const override { return hover; }
    void setAvailable(bool now)
    {
        available = now;
        Q_EMIT availabilityChanged();
    }
};

// Fixed memory figures; counts the requests to hand freed memory back.
class FakeMemoryStatus : public MemoryStatus
{
public:
    MemoryFigures figures;
    int releases = 0;
    MemoryFigures read() override { return figures; }
    void releaseFreedMemory() override { ++releases; }
};
