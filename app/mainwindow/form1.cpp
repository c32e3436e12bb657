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
#include "procmemorystatus.h"
#include "screenmetrics.h"
#include "settingkeys.h"
#include "settingsstore.h"
#include "storedplacement.h"
#include "textnumber.h"
#include "toolbarcommands.h"
#include "topmostbracket.h"
#include "trayart.h"
#include "traycopymenu.h"
#include "trayhost.h"
#include "twips.h"
#include "uifonts.h"
#include "windowstyles.h"

#include <QCloseEvent>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>

namespace {

constexpr int kMinWidth = 1560;
constexpr int kMinHeight = 2000;

Vandril::PictureRef iconPicture(const QIcon &icon)
{
    return Vandril::makePicture(Vandril::Picture::Icon, icon);
}

} // namespace

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
    m_styles =
        std::make_unique<WindowStyles>(*m_geometry, *m_alwaysOnTop, *m_menus, m_platform.screen);
    m_help = std::make_unique<HelpLauncher>(m_platform.processes, m_platform.messages, helpFolder);
    m_monitor = std::make_unique<ClipboardMonitor>(*m_store, m_platform.clipboard, Timer1, Timer2);
    m_trayMenu =
        std::make_unique<TrayCopyMenu>(*m_store, m_platform.clipboard, m_platform.messages,
                                       *m_menus->mnucdLista, *m_menus->mnulista0, *m_menus->separ);
    m_trayReportsHover = TrayHost::reportsHover();
    setUpEntryCommands();
    connectHandlers();
}

Form1::~Form1() = default;

void Form1::createControls()
{
    pictures.normal = iconPicture(TrayArt::normalIcon());
    pictures.suspended = iconPicture(TrayArt::suspendedIcon());
    pictures.capture = iconPicture(TrayArt::captureIcon());

    m_menus = std::make_unique<MenuTree>(*menuBar(), *this);

    auto *surface = new QWidget(this);
    setCentralWidget(surface);

    Picture1 = new QWidget(surface);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Toolbar1 =
        new ButtonToolbar(Twips::verticalOf(m_platform.screen).toPixels(QSize(635, 582)), Picture1);

    // The history store is made first of all, before anything reads it.
    m_store = std::make_unique<HistoryStore>();
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
    connect(m_monitor.get(), &ClipboardMonitor::stateChanged, this, &Form1::followStatusTip);
    connect(m_monitor.get(), &ClipboardMonitor::reported, this, &Form1::monitorReported);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_store.get(), signal, this, &Form1::followStatusTip);
    connect(m_store.get(), &QAbstractItemModel::modelReset, this, &Form1::followStatusTip);
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
    cVandril1.setTrayIcon(pictures.normal);
    if (!cVandril1.isLoaded())
        reportMissingTrayControl();

    const SettingsStore &store = m_platform.settings;
    const bool onTop = Setting::SempreInPrimoPiano.readOn(store);
    const QString visualizzaIcona = Setting::VisualizzaIcona.read(store);
    m_settings.AvviaAIcona = Setting::AvviaAIcona.read(store);
    const QString ref = Setting::Ref.read(store);
    m_settings.ConfUsc = Setting::ConfUsc.read(store);

    placeWindow();

    m_menus->mnutopmost->setChecked(onTop);
    m_alwaysOnTop->apply(onTop, false);

    m_styles->resetStyleMenu();

    setTrayIconShown(Setting::VisualizzaIcona.isOn(visualizzaIcona));

    bool startHidden = false;
    if (m_settings.AvviaAIcona != Setting::AvviaAIcona.textOf(false) &&
        !Setting::AvviaAIcona.isMissing(m_settings.AvviaAIcona) &&
        visualizzaIcona != Setting::VisualizzaIcona.textOf(false)) {
        m_settings.AvviaAIcona = Setting::AvviaAIcona.textOf(true);
        // Without an icon to click, a hidden window could not be brought back.
        startHidden = trayIconCanShow();
    }

    applyStoredInterval(ref);

    if (Setting::ConfUsc.isMissing(m_settings.ConfUsc))
        m_settings.ConfUsc = Setting::ConfUsc.textOf(true);

    Toolbar1->setSelectionButtonsEnabled(false);

    if (!startHidden)
        show();
}

void Form1::placeWindow()
{
    if (const auto stored = StoredPlacement::rectangle(m_platform.settings, Setting::MainWindow,
                                                       m_platform.screen.allWorkAreasTwips()))
        m_geometry->setOuterTwips(*stored);
    else
        m_styles->barStyle();
}

void Form1::applyStoredInterval(const QString &ref)
{
    if (Setting::Ref.isMissing(ref)) {
        m_monitor->setInterval(Setting::Ref.usual);
        return;
    }
    if (ref == QLatin1String("0")) {
        m_platform.messages.MsgBox(
            QStringLiteral("Il tempo di refresh è 0.") + QLatin1Char('\r') +
                QStringLiteral("La modifica di questo parametro tramite le Opzioni attiverà il "
                               "monitoraggio degli Scrivel di sistema. "),
            MessageBox::Information);
        m_monitor->suspendByUser();
        return;
    }
    const qint64 ms = TextNumber::roundHalfEven(TextNumber::leading(ref));
    // A value the polling timer cannot take gets the usual interval.
    m_monitor->setInterval(Setting::Ref.holds(ms) ? int(ms) : Setting::Ref.usual);
}

