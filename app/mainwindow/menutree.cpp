// SPDX-License-Identifier: GPL-3.0-or-later
#include "menutree.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace {

QAction *item(QMenu *menu, const char *name, const QString &caption,
              const QKeySequence &shortcut = {})
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    return action;
}

QAction *separator(QMenu *menu, const char *name)
{
    QAction *action = menu->addSeparator();
    action->setObjectName(QLatin1String(name));
    return action;
}

QMenu *submenu(QMenu *parent, const char *name, const QString &caption)
{
    QMenu *menu = parent->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QAction *checkable(QAction *action, bool checked)
{
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

} // namespace

MenuTree::MenuTree(QMenuBar &bar, QWidget &window)
{
    createMenu(bar, window);
    createLista(bar, window);
}

void MenuTree::createMenu(QMenuBar &bar, QWidget &window)
{
    cd = new QMenu(QStringLiteral("&Menu"), &window);
    cd->setObjectName(QStringLiteral("cd"));
    bar.addMenu(cd);

    stilefin = checkable(item(cd, "stilefin", QStringLiteral("S&tile finestra")), false);
    stiletool =
        checkable(item(cd, "stiletool", QStringLiteral("&Stile barra degli strumenti")), true);
    allinea = submenu(cd, "allinea", QStringLiteral("&Allineamento"));
    sinistra = item(allinea, "sinistra", QStringLiteral("A &sinistra"));
    destra = item(allinea, "destra", QStringLiteral("A &destra"));
    separator(cd, "divisore3");
    tempo = item(cd, "tempo", QStringLiteral("&Opzioni..."), Qt::Key_F8);
    separator(cd, "divisore4");

    // Shown only as the tray icon's popup, never in the menu bar.
    mnucdLista = submenu(cd, "mnucdLista", QStringLiteral("&Copia negli scrivel"));
    mnucdLista->menuAction()->setVisible(false);
    mnucopdi = item(mnucdLista, "mnucopdi", QStringLiteral("Copia il contenuto di:"));
    separator(mnucdLista, "separatore8");
    mnulista0 = item(mnucdLista, "mnulista", QStringLiteral("(Lista vuota)"));
    mnulista0->setVisible(false);
    mnulista0->setEnabled(false);
    separ = separator(mnucdLista, "separ");
    mnuSvLP = item(mnucdLista, "mnuSvLP", QStringLiteral("&Svuota lista"));
    separator(mnucdLista, "speratore11");
    mnuAnnulla = item(mnucdLista, "mnuAnnulla", QStringLiteral("&Annulla"));

    visscrivel =
        item(cd, "visscrivel", QStringLiteral("&Visualizza il contenuto degli Scrivel di sistema"));
    svoia = item(cd, "svoia", QStringLiteral("S&vuota scrivel"));
    separator(cd, "divisore5");
    mnuGuida = item(cd, "mnuGuida", QStringLiteral("&Guida"), Qt::Key_F1);
    infoon = item(cd, "infoon", QStringLiteral("&Informazioni su..."),
                  QKeySequence(Qt::CTRL | Qt::Key_I));
    separator(cd, "divisore7");
    mnutopmost = checkable(item(cd, "mnutopmost", QStringLiteral("S&empre in primo piano")), false);
    riduci = item(cd, "riduci", QStringLiteral("&Riduci a tray-icon"), Qt::Key_F3);
    mnuPorta = item(cd, "mnuPorta", QStringLiteral("R&iduci a icona"), Qt::Key_F4);
    esci = item(cd, "esci", QStringLiteral("&Esci"), Qt::Key_F12);
}

void MenuTree::createLista(QMenuBar &bar, QWidget &window)
{
    menuclicd = new QMenu(QStringLiteral("&Lista"), &window);
    menuclicd->setObjectName(QStringLiteral("menuclicd"));
    bar.addMenu(menuclicd);

    copianegliscrivel =
        item(menuclicd, "copianegliscrivel", QStringLiteral("&Copia contenuto negli Scrivel"),
             QKeySequence(Qt::CTRL | Qt::Key_C));
    separator(menuclicd, "divisore0");
    visualizza = item(menuclicd, "visualizza", QStringLiteral("&Modifica"),
                      QKeySequence(Qt::CTRL | Qt::Key_M));
    elimina =
        item(menuclicd, "elimina", QStringLiteral("&Elimina"), QKeySequence(Qt::CTRL | Qt::Key_D));
    separator(menuclicd, "divisore1");
    eliminatutti = item(menuclicd, "eliminatutti", QStringLiteral("E&limina tutti"));
    separator(menuclicd, "divisore2");
    visscr = item(menuclicd, "visscr",
                  QStringLiteral("&Visualizza il contenuto degli Scrivel di Sistema"),
                  QKeySequence(Qt::CTRL | Qt::Key_V));
    svuotascrivel = item(menuclicd, "svuotascrivel", QStringLiteral("&Svuota scrivel"));
    separator(menuclicd, "divisore9");
    mnuElementiSpuntati =
        submenu(menuclicd, "mnuElementiSpuntati", QStringLiteral("Ele&menti spuntati"));
    mnuFondi = item(mnuElementiSpuntati, "mnuFondi", QStringLiteral("&Fondi in un unico elemento"),
                    QKeySequence(Qt::CTRL | Qt::Key_F));
    separator(mnuElementiSpuntati, "divisore10");
    mnuEliminaSpuntati = item(mnuElementiSpuntati, "mnuEliminaSpuntati",
                              QStringLiteral("&Elimina elementi spuntati"));

    copianegliscrivel->setEnabled(false);
    visualizza->setEnabled(false);
    elimina->setEnabled(false);
    mnuElementiSpuntati->menuAction()->setEnabled(false);
}
