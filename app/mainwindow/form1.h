// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboardmonitor.h"
#include "frmopz.h"
#include "historystore.h"
#include "menutree.h"
#include "platform.h"
#include "traycontrolhost.h"

#include <QMainWindow>
#include <QTimer>
#include <memory>

class AlwaysOnTop;
class ButtonToolbar;
class EntryCommands;
class FrameGeometry;
class HelpLauncher;
class HistoryView;
class ListInteraction;
class RunSettings;
class ToolbarCommands;
class TopmostBracket;
class TrayCopyMenu;
class TrayPresenter;
class WindowStyles;

// The main window: the history list, the menus, the toolbar strip, the
// polling timers and the tray icon control. Its handlers delegate to the
// classes that own each concern.
class Form1 : public QMainWindow
{
    Q_OBJECT
public:
    Form1(Platform &platform, const QStringList &pluginDirs, const QString &helpFolder,
          QWidget *parent = nullptr);
    ~Form1() override;

    // Runs the start-up sequence. The window is shown at its end unless it
    // starts hidden in the tray. An end requested during one of its messages
    // cuts it short.
    void Form_Load();

    MenuTree &menus() { return *m_menus; }
    HistoryStore &store() { return *m_store; }
    ClipboardMonitor &monitor() { return *m_monitor; }
    FrameGeometry &geometryTwips() { return *m_geometry; }
    AlwaysOnTop &alwaysOnTop() { return *m_alwaysOnTop; }
    HelpLauncher &help() { return *m_help; }
    EntryCommands &entries() { return *m_entries; }
    TrayCopyMenu &trayMenu() { return *m_trayMenu; }
    TrayPresenter &tray() { return *m_tray; }
    // What the options dialog edits, live.
    frmOpz::LiveOptions liveOptions();
    // Shows or removes the tray icon; riduci is available only with an icon
    // that the desktop can actually show.
    void setTrayIconShown(bool shown);

    // Brings the window back from the tray or the taskbar, in front.
    void showAgain();
    // Opens the tray copy menu where the tray icon was clicked, or at the
    // pointer.
    void popUpCopyMenu();
    // Writes the settings as they are now, for a session that may end;
    // false when they could not be written. Before the start-up has run to
    // its end nothing is written: the file keeps what it holds.
    bool saveSettings();
    // Ends in order without asking anything: settings written, tray icon
    // removed. During a shutdown already under way, the program ends without
    // waiting for the answer to its message.
    void endUnattended();

    HistoryView *List1 = nullptr;
    QWidget *Picture1 = nullptr;
    ButtonToolbar *Toolbar1 = nullptr;
    QTimer Timer1;
    TrayControlHost cVandril1;

Q_SIGNALS:
    // The shutdown sequence has begun: from now on the run takes no request.
    void ending();
    // The shutdown sequence has run to its end (or an unattended end cut
    // short its message): the program ends now. Emitted once.
    void ended();

public Q_SLOTS:
    void Timer1_Timer();
    void Timer2_Timer();
    void esci_Click();
    void mnuGuida_Click();
    void riduci_Click();
    void mnuPorta_Click();
    void stilefin_Click();
    void stiletool_Click();
    void sinistra_Click();
    void destra_Click();
    void mnutopmost_Click();
    void Form_MouseDown(Qt::MouseButton Button, const QPoint &globalPos);
    void Picture1_MouseDown(Qt::MouseButton Button, const QPoint &globalPos);

    // Options dialog and about window.
    void tempo_Click();
    void infoon_Click();

    // Tray icon and its copy menu.
    void cVandril1_MouseMove(int Id);
    void cVandril1_MouseUp(int Button, int Id);
    void mnulista_Click(int Index);
    void mnucopdi_Click();

    // Entry commands, the history list and the toolbar.
    void copianegliscrivel_Click();
    void visualizza_Click();
    void elimina_Click();
    void eliminatutti_Click();
    void visscr_Click();
    void svuotascrivel_Click();
    void mnuFondi_Click();
    void mnuEliminaSpuntati_Click();
    void mnuSvLP_Click();
    void visscrivel_Click();
    void svoia_Click();
    void menuclicd_Click();
    void List1_Click();
    void List1_DblClick();
    void List1_KeyPress(int KeyAscii);
    void List1_MouseMove();
    void List1_MouseDown(Qt::MouseButton Button, const QPoint &globalPos);
    void Toolbar1_ButtonClick(const QString &Key);
    void Toolbar1_MouseDown(Qt::MouseButton Button, const QPoint &globalPos);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void createControls();
    void connectHandlers();
    // The stored place and size, or the bar style where none can be used.
    void placeWindow();
    void applyStoredInterval();
    // A tray host came or went: the icon docks again, or the window returns.
    void notificationAreaChanged();
    // Returns false when the user vetoed the close.
    bool Form_QueryUnload();
    void Form_Unload();
    void reportSettingsNotSaved();
    void finishEnding();
    void Form_Resize();
    // The list is out of use while the clipboard cannot be read.
    void monitorReported(ClipboardMonitor::Event event);
    void setUpEntryCommands();

    Platform &m_platform;
    QTimer Timer2;
    std::unique_ptr<RunSettings> m_settings;
    std::unique_ptr<TrayPresenter> m_tray;
    std::unique_ptr<MenuTree> m_menus;
    std::unique_ptr<HistoryStore> m_store;
    std::unique_ptr<ClipboardMonitor> m_monitor;
    FrameGeometry *m_geometry = nullptr;
    std::unique_ptr<AlwaysOnTop> m_alwaysOnTop;
    std::unique_ptr<TopmostBracket> m_bracket;
    std::unique_ptr<WindowStyles> m_styles;
    std::unique_ptr<HelpLauncher> m_help;
    std::unique_ptr<TrayCopyMenu> m_trayMenu;
    std::unique_ptr<EntryCommands> m_entries;
    std::unique_ptr<ListInteraction> m_listInteraction;
    std::unique_ptr<ToolbarCommands> m_toolbarCommands;
    // The start-up sequence ran to its end: the window holds the settings read.
    bool m_loaded = false;
    bool m_ending = false;
    bool m_ended = false;
    // Ending without anyone to answer: no questions, no messages.
    bool m_unattended = false;
};
