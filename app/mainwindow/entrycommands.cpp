// SPDX-License-Identifier: GPL-3.0-or-later
#include "entrycommands.h"

#include "clipboard.h"
#include "clipboardmonitor.h"
#include "clipboardwriter.h"
#include "form2.h"
#include "historystore.h"
#include "historyview.h"
#include "messagebox.h"
#include "platform.h"
#include "selectedrow.h"
#include "selectionbuttons.h"
#include "topmostbracket.h"
#include "utf8text.h"

#include <algorithm>

namespace {

constexpr QChar CR = QChar(13);
constexpr qsizetype kPreviewLength = 200;

QString previewLead(const QString &preview)
{
    return QStringLiteral("Parte iniziale del contenuto degli Scrivel di sistema: ") + CR +
           preview + CR + CR;
}

// Marks a command as running for its scope: none starts while another one
// still waits for an answer.
class CommandGuard
{
public:
    explicit CommandGuard(bool &running) : m_running(running), m_entered(!running)
    {
        m_running = true;
    }
    ~CommandGuard()
    {
        if (m_entered)
            m_running = false;
    }
    CommandGuard(const CommandGuard &) = delete;
    CommandGuard &operator=(const CommandGuard &) = delete;
    explicit operator bool() const { return m_entered; }

private:
    bool &m_running;
    const bool m_entered;
};

} // namespace

EntryCommands::EntryCommands(const Parts &parts)
    : m_platform(parts.platform), m_store(parts.store), m_list(parts.List1),
      m_buttons(parts.buttons), m_bracket(parts.bracket), m_monitor(parts.monitor),
      m_help(parts.help), m_window(parts.window)
{}

QString EntryCommands::firstCharacters(QByteArrayView utf8, qsizetype count)
{
    count = std::max<qsizetype>(count, 0);
    const QString text = Utf8Text::left(utf8, count + 1);
    qsizetype length = std::min(count, text.size());
    if (length > 0 && length < text.size() && text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length);
}

QString EntryCommands::preview(const QByteArray &clipboardText)
{
    return firstCharacters(clipboardText, kPreviewLength);
}

QString EntryCommands::deleteQuestion(const QString &preview)
{
    return QStringLiteral("Affinché si possa eliminare questo elemento della lista occorre "
                          "svuotare gli Scrivel di sistema.") +
           CR + CR + previewLead(preview) + QStringLiteral("Continuare?");
}

QString EntryCommands::emptyQuestion(EmptyFrom from, const QString &preview)
{
    const QString second =
        QStringLiteral("Se non si desidera svuotare gli Scrivel di sistema, nella lista resterà ") +
        (from == EmptyFrom::ListMenu ? QStringLiteral("un solo elemento.")
                                     : QStringLiteral("un elemento."));
    return QStringLiteral("Affinché si possano eliminare tutti gli elementi della lista occorre "
                          "svuotare gli Scrivel di sistema.") +
           CR + CR + second + CR + CR + previewLead(preview) +
           QStringLiteral("Svuotare gli Scrivel di sistema?");
}

QString EntryCommands::mergeMessage()
{
    return QStringLiteral("Il risultato della fusione si trova negli Scrivel di sistema");
}

std::optional<QByteArray> EntryCommands::readClipboard()
{
    const Clipboard::Reading reading = m_platform.clipboard.readNow();
    if (reading.status != Clipboard::Status::Ready)
        return std::nullopt;
    return reading.text;
}

void EntryCommands::reportUnavailable()
{
    m_bracket.msgBox(ClipboardWriter::unavailableMessage(), MessageBox::Exclamation);
}

void EntryCommands::reportUnavailableInBracket()
{
    m_platform.messages.MsgBox(ClipboardWriter::unavailableMessage(), MessageBox::Exclamation);
}

bool EntryCommands::confirm(const std::function<QString(const QByteArray &)> &question, int style,
                            int *answer)
{
    // The preview shows the clipboard as it is when the question is asked.
    const std::optional<QByteArray> now = readClipboard();
    if (!now) {
        reportUnavailableInBracket();
        return false;
    }
    const int result = m_platform.messages.MsgBox(question(*now), style);
    if (answer)
        *answer = result;
    return result == MessageBox::Yes;
}

void EntryCommands::copyBack(bool emptyFirst)
{
    const CommandGuard command(m_running);
    if (!command)
        return;
    const int index = selectedRow(m_list);
    if (index < 0 || index >= m_store.count())
        return;
    if (!ClipboardWriter::copy(m_platform.clipboard, m_store.contentBytes(index), emptyFirst))
        reportUnavailable();
}

void EntryCommands::editSelected()
{
    const CommandGuard command(m_running);
    if (!command)
        return;
    const int index = selectedRow(m_list);
    if (index < 0 || index >= m_store.count())
        return;
    Form2 editor(m_platform, m_help, m_store, m_list, &m_window);
    editor.fillForEditing(m_store.readContent(index));
    m_bracket.showModal(editor);
}

