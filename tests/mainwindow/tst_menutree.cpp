// SPDX-License-Identifier: GPL-3.0-or-later
#include "menutree.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace {

// One item as the user meets it: its depth, name, caption ("-" for a
// separator), shortcut and start state.
struct Item
{
    int level;
    QString name;
    QString caption;
    QString shortcut;
    QString state; // letters: h hidden, d disabled, c checked, s opens a submenu
};

QString stateOf(QAction &action)
{
    QString state;
    // A hidden action reads as disabled; its own flag shows once it is shown.
    const bool hidden = !action.isVisible();
    action.setVisible(true);
    if (hidden)
        state += QLatin1Char('h');
    if (!action.isEnabled())
        state += QLatin1Char('d');
    action.setVisible(!hidden);
    if (action.isChecked())
        state += QLatin1Char('c');
    if (action.menu())
        state += QLatin1Char('s');
    return state;
}

void walk(const QMenu &menu, int level, QList<Item> &items)
{
    for (QAction *action : menu.actions()) {
        items.append({level, action->objectName(),
                      action->isSeparator() ? QStringLiteral("-") : action->text(),
                      action->shortcut().toString(QKeySequence::PortableText), stateOf(*action)});
        if (action->menu())
            walk(*action->menu(), level + 1, items);
    }
}

// Both menus as built, in menu-bar order; level 0 is a menu of the bar.
QList<Item> builtTree()
{
    QWidget window;
    QMenuBar bar(&window);
    MenuTree tree(bar, window);
    QList<Item> items;
    for (QAction *top : bar.actions()) {
        items.append({0, top->menu()->objectName(), top->text(), QString(), stateOf(*top)});
        walk(*top->menu(), 1, items);
    }
    return items;
}

const QList<Item> &expectedTree()
{
    static const QList<Item> items{
        {0, "cd", "&Menu", "", "s"},
        {1, "stilefin", "S&tile finestra", "", ""},
        {1, "stiletool", "&Stile barra degli strumenti", "", "c"},
        {1, "allinea", "&Allineamento", "", "s"},
        {2, "sinistra", "A &sinistra", "", ""},
        {2, "destra", "A &destra", "", ""},
        {1, "divisore3", "-", "", ""},
        {1, "tempo", "&Opzioni...", "F8", ""},
        {1, "divisore4", "-", "", ""},
        {1, "mnucdLista", "&Copia negli scrivel", "", "hs"},
        {2, "mnucopdi", "Copia il contenuto di:", "", ""},
        {2, "separatore8", "-", "", ""},
        {2, "mnulista", "(Lista vuota)", "", "hd"},
        {2, "separ", "-", "", ""},
        {2, "mnuSvLP", "&Svuota lista", "", ""},
        {2, "speratore11", "-", "", ""},
        {2, "mnuAnnulla", "&Annulla", "", ""},
        {1, "visscrivel", "&Visualizza il contenuto degli Scrivel di sistema", "", ""},
        {1, "svoia", "S&vuota scrivel", "", ""},
        {1, "divisore5", "-", "", ""},
        {1, "mnuGuida", "&Guida", "F1", ""},
        {1, "infoon", "&Informazioni su...", "Ctrl+I", ""},
        {1, "divisore7", "-", "", ""},
        {1, "mnutopmost", "S&empre in primo piano", "", ""},
        {1, "riduci", "&Riduci a tray-icon", "F3", ""},
        {1, "mnuPorta", "R&iduci a icona", "F4", ""},
        {1, "esci", "&Esci", "F12", ""},
        {0, "menuclicd", "&Lista", "", "s"},
        {1, "copianegliscrivel", "&Copia contenuto negli Scrivel", "Ctrl+C", "d"},
        {1, "divisore0", "-", "", ""},
        {1, "visualizza", "&Modifica", "Ctrl+M", "d"},
        {1, "elimina", "&Elimina", "Ctrl+D", "d"},
        {1, "divisore1", "-", "", ""},
        {1, "eliminatutti", "E&limina tutti", "", ""},
        {1, "divisore2", "-", "", ""},
        {1, "visscr", "&Visualizza il contenuto degli Scrivel di Sistema", "Ctrl+V", ""},
        {1, "svuotascrivel", "&Svuota scrivel", "", ""},
        {1, "divisore9", "-", "", ""},
        {1, "mnuElementiSpuntati", "Ele&menti spuntati", "", "ds"},
        {2, "mnuFondi", "&Fondi in un unico elemento", "Ctrl+F", ""},
        {2, "divisore10", "-", "", ""},
        {2, "mnuEliminaSpuntati", "&Elimina elementi spuntati", "", ""},
    };
    return items;
}

} // namespace

class TestMenuTree : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyItem_data();
    void everyItem();
    void nothingBesides();
};

void TestMenuTree::everyItem_data()
{
    QTest::addColumn<int>("position");
    const QList<Item> &items = expectedTree();
    for (int i = 0; i < items.size(); ++i)
        QTest::addRow("%02d %s", i, qPrintable(items[i].name)) << i;
}

void TestMenuTree::everyItem()
{
    QFETCH(int, position);
    const QList<Item> built = builtTree();
    QVERIFY(position < built.size());
    const Item &want = expectedTree()[position];
    const Item &got = built[position];
    QCOMPARE(got.name, want.name);
    QCOMPARE(got.level, want.level);
    QCOMPARE(got.caption, want.caption);
    QCOMPARE(got.shortcut, want.shortcut);
    QCOMPARE(got.state, want.state);
}

void TestMenuTree::nothingBesides()
{
    QCOMPARE(builtTree().size(), expectedTree().size());
}

QTEST_MAIN(TestMenuTree)
#include "tst_menutree.moc"
