// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopplatform.h"

#include "clipboard.h"
#include "clipboardfactory.h"

void DesktopPlatform::prepareEnvironment()
{
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") &&
        !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

DesktopPlatform::DesktopPlatform()
    : m_clipboard(createSystemClipboard()), m_settings(SettingsStore::userFilePath())
{}

DesktopPlatform::~DesktopPlatform() = default;

Platform DesktopPlatform::platform()
{
    return Platform{*m_clipboard, m_messages, m_modals,           m_processes,
                    m_screen,     m_settings, m_notificationArea, m_memory};
}
