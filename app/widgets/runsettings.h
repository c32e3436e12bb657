// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <optional>

class SettingsStore;

// The main window's settings for one run: read once at start-up, held in
// memory, written at an orderly exit. Outside it they are typed values;
// inside, the texts read are kept exactly, so that a value nobody changed
// is written back as it was read.
class RunSettings
{
public:
    // The polling interval to start with.
    struct Interval
    {
        int ms = 0;
        // The user stored "0": monitoring starts suspended, and says so.
        bool suspended = false;
    };
    // What the running program holds when the settings are written.
    struct Live
    {
        // The window's outer rectangle in twips; none while it is minimised,
        // which keeps the last normal rectangle stored.
        std::optional<QRect> outerTwips;
        bool onTop = false;
        bool trayIconShown = false;
        int interval = 0;
    };

    explicit RunSettings(SettingsStore &store);

    // Reads every key start-up needs.
    void read();

    bool onTop() const;
    bool trayIconShown() const;
    Interval storedInterval() const;
    // The stored rectangle of the window, or none for its default placement.
    std::optional<QRect> windowTwips(const QList<QRect> &workAreas) const;
    // Whether the window starts hidden in the tray, asked once at start-up:
    // only with the option on, a tray icon wanted, and one that can show
    // (without it a hidden window could not be brought back).
    bool startsHidden(bool iconCanShow);

    // The options dialog's two flags.
    bool startHiddenChosen() const;
    void setStartHiddenChosen(bool on);
    bool confirmsExit() const;
    void setConfirmsExit(bool on);

    // Writes every key and the file; false when the file could not be written.
    bool save(const Live &live);
    // The file and why the last save failed, for the user.
    QString filePath() const;
    QString failureReason() const;

private:
    SettingsStore &m_store;
    QString m_sempreInPrimoPiano;
    QString m_visualizzaIcona;
    QString m_avviaAIcona;
    QString m_ref;
    QString m_confUsc;
};
