// SPDX-License-Identifier: GPL-3.0-or-later
#include "contentbox.h"
#include "entrycommands.h"
#include "entryfixture.h"
#include "form2.h"
#include "namebox.h"
#include "selectedrow.h"

#include <QMenu>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>

// Random sequences of what a user and other programs do with the history,
// run on the main window and on a small reference model side by side. After
// every step the history store must agree with the model and keep its own
// invariants.
namespace {

struct Entry
{
    QString name;
    QString content;
    bool checked = false;
    QString caption;
    bool operator==(const Entry &) const = default;
};

struct Model
{
    QList<Entry> entries;
    QString clipboard;
    int selected = -1;
    bool buttons = false;
    bool listEnabled = true;
    // Questions the program is expected to have asked so far.
    qsizetype questions = 0;
    bool operator==(const Model &) const = default;

    int indexOf(const QString &content) const
    {
        for (int i = 0; i < entries.size(); ++i) {
            if (entries[i].content == content)
                return i;
        }
        return -1;
    }
    void capture()
    {
        if (clipboard.isEmpty() || indexOf(clipboard) != -1)
            return;
        const QString caption =
            clipboard.size() <= HistoryStore::kCaptionLength
                ? clipboard
                : clipboard.left(HistoryStore::kCaptionLength) + QLatin1String("...");
        entries.append({clipboard, clipboard, false, caption});
        if (selected != -1)
            buttons = true;
    }
    void remove(int index)
    {
        entries.removeAt(index);
        selected = -1;
        if (entries.isEmpty())
            buttons = false;
    }
};

class Sequence
{
public:
    Sequence(EntryFixture &f, quint32 seed) : m_f(f), m_rng(seed) {}

    // Runs `steps` random steps; returns what went wrong, or nothing.
    QString run(int steps)
    {
        reset();
        for (int step = 0; step < steps; ++step) {
            randomStep();
            const QString problem = check();
            if (!problem.isEmpty())
                return m_log.join(QLatin1Char('\n')) + QStringLiteral("\n=> ") + problem;
        }
        return {};
    }

private:
    int pick(int bound) { return int(m_rng.bounded(bound)); }
    bool coin() { return pick(2) == 0; }
    int randomRow() { return m.entries.isEmpty() ? -1 : pick(int(m.entries.size())); }

    QString randomText()
    {
        static const QStringList pool{"a",
                                      "A",
                                      "b",
                                      "ab",
                                      "Ab",
                                      "Text1",
                                      "Text2",
                                      "riga\r\ndue",
                                      "più",
                                      QString(60, QLatin1Char('x')),
                                      QString(61, QLatin1Char('x')),
                                      QString(75, QLatin1Char('y')),
                                      ""};
        if (coin())
            return pool.at(pick(int(pool.size())));
        static const QString alphabet = QStringLiteral("aAbB \nè");
        QString text;
        const int length = pick(12);
        for (int i = 0; i < length; ++i)
            text += alphabet.at(pick(int(alphabet.size())));
        return text;
    }

    void log(const QString &what) { m_log << what; }

    void reset()
    {
        m_log.clear();
        m_f.store().clear();
        m_f.clipboard().setUnavailable(false);
        m_f.clipboard().copy(QString());
        m_f.form->Timer1_Timer(); // the list answers again
        m_f.form->Toolbar1->setSelectionButtonsEnabled(false);
        m = Model();
        m.questions = m_f.messages().calls.size();
    }

    void randomStep()
    {
        switch (pick(14)) {
        case 0:
        case 1:
        case 2:
            return capture(randomText());
        case 3:
            return tick();
        case 4:
            return select(coin() ? randomRow() : -1);
        case 5:
        case 6:
            return toggleCheck(randomRow());
        case 7:
            return edit();
        case 8:
            return deleteSelected();
        case 9:
            return deleteChecked();
        case 10:
            return merge();
        case 11:
            return emptyHistory();
        case 12:
            return copyBack();
        default:
            return clipboardTrouble();
        }
    }

    void capture(const QString &text)
    {
        log(QStringLiteral("copy %1 and tick").arg(quoted(text)));
        m_f.clipboard().copy(text);
        m.clipboard = text;
        tickBoth();
    }

    void tick()
    {
        log(QStringLiteral("tick"));
        tickBoth();
    }

    void tickBoth()
    {
        m_f.form->Timer1_Timer();
        m.listEnabled = true;
        m.capture();
    }

    void select(int row)
    {
        log(QStringLiteral("select %1").arg(row));
        m_f.list().setCurrentRow(row);
        m.selected = row;
        if (row != -1)
            m.buttons = true;
    }

    void toggleCheck(int row)
    {
        if (row == -1)
            return;
        log(QStringLiteral("toggle check %1").arg(row));
        // As a click on the check box does it: through the list's model.
        const QModelIndex line = m_f.list().model()->index(row, 0);
        m_f.list().model()->setData(
            line, line.data(Qt::CheckStateRole) == Qt::Checked ? Qt::Unchecked : Qt::Checked,
            Qt::CheckStateRole);
        m.entries[row].checked = !m.entries[row].checked;
    }

