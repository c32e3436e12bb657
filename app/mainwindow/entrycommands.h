// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <optional>

class ClipboardMonitor;
class HelpLauncher;
class HistoryStore;
class HistoryView;
class QWidget;
class SelectionButtons;
class TopmostBracket;
struct Platform;

/// The commands on history entries and on the system clipboard: copy back,
/// edit, delete, delete the checked entries, empty the history, merge the
/// checked entries, and view or empty the clipboard.
///
/// Deleting an entry whose content is still the clipboard's text empties the
/// clipboard first (asking where the command is interactive), since the
/// monitor would capture the text again at once. Every question and the
/// editor show inside the topmost bracket. When the clipboard cannot be read
/// or written, the user is told so and the history stays as it was.
///
/// A command started while another one still waits for an answer (a
/// question, the editor, a clipboard read) is ignored.
class EntryCommands
{
public:
    /// Where the history is emptied from; the question's second sentence
    /// and the availability check depend on it.
    enum class EmptyFrom { TrayMenu, ListMenu, Toolbar };

    struct Parts
    {
        Platform &platform;
        HistoryStore &store;
        HistoryView &List1;
        SelectionButtons &buttons;
        TopmostBracket &bracket;
        const ClipboardMonitor &monitor;
        HelpLauncher &help;
        QWidget &window; ///< parent of the editor
    };

    explicit EntryCommands(const Parts &parts);

    /// Puts the selected entry's content on the clipboard; with
    /// @p emptyFirst the clipboard is emptied of every format before.
    void copyBack(bool emptyFirst = false);
    /// Opens the editor on the selected entry.
    void editSelected();
    /// The delete-entry operation on the entry at @p index (-1: none). With
    /// @p ask the user is asked before the clipboard is emptied.
    void deleteEntry(int index, bool ask);
    /// The delete-entry operation on the selected entry, asking.
    void deleteSelected();
    /// Deletes every checked entry; the clipboard is emptied without asking
    /// when one of them holds its text.
    void deleteChecked();
    void emptyHistory(EmptyFrom from);
    /// Puts the names of the checked entries, in list order and with nothing
    /// between them, on the clipboard.
    void mergeChecked();
    /// Empties the clipboard of every format.
    void clearClipboard();
    /// Shows the clipboard's text, read only, in the editor.
    void viewClipboard();

    /// True while a command waits for an answer.
    bool isRunning() const { return m_running; }

    /// The first @p count characters of a UTF-8 text (all of it when
    /// shorter), never splitting a character made of two UTF-16 units.
    static QString firstCharacters(QByteArrayView utf8, qsizetype count);
    /// The clipboard preview of a question: at most 200 characters.
    static QString preview(const QByteArray &clipboardText);
    static QString deleteQuestion(const QString &preview);
    static QString emptyQuestion(EmptyFrom from, const QString &preview);
    static QString mergeMessage();

private:
    // The clipboard's text, in UTF-8.
    std::optional<QByteArray> readClipboard();
    void reportUnavailable();
    void reportUnavailableInBracket();
    // Asks the question built from the clipboard's current text; true on
    // Yes. A clipboard that cannot be read is reported and counts as no answer.
    bool confirm(const std::function<QString(const QByteArray &)> &question, int style,
                 int *answer = nullptr);
    // Removes the entry at index, emptying the clipboard first when it holds
    // the entry's content.
    void removeEntry(int index, bool ask, const QByteArray &clipboardText);

    Platform &m_platform;
    HistoryStore &m_store;
    HistoryView &m_list;
    SelectionButtons &m_buttons;
    TopmostBracket &m_bracket;
    const ClipboardMonitor &m_monitor;
    HelpLauncher &m_help;
    QWidget &m_window;
    bool m_running = false;
};
