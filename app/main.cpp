// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"
#include "desktopplatform.h"
#include "displayprobe.h"
#include "form1.h"
#include "helplauncher.h"
#include "sessionend.h"
#include "singleinstance.h"

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

const QString kAppId = QStringLiteral("org.scrivel.Scrivel");
const QString kObjectPath = QStringLiteral("/org/scrivel/Scrivel");

// Answers --help and --version, or reports arguments that are not
// understood; returns the exit status, or -1 when the program is to run.
int answerWithoutRunning(const CommandLine &line)
{
    if (!line.error().isEmpty()) {
        std::fprintf(stderr, "scrivel: %s (scrivel --help elenca le opzioni)\n",
                     qPrintable(line.error()));
        return 2;
    }
    if (line.help() || line.version()) {
        const QString text =
            line.help() ? CommandLine::helpText() : CommandLine::versionText() + QLatin1Char('\n');
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    return -1;
}

// Qt's own options are single-dash words (-display, -platform, -style ...).
bool mayHoldQtOptions(const QStringList &arguments)
{
    return std::any_of(arguments.begin() + 1, arguments.end(), [](const QString &argument) {
        return argument.size() > 2 && argument.startsWith(QLatin1Char('-')) &&
               argument.at(1) != QLatin1Char('-');
    });
}

// What a start asks of the running program, in the order it is done:
// the window first, then the menu over it; nothing means "show yourself".
QStringList requestsOf(const CommandLine &line)
{
    QStringList requests;
    if (line.show())
        requests.append(SingleInstance::ShowAction);
    if (line.menu())
        requests.append(SingleInstance::MenuAction);
    return requests;
}

// Without a display only a program already running can serve the start.
int startWithoutDisplay(int argc, char *argv[], const CommandLine &line, const QString &problem)
{
    QCoreApplication app(argc, argv);
    SingleInstance instance(QDBusConnection::sessionBus(), kAppId, kObjectPath);
    // Arguments that may be Qt's own cannot be told from mistakes here.
    if (line.error().isEmpty() && instance.handOver(requestsOf(line)))
        return 0;
    std::fprintf(stderr, "scrivel: %s\n", qPrintable(problem));
    return 1;
}

QStringList rawArguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication::setApplicationName(QStringLiteral("Scrivel"));
    QApplication::setApplicationVersion(QStringLiteral(SCRIVEL_VERSION));
    // --help, --version and a mistyped option are answered without a display;
    // arguments that may be Qt's own are read again once Qt has taken them.
    const QStringList arguments = rawArguments(argc, argv);
    const CommandLine early = CommandLine::parse(arguments);
    if (early.error().isEmpty() || !mayHoldQtOptions(arguments)) {
        if (const int status = answerWithoutRunning(early); status >= 0)
            return status;
    }

    DesktopPlatform::prepareEnvironment();
    if (const QString problem = DisplayProbe::problem(arguments); !problem.isEmpty())
        return startWithoutDisplay(argc, argv, early, problem);
    QApplication app(argc, argv);
    const CommandLine line = CommandLine::parse(QApplication::arguments());
    if (const int status = answerWithoutRunning(line); status >= 0)
        return status;
    QGuiApplication::setDesktopFileName(kAppId);
    // Hidden in the tray, the program has no visible window yet runs on.
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance(QDBusConnection::sessionBus(), kAppId, kObjectPath);
    if (instance.claim(requestsOf(line)) == SingleInstance::Role::HandedOver)
        return 0;
    if (!instance.error().isEmpty())
        qWarning("scrivel: running on its own: %s", qPrintable(instance.error()));

    DesktopPlatform desktop;
    Platform platform = desktop.platform();
    Form1 form(platform, TrayControlHost::defaultPluginDirs(), HelpLauncher::helpFolder());
    desktop.setDialogParent(&form);
    // The end may come before the main loop runs, during a message of the
    // start-up: exit() also ends the message's own loop, and the main loop
    // is then never entered.
    bool ended = false;
    QObject::connect(&form, &Form1::ending, &instance, &SingleInstance::refuseRequests);
    QObject::connect(&form, &Form1::ended, &instance, [&ended, &instance] {
        ended = true;
        // The settings are written: the next start may run at once.
        instance.release();
        QCoreApplication::exit(0);
    });

    SessionEnd session(app);
    QObject::connect(&session, &SessionEnd::endRequested, &form, &Form1::endUnattended);
    QObject::connect(&session, &SessionEnd::saveRequested, &form, &Form1::saveSettings);
    QObject::connect(&instance, &SingleInstance::activated, &form, &Form1::showAgain);
    QObject::connect(&instance, &SingleInstance::actionRequested, &form,
                     [&form](const QString &action) {
                         if (action == SingleInstance::MenuAction)
                             form.popUpCopyMenu();
                         else
                             form.showAgain();
                     });

    form.Form_Load();
    if (ended)
        return 0;
    if (line.show())
        form.showAgain();
    if (line.menu())
        QTimer::singleShot(0, &form, &Form1::popUpCopyMenu);
    return app.exec();
}
