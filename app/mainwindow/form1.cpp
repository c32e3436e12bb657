// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"

#include "alwaysontop.h"
#include "buttontoolbar.h"
#include "entrycommands.h"
#include "form3.h"
#include "framegeometry.h"
#include "frmopz.h"
#include "helplauncher.h"
#include "historyview.h"
#include "listinteraction.h"
#include "messagebox.h"
#include "mousedownwatcher.h"
#include "notificationarea.h"
#include "runsettings.h"
#include "screenmetrics.h"
#include "toolbarcommands.h"
#include "topmostbracket.h"
#include "trayart.h"
#include "traycopymenu.h"
#include "traypresenter.h"
#include "twips.h"
#include "uifonts.h"
#include "windowstyles.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>

Form1::Form1(Platform &platform, const QStringList &pluginDirs, const QString &helpFolder,
             QWidget *parent)
    : QMainWindow(parent), cVandril1(this, pluginDirs), m_platform(platform)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Q&V Scrivel"));
    setWindowIcon(TrayArt::normalIcon());
    setFont(UiFonts::tahoma(8.25));
    createControls();

    m_geometry = new FrameGeometry(*this, m_platform.screen);
    m_alwaysOnTop = std::make_unique<AlwaysOnTop>(*this, *m_geometry);
    m_bracket = std::make_unique<TopmostBracket>(*m_alwaysOnTop, *m_menus->mnutopmost,
                                                 m_platform.messages, m_platform.modals);
    m_styles = std::make_unique<WindowStyles>(*this, *m_geometry, *m_alwaysOnTop, *m_menus,
                                              m_platform.screen);
    m_help = std::make_unique<HelpLauncher>(m_platform.processes, m_platform.messages, helpFolder);
    m_monitor = std::make_unique<ClipboardMonitor>(*m_store, m_platform.clipboard, Timer1, Timer2);
    m_tray = std::make_unique<TrayPresenter>(cVandril1, *m_monitor, *m_store,
                                             m_platform.notificationArea);
    m_settings = std::make_unique<RunSettings>(m_platform.settings);
    m_trayMenu =
        std::make_unique<TrayCopyMenu>(*m_store, m_platform.clipboard, m_platform.messages,
                                       *m_menus->mnucdLista, *m_menus->mnulista0, *m_menus->separ);
    setUpEntryCommands();
    connectHandlers();
}

Form1::~Form1() = default;

void Form1::createControls()
{
    m_menus = std::make_unique<MenuTree>(*menuBar(), *this);

    auto *surface = new QWidget(this);
    setCentralWidget(surface);

    Picture1 = new QWidget(surface);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Toolbar1 =
        new ButtonToolbar(Twips::verticalOf(m_platform.screen).toPixels(QSize(635, 582)), Picture1);

    // The history store is made first of all, before anything reads it.
    m_store = std::make_unique<HistoryStore>([this] { m_platform.memory.releaseFreedMemory(); });
    List1 = new HistoryView(*m_store, surface);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setAccessibleName(QStringLiteral("Cronologia degli Scrivel"));
    List1->setAccessibleDescription(
        QStringLiteral("Testi copiati, dal primo all'ultimo; Invio modifica l'elemento "
                       "selezionato, doppio clic lo copia negli Scrivel di sistema"));
    List1->setToolTip(QStringLiteral("Doppio clic copia la selezione negli scrivel"));
}