void Form1::reportMissingTrayControl()
{
    m_platform.messages.MsgBox(
        QStringLiteral("L'icona nell'area di notifica non è disponibile: impossibile caricare il "
                       "controllo Vandrillo.") +
            QLatin1Char('\r') + cVandril1.errorString(),
        MessageBox::Exclamation);
}

void Form1::setTrayIconShown(bool shown)
{
    cVandril1.setTrayVisible(shown);
    m_menus->riduci->setEnabled(trayIconCanShow());
}

bool Form1::trayIconCanShow() const
{
    return cVandril1.trayVisible() && cVandril1.isLoaded() &&
           m_platform.notificationArea.isAvailable();
}

void Form1::notificationAreaChanged()
{
    setTrayReportsHover(TrayHost::reportsHover());
    // Qt does not dock an icon again by itself in a tray host that came later.
    if (cVandril1.trayVisible()) {
        cVandril1.setTrayVisible(false);
        setTrayIconShown(true);
    }
    // Hidden in a tray that went away, the window would be out of reach.
    if (!trayIconCanShow() && !isVisible() && !m_ending)
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
    if (!Setting::ConfUsc.isOn(m_settings.ConfUsc))
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
    if (!saveSettings() && !m_unattended)
        reportSettingsNotSaved();
    cVandril1.setTrayVisible(false);
    Timer1.stop();
    Timer2.stop();
    m_ending = true;
    Q_EMIT ended();
}

void Form1::reportSettingsNotSaved()
{
    const SettingsStore &store = m_platform.settings;
    m_platform.messages.MsgBox(QStringLiteral("Impossibile salvare le impostazioni nel file ") +
                                   store.filePath() + QStringLiteral(": ") + store.failureReason() +
                                   QLatin1Char('.'),
                               MessageBox::Exclamation);
}

bool Form1::saveSettings()
{
    SettingsStore &store = m_platform.settings;
    // Minimised, the window keeps the last normal geometry stored.
    if (!isMinimized())
        Setting::MainWindow.write(store, m_geometry->outerTwips());
    Setting::SempreInPrimoPiano.writeOn(store, m_menus->mnutopmost->isChecked());
    Setting::VisualizzaIcona.writeOn(store, cVandril1.trayVisible());
    Setting::AvviaAIcona.write(store, m_settings.AvviaAIcona);
    Setting::Ref.writeNumber(store, m_monitor->interval());
    Setting::ConfUsc.write(store, m_settings.ConfUsc);
    Setting::SfMnu.write(store, QString());
    return store.flush();
}

void Form1::endUnattended()
{
    m_unattended = true;
    Form_Unload();
}

void Form1::Timer1_Timer()
{
    m_monitor->tick();
}

void Form1::setTrayReportsHover(bool reports)
{
    m_trayReportsHover = reports;
    followStatusTip();
}

void Form1::followStatusTip()
{
    if (!m_trayReportsHover && cVandril1.trayTip() != m_monitor->statusText())
        cVandril1.setTrayTip(m_monitor->statusText());
}

void Form1::cVandril1_MouseMove(int /*Id*/)
{
    cVandril1.setTrayTip(m_monitor->statusText());
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
    // Where the tray host saw the click, when it said; else at the pointer.
    const QPoint clicked = cVandril1.trayClickPos();
    m_trayMenu->popup(clicked.isNull() ? QCursor::pos() : clicked);
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
    using Event = ClipboardMonitor::Event;
    switch (event) {
    case Event::Capturing:
        cVandril1.setTrayIcon(pictures.capture);
        break;
    case Event::Captured:
        cVandril1.setTrayIcon(pictures.normal);
        break;
    case Event::Suspended:
        cVandril1.setTrayIcon(pictures.suspended);
        break;
    case Event::Failed:
        List1->setEnabled(false);
        break;
    case Event::Recovered:
        List1->setEnabled(true);
        cVandril1.setTrayIcon(pictures.normal);
        cVandril1.setTrayTip(m_monitor->countText());
        break;
    }
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
        &m_settings.AvviaAIcona,
        &m_settings.ConfUsc,
    };
}

void Form1::tempo_Click()
{
    frmOpz dialog(liveOptions(), m_platform.messages, *m_help, m_platform.screen, this);
    m_bracket->showModal(dialog);
}

void Form1::infoon_Click()
{
    ProcMemoryStatus memory;
    Form3 about(memory, *m_help, m_platform.screen, this);
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
    if (isMinimized() || !m_geometry)
        return;
    const QRect outer = m_geometry->outerTwips();
    // The bar is narrower than the smallest size a user may drag the window to.
    const bool isBar = outer.size() == m_styles->barSizeTwips();
    if (!isBar && (outer.height() < kMinHeight || outer.width() < kMinWidth))
        m_geometry->resizeTwips(std::max(outer.width(), kMinWidth),
                                std::max(outer.height(), kMinHeight));

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
