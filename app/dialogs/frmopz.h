// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>
#include <optional>

class HelpLauncher;
class MessageBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class RunSettings;
class ScreenMetrics;

/// The options dialog "Opzioni": the polling interval, the tray icon, starting
/// hidden in the tray and the exit confirmation. OK applies them to the
/// running program at once; any other way of closing applies nothing.
class frmOpz : public QDialog
{
    Q_OBJECT
public:
    /// The live state the dialog starts from and changes on OK.
    struct LiveOptions
    {
        std::function<int()> interval;        ///< polling interval, ms
        std::function<void(int)> setInterval; ///< 0 stops polling
        std::function<bool()> trayIconShown;
        /// Shows or removes the tray icon together with what depends on it.
        std::function<void(bool)> setTrayIconShown;
        /// Starting hidden in the tray and the exit question.
        RunSettings &settings;
    };

    /// Builds the dialog and fills it from @p live (the opening steps).
    /// Questions and messages go through @p messages; "&Guida" opens the
    /// options topic through @p help.
    frmOpz(const LiveOptions &live, MessageBox &messages, HelpLauncher &help,
           const ScreenMetrics &screen, QWidget *parent = nullptr);

    QCheckBox *Check1;
    QCheckBox *Check2;
    QLabel *Label1;
    QLineEdit *Text1;
    QPushButton *Command3;
    QPushButton *Command4;
    QPushButton *Command1;
    QPushButton *Command2;
    QPushButton *Command5;
    QLabel *Label2;
    QCheckBox *Check3;

public Q_SLOTS:
    void Check1_Click();
    void Command1_Click(); ///< OK
    void Command2_Click(); ///< Annulla
    void Command3_Click(); ///< "&Sospendi"
    void Command4_Click(); ///< "&Predefinito"
    void Command5_Click(); ///< "&Guida"

private:
    void createControls(const ScreenMetrics &screen);
    void connectHandlers();
    void Form_Load();
    // The interval the text box asks for, or nothing when the user withdrew it
    // or it is out of range (the user has been told).
    std::optional<int> requestedInterval();

    LiveOptions m_live;
    MessageBox &m_messages;
    HelpLauncher &m_help;
};
