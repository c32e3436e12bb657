// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

QString dashed(const QString &name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption show(QStringLiteral("show"));
    const QCommandLineOption menu(QStringLiteral("menu"));

    QCommandLineParser parser;
    parser.addOptions({help, version, show, menu});

    CommandLine line;
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        line.m_error =
            unknown.isEmpty()
                ? parser.errorText()
                : QStringLiteral("opzione sconosciuta «%1»").arg(dashed(unknown.first()));
    } else if (!parser.positionalArguments().isEmpty()) {
        line.m_error =
            QStringLiteral("argomento inatteso «%1»").arg(parser.positionalArguments().first());
    }
    if (!line.m_error.isEmpty())
        return line;
    line.m_help = parser.isSet(help);
    line.m_version = parser.isSet(version);
    line.m_show = parser.isSet(show);
    line.m_menu = parser.isSet(menu);
    return line;
}

QString CommandLine::helpText()
{
    return QStringLiteral(
        "Uso: scrivel [--show] [--menu]\n"
        "Cronologia dei testi copiati negli appunti.\n"
        "\n"
        "Opzioni:\n"
        "  --show       mostra la finestra principale (nello Scrivel già in esecuzione,\n"
        "               se ce n'è uno)\n"
        "  --menu       apre il menu di copia alla posizione del puntatore, nello Scrivel\n"
        "               in esecuzione (se non ce n'è uno, prima lo avvia)\n"
        "  -h, --help   stampa questo elenco ed esce\n"
        "  --version    stampa il nome e la versione ed esce\n");
}

QString CommandLine::versionText()
{
    return QCoreApplication::applicationName() + QLatin1Char(' ') +
           QCoreApplication::applicationVersion();
}
