// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class Clipboard;
class MemoryStatus;
class MessageBox;
class ModalHost;
class NotificationArea;
class ProcessLauncher;
class ScreenMetrics;
class SettingsStore;

// Everything the windows need of the desktop, passed in so that tests can
// put fakes in its place.
struct Platform
{
    Clipboard &clipboard;
    MessageBox &messages;
    ModalHost &modals;
    ProcessLauncher &processes;
    ScreenMetrics &screen;
    SettingsStore &settings;
    NotificationArea &notificationArea;
    MemoryStatus &memory;
};
