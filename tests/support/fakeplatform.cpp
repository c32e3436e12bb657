// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakeplatform.h"

#include <QFile>

FakePlatform::FakePlatform() : settings(std::make_unique<SettingsStore>(settingsPath()))
{
    // The private folder doubles as the help folder.
    for (const char *page : {"index.html", "1.html", "2.html", "3.html"}) {
        QFile file(dir.filePath(QLatin1String(page)));
        file.open(QIODevice::WriteOnly);
    }
}

void FakePlatform::reopenSettings()
{
    settings->flush();
    settings = std::make_unique<SettingsStore>(settingsPath());
}

Platform FakePlatform::platform()
{
    return Platform{clipboard, messages,  modals,           processes,
                    screen,    *settings, notificationArea, memory};
}
