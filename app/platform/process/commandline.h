// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The program's command line: what a start asks for, or why it cannot be
// understood.
class CommandLine
{
public:
    // arguments: the program's name followed by its arguments.
    static CommandLine parse(const QStringList &arguments);

    // A one-line reason when the arguments are not understood; empty otherwise.
    const QString &error() const { return m_error; }
    bool help() const { return m_help; }
    bool version() const { return m_version; }
    // Bring the main window back.
    bool show() const { return m_show; }
    // Open the tray copy menu at the pointer.
    bool menu() const { return m_menu; }

    static QString helpText();
    // "Scrivel 5.0": the application's name and version.
    static QString versionText();

private:
    QString m_error;
    bool m_help = false;
    bool m_version = false;
    bool m_show = false;
    bool m_menu = false;
};