    void edit()
    {
        const QString newName = randomText();
        const QString newContent = randomText();
        const bool yes = coin();
        log(QStringLiteral("edit %1: name %2, content %3, %4")
                .arg(m.selected)
                .arg(quoted(newName), quoted(newContent), yes ? "Yes" : "No"));
        if (m.selected == -1) {
            m_f.form->visualizza_Click();
            return;
        }
        Entry &entry = m.entries[m.selected];
        // Both boxes start with their own initial texts; every real change counts.
        int changes = int(entry.name != QLatin1String("Text2")) +
                      int(entry.content != QLatin1String("Text1")) + int(newName != entry.name) +
                      int(newContent != entry.content);
        QString finalName = newName;
        if (newName.isEmpty()) {
            ++m.questions; // "È consigliabile specificare un nome..."
            m_f.messages().answer({MessageBox::Ok});
            finalName = QStringLiteral("nome");
            ++changes;
        }
        if (changes != 2) {
            ++m.questions;
            m_f.messages().answer({yes ? MessageBox::Yes : MessageBox::No});
        }

        m_f.fake.modals.onShow = [&](QDialog &dialog) {
            auto &editor = dynamic_cast<Form2 &>(dialog);
            editor.Text2->setText(newName);
            editor.Text1->setText(newContent);
            editor.Command1->click();
            if (editor.Text2->text().isEmpty()) { // refused: give it a name
                editor.Text2->setText(QStringLiteral("nome"));
                editor.Command1->click();
            }
            return 0;
        };
        m_f.form->visualizza_Click();
        m_f.fake.modals.onShow = nullptr;
        if (changes != 2 && yes)
            entry = {finalName, newContent, entry.checked, finalName};
    }

    void deleteSelected()
    {
        const bool yes = coin();
        const int via = pick(3);
        log(QStringLiteral("delete selected %1 via %2, %3")
                .arg(m.selected)
                .arg(via)
                .arg(yes ? "Yes" : "No"));
        const bool asks = m.selected != -1 && m.entries[m.selected].content == m.clipboard;
        if (asks)
            m_f.messages().answer({yes ? MessageBox::Yes : MessageBox::No});
        if (via == 0)
            m_f.form->elimina_Click();
        else if (via == 1)
            m_f.form->Toolbar1_ButtonClick(QStringLiteral("Elim"));
        else
            m_f.form->List1_KeyPress(4);
        if (m.selected == -1)
            return;
        if (asks) {
            ++m.questions;
            if (!yes)
                return;
            m.clipboard.clear();
        }
        m.remove(m.selected);
    }

    void deleteChecked()
    {
        log(QStringLiteral("delete checked"));
        m_f.form->mnuEliminaSpuntati_Click();
        // An unchecked selected line stays selected, where it moved to.
        int kept = m.selected != -1 && !m.entries[m.selected].checked ? m.selected : -1;
        for (int i = int(m.entries.size()) - 1; i >= 0; --i) {
            if (!m.entries[i].checked)
                continue;
            if (m.entries[i].content == m.clipboard)
                m.clipboard.clear();
            m.remove(i);
            if (i < kept)
                --kept;
        }
        if (kept != -1)
            m.selected = kept;
    }

    void merge()
    {
        log(QStringLiteral("merge"));
        m_f.form->mnuFondi_Click();
        QString merged;
        for (const Entry &entry : std::as_const(m.entries)) {
            if (entry.checked)
                merged += entry.name;
        }
        m.clipboard = merged;
    }

    void emptyHistory()
    {
        const int via = pick(3);
        const int answer = std::array{MessageBox::Yes, MessageBox::No, MessageBox::Cancel}[pick(3)];
        log(QStringLiteral("empty history via %1, answer %2").arg(via).arg(answer));
        const bool refused = via != 1 && !m.listEnabled;
        const bool asks = !refused && !m.clipboard.isEmpty();
        if (asks)
            m_f.messages().answer({answer});
        if (via == 0)
            m_f.form->mnuSvLP_Click();
        else if (via == 1)
            m_f.form->eliminatutti_Click();
        else
            m_f.form->Toolbar1_ButtonClick(QStringLiteral("ElimT"));
        if (refused) {
            ++m.questions; // the unavailability warning
            return;
        }
        if (asks) {
            ++m.questions;
            if (answer == MessageBox::Cancel)
                return;
            if (answer == MessageBox::Yes)
                m.clipboard.clear();
        }
        m.entries.clear();
        m.selected = -1;
        m.buttons = false;
    }

    void copyBack()
    {
        const bool doubleClick = coin();
        log(QStringLiteral("copy back %1%2")
                .arg(m.selected)
                .arg(doubleClick ? " by double-click" : ""));
        if (doubleClick)
            m_f.form->List1_DblClick();
        else
            m_f.form->List1_KeyPress(3);
        if (m.selected == -1)
            return;
        m.clipboard = m.entries[m.selected].content;
        if (doubleClick)
            m.buttons = true;
    }

