// SPDX-License-Identifier: GPL-3.0-or-later
#include "runsettings.h"

#include "settingkeys.h"
#include "settingsstore.h"
#include "storedplacement.h"
#include "textnumber.h"

RunSettings::RunSettings(SettingsStore &store) : m_store(store) {}

void RunSettings::read()
{
    m_sempreInPrimoPiano = Setting::SempreInPrimoPiano.read(m_store);
    m_visualizzaIcona = Setting::VisualizzaIcona.read(m_store);
    m_avviaAIcona = Setting::AvviaAIcona.read(m_store);
    m_ref = Setting::Ref.read(m_store);
    m_confUsc = Setting::ConfUsc.read(m_store);
    if (Setting::ConfUsc.isMissing(m_confUsc))
        m_confUsc = Setting::ConfUsc.textOf(true);
}

bool RunSettings::onTop() const
{
    return Setting::SempreInPrimoPiano.isOn(m_sempreInPrimoPiano);
}

bool RunSettings::trayIconShown() const
{
    return Setting::VisualizzaIcona.isOn(m_visualizzaIcona);
}

RunSettings::Interval RunSettings::storedInterval() const
{
    if (Setting::Ref.isMissing(m_ref))
        return {Setting::Ref.usual, false};
    if (m_ref == QLatin1String("0"))
        return {0, true};
    const qint64 ms = TextNumber::roundHalfEven(TextNumber::leading(m_ref));
    // A value the polling timer cannot take gets the usual interval.
    return {Setting::Ref.holds(ms) ? int(ms) : Setting::Ref.usual, false};
}

std::optional<QRect> RunSettings::windowTwips(const QList<QRect> &workAreas) const
{
    return StoredPlacement::rectangle(m_store, Setting::MainWindow, workAreas);
}

bool RunSettings::startsHidden(bool iconCanShow)
{
    if (m_avviaAIcona == Setting::AvviaAIcona.textOf(false) ||
        Setting::AvviaAIcona.isMissing(m_avviaAIcona) ||
        m_visualizzaIcona == Setting::VisualizzaIcona.textOf(false))
        return false;
    m_avviaAIcona = Setting::AvviaAIcona.textOf(true);
    return iconCanShow;
}

bool RunSettings::startHiddenChosen() const
{
    return Setting::AvviaAIcona.isOn(m_avviaAIcona);
}

void RunSettings::setStartHiddenChosen(bool on)
{
    m_avviaAIcona = Setting::AvviaAIcona.textOf(on);
}

bool RunSettings::confirmsExit() const
{
    return Setting::ConfUsc.isOn(m_confUsc);
}

void RunSettings::setConfirmsExit(bool on)
{
    m_confUsc = Setting::ConfUsc.textOf(on);
}

bool RunSettings::save(const Live &live)
{
    if (live.outerTwips)
        Setting::MainWindow.write(m_store, *live.outerTwips);
    Setting::SempreInPrimoPiano.writeOn(m_store, live.onTop);
    Setting::VisualizzaIcona.writeOn(m_store, live.trayIconShown);
    Setting::AvviaAIcona.write(m_store, m_avviaAIcona);
    Setting::Ref.writeNumber(m_store, live.interval);
    Setting::ConfUsc.write(m_store, m_confUsc);
    Setting::SfMnu.write(m_store, QString());
    return m_store.flush();
}

QString RunSettings::filePath() const
{
    return m_store.filePath();
}

QString RunSettings::failureReason() const
{
    return m_store.failureReason();
}
