// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakeplatform.h"

#include <QFile>

int FakeModalHost::showModal(QDialog &dialog)
{
    ++shown;
    return onShow ? onShow(dialog) : 0;
}

bool FakeProcessLauncher::startDetached(const QString &program, const QStringList &arguments)
{
    if (failing)
        return false;
    starts.append({program, arguments});
    return true;
}

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
    return Platform{clipboard, messages, modals, processes, screen, *settings, notificationArea};
}
