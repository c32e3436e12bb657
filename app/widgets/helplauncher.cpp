// SPDX-License-Identifier: GPL-3.0-or-later
#include "helplauncher.h"

#include "messagebox.h"
#include "processlauncher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString folderName()
{
    return QStringLiteral("guida");
}

} // namespace

HelpLauncher::HelpLauncher(ProcessLauncher &processes, MessageBox &messages,
                           const QString &helpFolder)
    : m_processes(processes), m_messages(messages),
      // Absolute, so the page argument always starts with "/" and the opener
      // can never mistake it for one of its options.
      m_folder(QDir(helpFolder).absolutePath())
{}

void HelpLauncher::openHelp(int topic)
{
    const QString page = pagePath(topic);
    // The opener would show its own error, or nothing, for a page that is gone.
    if (!QFileInfo(page).isFile()) {
        m_messages.MsgBox(missingPageMessage(page), MessageBox::Critical | MessageBox::OkOnly);
        return;
    }
    if (!m_processes.startDetached(openerProgram(), {page}))
        m_messages.MsgBox(failureMessage(), MessageBox::Critical | MessageBox::OkOnly);
}

QString HelpLauncher::missingPageMessage(const QString &page)
{
    return QStringLiteral("Impossibile trovare %1; controllare di aver installato la guida "
                          "(pacchetto scrivel) e di non averla rimossa!\r\n"
                          "Se non è installata, reinstallare Scrivel.")
        .arg(page);
}

QString HelpLauncher::pagePath(int topic) const
{
    const bool numbered = topic >= EntryEditor && topic <= Credits;
    const QString page =
        numbered ? QString::number(topic) + QStringLiteral(".html") : QStringLiteral("index.html");
    return m_folder + QLatin1Char('/') + page;
}

QString HelpLauncher::openerProgram()
{
    return QStringLiteral("xdg-open");
}

QString HelpLauncher::failureMessage()
{
    return QStringLiteral("Impossibile trovare xdg-open; controllare di averlo installato "
                          "(pacchetto xdg-utils) e di non averlo rimosso!\r\n"
                          "Se non è installato, scaricarlo dal sito "
                          "https://www.freedesktop.org/wiki/Software/xdg-utils/");
}

QString HelpLauncher::helpFolder()
{
    return helpFolderFor(QCoreApplication::applicationDirPath());
}

QString HelpLauncher::helpFolderFor(const QString &programDir)
{
    const QDir dir(programDir);
    const QString beside = QDir::cleanPath(dir.absoluteFilePath(folderName()));
    if (QFileInfo(beside).isDir())
        return beside;
    const QString installed = QDir::cleanPath(dir.absoluteFilePath(
        QStringLiteral(SCRIVEL_DATA_RELATIVE_DIR) + QLatin1Char('/') + folderName()));
    if (QFileInfo(installed).isDir())
        return installed;
    return beside;
}