    void clipboardTrouble()
    {
        if (coin()) {
            log(QStringLiteral("empty the clipboard"));
            m_f.form->svoia_Click();
            m.clipboard.clear();
            return;
        }
        log(QStringLiteral("a tick while the clipboard does not answer"));
        m_f.clipboard().setUnavailable(true);
        m_f.form->Timer1_Timer();
        m_f.clipboard().setUnavailable(false);
        m.listEnabled = false;
    }

    static QString quoted(const QString &text)
    {
        QString shown = text.left(20);
        shown.replace(QLatin1Char('\n'), QLatin1String("\\n"));
        shown.replace(QLatin1Char('\r'), QLatin1String("\\r"));
        return QLatin1Char('"') + shown + (text.size() > 20 ? "...\"" : "\"");
    }

    // Everything the model tracks, as one text, so that a difference shows whole.
    static QString describe(const Model &model)
    {
        QStringList lines;
        for (const Entry &e : model.entries)
            lines << QStringLiteral("%1 %2 %3 %4 (%5 characters)")
                         .arg(quoted(e.name), quoted(e.content), e.checked ? "[x]" : "[ ]",
                              quoted(e.caption))
                         .arg(e.caption.size());
        lines << QStringLiteral("clipboard %1, selected %2, buttons %3, list %4, messages %5")
                     .arg(quoted(model.clipboard))
                     .arg(model.selected)
                     .arg(model.buttons)
                     .arg(model.listEnabled)
                     .arg(model.questions);
        return lines.join(QLatin1Char('\n'));
    }

    Model observed()
    {
        HistoryStore &store = m_f.store();
        Model seen;
        for (int i = 0; i < store.count(); ++i)
            seen.entries.append({store.name(i), store.readContent(i), store.isChecked(i),
                                 m_f.form->trayMenu().mnulista(i + 1)->text()});
        seen.clipboard = m_f.clipboard().text();
        seen.selected = selectedRow(m_f.list());
        seen.buttons = m_f.selectionButtons() == QList<bool>{true, true};
        seen.listEnabled = m_f.list().isEnabled();
        seen.questions = m_f.messages().calls.size();
        return seen;
    }

    QString check()
    {
        const Model seen = observed();
        if (!(seen == m))
            return QStringLiteral("the program holds\n%1\nthe model holds\n%2")
                .arg(describe(seen), describe(m));
        // The store's own invariants.
        HistoryStore &store = m_f.store();
        const TrayCopyMenu &tray = m_f.form->trayMenu();
        const QList<QAction *> items = m_f.menus().mnucdLista->actions();
        const qsizetype trayItems =
            items.indexOf(m_f.menus().separ) - items.indexOf(tray.mnulista(0)) - 1;
        if (trayItems != store.count() || m_f.list().count() != store.count())
            return QStringLiteral("%1 tray items and %2 lines for %3 entries")
                .arg(trayItems)
                .arg(m_f.list().count())
                .arg(store.count());
        if (tray.mnulista(0)->isVisible() || tray.mnulista(0)->isEnabled())
            return QStringLiteral("the placeholder tray item shows");
        for (int i = 0; i < store.count(); ++i) {
            if (!store.containsText(store.contentBytes(i)) ||
                items[i + items.indexOf(tray.mnulista(0)) + 1] != tray.mnulista(i + 1))
                return QStringLiteral("entry %1 is not found or its tray item is out of place")
                    .arg(i);
        }
        if (store.containsText(QByteArrayLiteral("mai copiato")))
            return QStringLiteral("the store finds a text no entry holds");
        if (m_f.form->entries().isRunning())
            return QStringLiteral("a command did not finish");
        return {};
    }

    EntryFixture &m_f;
    QRandomGenerator m_rng;
    Model m;
    QStringList m_log;
};

} // namespace

class TestHistoryModel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void randomSequences();
};

void TestHistoryModel::randomSequences()
{
    const quint32 firstSeed = qEnvironmentVariableIsSet("SCRIVEL_MODEL_SEED")
                                  ? quint32(qEnvironmentVariableIntValue("SCRIVEL_MODEL_SEED"))
                                  : 20261207u;
    const int sequences = qEnvironmentVariableIsSet("SCRIVEL_MODEL_SEQUENCES")
                              ? qEnvironmentVariableIntValue("SCRIVEL_MODEL_SEQUENCES")
                              : 2000;
    EntryFixture f;
    for (int i = 0; i < sequences; ++i) {
        const quint32 seed = firstSeed + quint32(i);
        const QString problem = Sequence(f, seed).run(25);
        if (!problem.isEmpty())
            QFAIL(qPrintable(QStringLiteral("sequence with seed %1:\n%2").arg(seed).arg(problem)));
    }
}

QTEST_MAIN(TestHistoryModel)
#include "tst_historymodel.moc"
