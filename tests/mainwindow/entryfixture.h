// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "buttontoolbar.h"
#include "fakeplatform.h"
#include "form1.h"
#include "historyview.h"
#include "traycopymenu.h"

#include <QAction>
#include <QToolButton>
#include <memory>

// Enabled states of the toolbar buttons "Mod" and "Elim".
const QList<bool> kEnabled{true, true};
const QList<bool> kDisabled{false, false};

// The main window over faked platform seams, loaded, with its polling timer
// stopped so that the test decides when the monitor ticks.
struct EntryFixture
{
    FakePlatform fake;
    Platform platform{fake.platform()};
    std::unique_ptr<Form1> form;

    explicit EntryFixture(const QStringList &texts = {})
    {
        // No exit question when the window goes away with the test.
        fake.settings->SaveSetting(QStringLiteral("Altro"), QStringLiteral("ConfUsc"),
                                   QStringLiteral("0"));
        form = std::make_unique<Form1>(platform, TrayControlHost::defaultPluginDirs(),
                                       fake.helpFolder());
        form->Form_Load();
        form->Timer1.stop();
        // What start-up had to say is not the test's concern.
        fake.messages.calls.clear();
        for (const QString &text : texts)
            form->store().appendEntry(text.toUtf8());
    }

    HistoryView &list() { return *form->List1; }
    HistoryStore &store() { return form->store(); }
    MenuTree &menus() { return form->menus(); }
    FakeClipboard &clipboard() { return fake.clipboard; }
    ScriptedMessageBox &messages() { return fake.messages; }

    void select(int row) { list().setCurrentRow(row); }
    void check(std::initializer_list<int> rows)
    {
        for (int row : rows)
            store().setChecked(row, true);
    }
    // Another program copies text, and the monitor ticks.
    void copyAndTick(const QString &text)
    {
        fake.clipboard.copy(text);
        form->Timer1_Timer();
    }
    QStringList names()
    {
        QStringList result;
        for (int i = 0; i < store().count(); ++i)
            result << store().name(i);
        return result;
    }
    QStringList contents()
    {
        QStringList result;
        for (int i = 0; i < store().count(); ++i)
            result << store().readContent(i);
        return result;
    }
    QStringList captions()
    {
        QStringList result;
        for (int i = 1; i <= store().count(); ++i)
            result << form->trayMenu().mnulista(i)->text();
        return result;
    }
    // Enabled states of the toolbar buttons "Mod" and "Elim".
    QList<bool> selectionButtons()
    {
        return {form->Toolbar1->button(1)->isEnabled(), form->Toolbar1->button(2)->isEnabled()};
    }
    bool onTop() const { return form->windowFlags().testFlag(Qt::WindowStaysOnTopHint); }
};
