// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform.h"
#include "procmemorystatus.h"
#include "qtmessagebox.h"
#include "qtmodalhost.h"
#include "qtprocesslauncher.h"
#include "qtscreenmetrics.h"
#include "settingsstore.h"
#include "x11notificationarea.h"

#include <memory>

// The real desktop behind every seam of Platform.
class DesktopPlatform
{
public:
    // Chooses the windowing platform before the application object exists:
    // under Wayland the program runs on XWayland, where the bar can dock and
    // windows be placed; the clipboard goes through data-control where the
    // compositor offers it.
    static void prepareEnvironment();

    DesktopPlatform();
    ~DesktopPlatform();

    Platform platform();
    // Message boxes are centred over this window.
    void setDialogParent(QWidget *parent) { m_messages.setParent(parent); }

private:
    std::unique_ptr<Clipboard> m_clipboard;
    QtMessageBox m_messages;
    QtModalHost m_modals;
    QtProcessLauncher m_processes;
    QtScreenMetrics m_screen;
    SettingsStore m_settings;
    X11NotificationArea m_notificationArea;
    ProcMemoryStatus m_memory;
};
