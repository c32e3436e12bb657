// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopplatform.h"
#include "form1.h"
#include "helplauncher.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    DesktopPlatform::prepareEnvironment();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Scrivel"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.scrivel.Scrivel"));
    // Hidden in the tray, the program has no visible window yet runs on.
    QApplication::setQuitOnLastWindowClosed(false);

    DesktopPlatform desktop;
    Platform platform = desktop.platform();
    Form1 form(platform, TrayControlHost::defaultPluginDirs(), HelpLauncher::helpFolder());
    desktop.setDialogParent(&form);
    QObject::connect(&form, &Form1::ended, &app, &QApplication::quit, Qt::QueuedConnection);
    form.Form_Load();
    return app.exec();
}