void Form1::connectHandlers()
{
    connect(&Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(&Timer2, &QTimer::timeout, this, &Form1::Timer2_Timer);
    const MenuTree &m = *m_menus;
    connect(m.esci, &QAction::triggered, this, &Form1::esci_Click);
    connect(m.mnuGuida, &QAction::triggered, this, &Form1::mnuGuida_Click);
    connect(m.riduci, &QAction::triggered, this, &Form1::riduci_Click);
    connect(m.mnuPorta, &QAction::triggered, this, &Form1::mnuPorta_Click);
    connect(m.stilefin, &QAction::triggered, this, &Form1::stilefin_Click);
    connect(m.stiletool, &QAction::triggered, this, &Form1::stiletool_Click);
    connect(m.sinistra, &QAction::triggered, this, &Form1::sinistra_Click);
    connect(m.destra, &QAction::triggered, this, &Form1::destra_Click);
    connect(m.mnutopmost, &QAction::triggered, this, &Form1::mnutopmost_Click);
    connect(new MouseDownWatcher(*centralWidget()), &MouseDownWatcher::MouseDown, this,
            &Form1::Form_MouseDown);
    connect(new MouseDownWatcher(*Picture1), &MouseDownWatcher::MouseDown, this,
            &Form1::Picture1_MouseDown);
    connect(m.tempo, &QAction::triggered, this, &Form1::tempo_Click);
    connect(m.infoon, &QAction::triggered, this, &Form1::infoon_Click);

    connect(&cVandril1, &TrayControlHost::MouseMove, this, &Form1::cVandril1_MouseMove);
    connect(&cVandril1, &TrayControlHost::MouseUp, this, &Form1::cVandril1_MouseUp);
    connect(m.mnucopdi, &QAction::triggered, this, &Form1::mnucopdi_Click);
    connect(&m_platform.notificationArea, &NotificationArea::availabilityChanged, this,
            &Form1::notificationAreaChanged);
    connect(m_monitor.get(), &ClipboardMonitor::reported, this, &Form1::monitorReported);
    connect(m.mnucdLista, &QMenu::triggered, this, [this](QAction *action) {
        // Entry items carry their element number; the fixed items carry none.
        if (action->data().isValid())
            mnulista_Click(action->data().toInt());
    });
}

void Form1::Form_Load()
{
    // The content table and the help path exist from construction on.
    Toolbar1->toggleFlatStyle();
    m_tray->start(m_platform.messages);
    if (m_ending)
        return;
    m_settings->read();
    placeWindow();
    m_menus->mnutopmost->setChecked(m_settings->onTop());
    m_alwaysOnTop->apply(m_settings->onTop(), false);
    m_styles->resetStyleMenu();
    setTrayIconShown(m_settings->trayIconShown());
    const bool startHidden = m_settings->startsHidden(m_tray->iconCanShow());
    applyStoredInterval();
    if (m_ending)
        return;
    Toolbar1->setSelectionButtonsEnabled(false);
    m_loaded = true;
    // The tray host may have gone during a message.
    if (!startHidden || !m_tray->iconCanShow())
        show();
}

void Form1::placeWindow()
{
    if (const auto stored = m_settings->windowTwips(m_platform.screen.allWorkAreasTwips())) {
        m_geometry->setOuterTwips(*stored);
        m_styles->followStyleInTiling();
    } else {
        m_styles->barStyle();
    }
}

void Form1::applyStoredInterval()
{
    const RunSettings::Interval interval = m_settings->storedInterval();
    if (!interval.suspended) {
        m_monitor->setInterval(interval.ms);
        return;
    }
    m_platform.messages.MsgBox(
        QStringLiteral("Il tempo di refresh è 0.") + QLatin1Char('\r') +
            QStringLiteral("La modifica di questo parametro tramite le Opzioni attiverà il "
                           "monitoraggio degli Scrivel di sistema. "),
        MessageBox::Information);
    m_monitor->suspendByUser();
}

void Form1::setTrayIconShown(bool shown)
{
    m_tray->setIconShown(shown);
    m_menus->riduci->setEnabled(m_tray->iconCanShow());
}

void Form1::notificationAreaChanged()
{
    m_tray->hostChanged();
    m_menus->riduci->setEnabled(m_tray->iconCanShow());
    // Hidden in a tray that went away, the window would be out of reach.
    if (!m_tray->iconCanShow() && !isVisible() && m_loaded && !m_ending)
        showAgain();
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (m_ending || !Form_QueryUnload()) {
        event->setAccepted(m_ending);
        return;
    }
    Form_Unload();
    event->accept();
}

bool Form1::Form_QueryUnload()
{
    if (!m_settings->confirmsExit())
        return true;
    const bool wasChecked = m_bracket->open();
    const int answer = m_platform.messages.MsgBox(
        QStringLiteral("Si desidera veramente uscire? Se sì tutto il testo presente non sarà più "
                       "disponibile."),
        MessageBox::OkCancel + MessageBox::Exclamation);
    if (answer == MessageBox::Ok)
        return true;
    m_bracket->close(wasChecked);
    return false;
}

void Form1::Form_Unload()
{
    if (m_ending)
        return;
    m_ending = true;
    Q_EMIT ending();
    if (!saveSettings() && !m_unattended)
        reportSettingsNotSaved();
    cVandril1.setTrayVisible(false);
    Timer1.stop();
    Timer2.stop();
    finishEnding();
}

void Form1::finishEnding()
{
    if (m_ended)
        return;
    m_ended = true;
    Q_EMIT ended();
}

void Form1::reportSettingsNotSaved()
{
    m_platform.messages.MsgBox(QStringLiteral("Impossibile salvare le impostazioni nel file ") +
                                   m_settings->filePath() + QStringLiteral(": ") +
                                   m_settings->failureReason() + QLatin1Char('.'),
                               MessageBox::Exclamation);
}

bool Form1::saveSettings()
{
    if (!m_loaded)
        return true;
    RunSettings::Live live;
    // Minimised, the window keeps the last normal geometry stored.
    if (!isMinimized())
        live.outerTwips = m_geometry->outerTwips();
    live.onTop = m_menus->mnutopmost->isChecked();
    live.trayIconShown = cVandril1.trayVisible();
    live.interval = m_monitor->interval();
    return m_settings->save(live);
}

void Form1::endUnattended()
{
    m_unattended = true;
    if (m_ending)
        finishEnding();
    else
        Form_Unload();
}

void Form1::Timer1_Timer()
{
    m_monitor->tick();
}

void Form1::cVandril1_MouseMove(int /*Id*/)
{
    m_tray->hovered();
}

void Form1::cVandril1_MouseUp(int Button, int /*Id*/)
{
    if (Button == 2)
        showAgain();
    if (Button == 1)
        popUpCopyMenu();
}

void Form1::showAgain()
{
    setVisible(true);
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    activateWindow();
    raise();
}

void Form1::popUpCopyMenu()
{
    // Where the tray host saw the click, when it said; else at the pointer,
    // where its place is known; else mid-screen (a shortcut under Wayland).
    const QPoint clicked = cVandril1.trayClickPos();
    if (!clicked.isNull())
        m_trayMenu->popup(clicked);
    else if (const std::optional<QPoint> pointer = m_platform.screen.pointerPosition())
        m_trayMenu->popup(*pointer);
    else
        m_trayMenu->popupCentred();
}

void Form1::mnulista_Click(int Index)
{
    m_trayMenu->copyEntry(Index);
}

void Form1::mnucopdi_Click()
{
    m_trayMenu->showHint();
}

void Form1::Timer2_Timer()
{
    m_monitor->captureShown();
}

void Form1::monitorReported(ClipboardMonitor::Event event)
{
    if (event == ClipboardMonitor::Event::Failed)
        List1->setEnabled(false);
    else if (event == ClipboardMonitor::Event::Recovered)
        List1->setEnabled(true);
}

void Form1::esci_Click()
{
    close();
}

void Form1::mnuGuida_Click()
{
    m_help->openHelp(HelpLauncher::Contents);
}

void Form1::riduci_Click()
{
    hide();
}

void Form1::mnuPorta_Click()
{
    showMinimized();
}

void Form1::stilefin_Click()
{
    m_styles->windowStyle();
}

void Form1::stiletool_Click()
{
    m_styles->barStyle();
}

void Form1::sinistra_Click()
{
    m_styles->dockLeft();
}

void Form1::destra_Click()
{
    m_styles->dockRight();
}

void Form1::mnutopmost_Click()
{
    m_styles->applyTopmostCheck();
}

frmOpz::LiveOptions Form1::liveOptions()
{
    ClipboardMonitor &monitor = *m_monitor;
    return frmOpz::LiveOptions{
        [&monitor] { return monitor.interval(); },
        [&monitor](int ms) { monitor.setInterval(ms); },
        [this] { return cVandril1.trayVisible(); },
        [this](bool shown) { setTrayIconShown(shown); },
        *m_settings,
    };
}

void Form1::tempo_Click()
{
    frmOpz dialog(liveOptions(), m_platform.messages, *m_help, m_platform.screen, this);
    m_bracket->showModal(dialog);
}

void Form1::infoon_Click()
{
    Form3 about(m_platform.memory, *m_help, m_platform.screen, this);
    m_bracket->showModal(about);
}

void Form1::Form_MouseDown(Qt::MouseButton Button, const QPoint &globalPos)
{
    if (Button == Qt::RightButton)
        m_menus->cd->popup(globalPos);
}

void Form1::Picture1_MouseDown(Qt::MouseButton Button, const QPoint &globalPos)
{
    Form_MouseDown(Button, globalPos);
}

void Form1::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void Form1::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void Form1::Form_Resize()
{
    if (!cVandril1.trayVisible() && isMinimized()) {
        // Without a tray icon a minimised window could not be found again.
        setWindowState(windowState() & ~Qt::WindowMinimized);
        return;
    }
    if (isMinimized() || !m_styles)
        return;
    m_styles->keepMinimumSize();

    const QRect area = centralWidget()->rect();
    // The strip is as tall as its buttons and starts where the list ends.
    const int stripHeight = Toolbar1->height();
    Picture1->setGeometry(0, area.height() - stripHeight, area.width(), stripHeight);
    Toolbar1->fitToWidth(area.width() - Toolbar1->x());
    const int listHeight = area.height() - stripHeight;
    const int listWidth = m_geometry->twips().xToPixels(m_geometry->outerTwips().width() - 150);
    if (listHeight >= 0 && listWidth >= 0)
        List1->setGeometry(0, 0, listWidth, listHeight);
}

// Entry commands, the history list and the toolbar.

void Form1::setUpEntryCommands()
{
    m_entries = std::make_unique<EntryCommands>(EntryCommands::Parts{
        m_platform, *m_store, *List1, *Toolbar1, *m_bracket, *m_monitor, *m_help, *this});
    m_listInteraction = std::make_unique<ListInteraction>(
        ListInteraction::Parts{*List1, *m_store, *m_menus, *Toolbar1, *m_entries});
    m_toolbarCommands = std::make_unique<ToolbarCommands>(*List1, *m_entries, *m_menus->cd,
                                                          [this] { mnuGuida_Click(); });

    const MenuTree &m = *m_menus;
    connect(m.copianegliscrivel, &QAction::triggered, this, &Form1::copianegliscrivel_Click);
    connect(m.visualizza, &QAction::triggered, this, &Form1::visualizza_Click);
    connect(m.elimina, &QAction::triggered, this, &Form1::elimina_Click);
    connect(m.eliminatutti, &QAction::triggered, this, &Form1::eliminatutti_Click);
    connect(m.visscr, &QAction::triggered, this, &Form1::visscr_Click);
    connect(m.svuotascrivel, &QAction::triggered, this, &Form1::svuotascrivel_Click);
    connect(m.mnuFondi, &QAction::triggered, this, &Form1::mnuFondi_Click);
    connect(m.mnuEliminaSpuntati, &QAction::triggered, this, &Form1::mnuEliminaSpuntati_Click);
    connect(m.mnuSvLP, &QAction::triggered, this, &Form1::mnuSvLP_Click);
    connect(m.visscrivel, &QAction::triggered, this, &Form1::visscrivel_Click);
    connect(m.svoia, &QAction::triggered, this, &Form1::svoia_Click);
    connect(m.menuclicd, &QMenu::aboutToShow, this, &Form1::menuclicd_Click);

    const ListInteraction *list = m_listInteraction.get();
    connect(list, &ListInteraction::Click, this, &Form1::List1_Click);
    connect(list, &ListInteraction::DblClick, this, &Form1::List1_DblClick);
    connect(list, &ListInteraction::KeyPress, this, &Form1::List1_KeyPress);
    connect(list, &ListInteraction::MouseMove, this, &Form1::List1_MouseMove);
    connect(list, &ListInteraction::MouseDown, this, &Form1::List1_MouseDown);
    connect(Toolbar1, &ButtonToolbar::ButtonClick, this, &Form1::Toolbar1_ButtonClick);
    connect(Toolbar1, &ButtonToolbar::MouseDown, this, &Form1::Toolbar1_MouseDown);
}

void Form1::copianegliscrivel_Click()
{
    m_entries->copyBack();
}

void Form1::visualizza_Click()
{
    m_entries->editSelected();
}

void Form1::elimina_Click()
{
    m_entries->deleteSelected();
}

void Form1::eliminatutti_Click()
{
    m_entries->emptyHistory(EntryCommands::EmptyFrom::ListMenu);
}

void Form1::visscr_Click()
{
    m_entries->viewClipboard();
}

void Form1::svuotascrivel_Click()
{
    m_entries->clearClipboard();
}

void Form1::mnuFondi_Click()
{
    m_entries->mergeChecked();
}

void Form1::mnuEliminaSpuntati_Click()
{
    m_entries->deleteChecked();
}

void Form1::mnuSvLP_Click()
{
    m_entries->emptyHistory(EntryCommands::EmptyFrom::TrayMenu);
}

void Form1::visscrivel_Click()
{
    m_entries->viewClipboard();
}

void Form1::svoia_Click()
{
    m_entries->clearClipboard();
}

void Form1::menuclicd_Click()
{
    m_listInteraction->updateMenuState();
}

void Form1::List1_Click()
{
    m_listInteraction->selectionChanged();
}

void Form1::List1_DblClick()
{
    m_listInteraction->doubleClick();
}

void Form1::List1_KeyPress(int KeyAscii)
{
    m_listInteraction->keyPress(KeyAscii);
}

void Form1::List1_MouseMove()
{
    m_listInteraction->mouseMove();
}

void Form1::List1_MouseDown(Qt::MouseButton Button, const QPoint &globalPos)
{
    m_listInteraction->mouseDown(Button, globalPos);
}

void Form1::Toolbar1_ButtonClick(const QString &Key)
{
    m_toolbarCommands->buttonClick(Key);
}

void Form1::Toolbar1_MouseDown(Qt::MouseButton Button, const QPoint &globalPos)
{
    m_toolbarCommands->mouseDown(Button, globalPos);
}
