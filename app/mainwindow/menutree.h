// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

// The main window's two menus, "&Menu" (cd) and "&Lista" (menuclicd), with
// every item under the name the code reaches it by. Each item's objectName
// is that name too.
class MenuTree
{
public:
    MenuTree(QMenuBar &bar, QWidget &window);

    // "&Menu"
    QMenu *cd;
    QAction *stilefin;
    QAction *stiletool;
    QMenu *allinea;
    QAction *sinistra;
    QAction *destra;
    QAction *tempo;
    QMenu *mnucdLista;
    QAction *mnucopdi;
    QAction *mnulista0;
    QAction *separ;
    QAction *mnuSvLP;
    QAction *mnuAnnulla;
    QAction *visscrivel;
    QAction *svoia;
    QAction *mnuGuida;
    QAction *infoon;
    QAction *mnutopmost;
    QAction *riduci;
    QAction *mnuPorta;
    QAction *esci;

    // "&Lista"
    QMenu *menuclicd;
    QAction *copianegliscrivel;
    QAction *visualizza;
    QAction *elimina;
    QAction *eliminatutti;
    QAction *visscr;
    QAction *svuotascrivel;
    QMenu *mnuElementiSpuntati;
    QAction *mnuFondi;
    QAction *mnuEliminaSpuntati;

private:
    void createMenu(QMenuBar &bar, QWidget &window);
    void createLista(QMenuBar &bar, QWidget &window);
};
