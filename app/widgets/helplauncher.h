// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class MessageBox;
class ProcessLauncher;

/// Opens the help pages in the desktop's opener, at the contents or at one
/// of the numbered topics, without ever waiting for the opener.
class HelpLauncher
{
public:
    /// Topic numbers: 0 is the contents page.
    enum Topic { Contents = 0, EntryEditor = 1, Options = 2, Credits = 3 };

    /// @p helpFolder is the folder that holds the pages (see helpFolder()).
    HelpLauncher(ProcessLauncher &processes, MessageBox &messages, const QString &helpFolder);

    /// Starts a new opener process on the page of @p topic and returns at
    /// once. A topic outside 0..3 opens the contents. When the opener cannot
    /// be started, the failure message is shown and nothing else happens.
    void openHelp(int topic);

    /// Absolute path of the page of @p topic (the contents for any topic
    /// outside 1..3). The file itself is not checked: the opener reports a
    /// missing page on its own.
    QString pagePath(int topic) const;

    /// The program that shows the pages.
    static QString openerProgram();
    /// The message shown when the opener cannot be started.
    static QString failureMessage();
    // The same message for a help page that is not there.
    static QString missingPageMessage(const QString &page);

    /// The help folder of the running program (see helpFolderFor()).
    static QString helpFolder();
    /// The folder "guida" beside the program in @p programDir when it exists,
    /// else the installed data folder's "guida" when that exists, else the
    /// one beside the program.
    static QString helpFolderFor(const QString &programDir);

private:
    ProcessLauncher &m_processes;
    MessageBox &m_messages;
    QString m_folder;
};