void EntryCommands::deleteSelected()
{
    deleteEntry(selectedRow(m_list), true);
}

void EntryCommands::deleteEntry(int index, bool ask)
{
    const CommandGuard command(m_running);
    if (!command || index < 0 || index >= m_store.count())
        return;
    const std::optional<QByteArray> text = readClipboard();
    if (!text) {
        reportUnavailable();
        return;
    }
    removeEntry(index, ask, *text);
}

void EntryCommands::removeEntry(int index, bool ask, const QByteArray &clipboardText)
{
    const bool holdsClipboard = clipboardText == m_store.contentBytes(index);
    bool wasChecked = false;
    if (holdsClipboard) {
        wasChecked = m_bracket.open();
        if (ask && !confirm([](const QByteArray &text) { return deleteQuestion(preview(text)); },
                            MessageBox::YesNo + MessageBox::Question)) {
            m_bracket.close(wasChecked);
            return;
        }
        if (!m_platform.clipboard.setText({})) {
            reportUnavailableInBracket();
            m_bracket.close(wasChecked);
            return;
        }
    }
    // Captures while the question was open only ever add entries at the end.
    if (index < m_store.count())
        m_store.removeEntryAt(index);
    if (holdsClipboard)
        m_bracket.close(wasChecked);
}

void EntryCommands::deleteChecked()
{
    const CommandGuard command(m_running);
    if (!command)
        return;
    const QList<int> checked = m_store.checkedRows();
    if (checked.isEmpty())
        return;
    const std::optional<QByteArray> text = readClipboard();
    if (!text) {
        reportUnavailable();
        return;
    }
    // The clipboard is emptied, at most once, before anything is removed, so
    // that a clipboard that cannot be written leaves every entry in place.
    const bool holdsClipboard = std::any_of(
        checked.begin(), checked.end(), [&](int i) { return m_store.contentBytes(i) == *text; });
    if (holdsClipboard) {
        const bool wasChecked = m_bracket.open();
        const bool emptied = m_platform.clipboard.setText({});
        if (!emptied)
            reportUnavailableInBracket();
        m_bracket.close(wasChecked);
        if (!emptied)
            return;
    }
    // An unchecked line the user had selected stays selected.
    const int selected = selectedRow(m_list);
    // From the last one down, each removal moves the fewest entries.
    for (auto it = checked.crbegin(); it != checked.crend(); ++it)
        m_store.removeEntryAt(*it);
    if (selected >= 0 && !checked.contains(selected)) {
        const auto removedAbove = std::count_if(checked.begin(), checked.end(),
                                                [selected](int i) { return i < selected; });
        m_list.setCurrentRow(selected - int(removedAbove));
    }
}

void EntryCommands::emptyHistory(EmptyFrom from)
{
    const CommandGuard command(m_running);
    if (!command)
        return;
    if (from != EmptyFrom::ListMenu && !m_list.isEnabled()) {
        reportUnavailable();
        return;
    }
    const std::optional<QByteArray> text = readClipboard();
    if (!text) {
        reportUnavailable();
        return;
    }
    const bool asking = !text->isEmpty();
    bool wasChecked = false;
    if (asking) {
        wasChecked = m_bracket.open();
        int answer = MessageBox::Cancel;
        confirm([from](const QByteArray &now) { return emptyQuestion(from, preview(now)); },
                MessageBox::YesNoCancel + MessageBox::Question, &answer);
        if (answer == MessageBox::Yes && !m_platform.clipboard.setText({})) {
            reportUnavailableInBracket();
            answer = MessageBox::Cancel;
        }
        if (answer != MessageBox::Yes && answer != MessageBox::No) {
            m_bracket.close(wasChecked);
            return;
        }
    }
    m_store.clear();
    m_buttons.setSelectionButtonsEnabled(false);
    if (asking)
        m_bracket.close(wasChecked);
}

void EntryCommands::mergeChecked()
{
    const CommandGuard command(m_running);
    if (!command)
        return;
    QByteArray merged;
    for (const int i : m_store.checkedRows())
        merged += m_store.nameBytes(i);
    if (!ClipboardWriter::copy(m_platform.clipboard, merged, false)) {
        reportUnavailable();
        return;
    }
    if (m_monitor.interval() == 0)
        m_bracket.msgBox(mergeMessage(), MessageBox::Information);
}

void EntryCommands::clearClipboard()
{
    const CommandGuard command(m_running);
    if (!command)
        return;
    if (!m_platform.clipboard.clear())
        reportUnavailable();
}

void EntryCommands::viewClipboard()
{
    const CommandGuard command(m_running);
    if (!command)
        return;
    const std::optional<QByteArray> text = readClipboard();
    if (!text) {
        reportUnavailable();
        return;
    }
    Form2 viewer(m_platform, m_help, m_store, m_list, &m_window);
    viewer.fillForClipboardView(Utf8Text::toString(*text));
    m_bracket.showModal(viewer);
}
