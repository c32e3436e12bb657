// SPDX-License-Identifier: GPL-3.0-or-later
#include "traypresenter.h"

#include "historystore.h"
#include "messagebox.h"
#include "notificationarea.h"
#include "trayart.h"
#include "traycontrolhost.h"

namespace {

Vandril::PictureRef iconPicture(const QIcon &icon)
{
    return Vandril::makePicture(Vandril::Picture::Icon, icon);
}

} // namespace

TrayPresenter::TrayPresenter(TrayControlHost &control, const ClipboardMonitor &monitor,
                             const HistoryStore &store, const NotificationArea &area,
                             QObject *parent)
    : QObject(parent), m_control(control), m_monitor(monitor),
      m_area(area), m_pictures{iconPicture(TrayArt::normalIcon()),
                               iconPicture(TrayArt::suspendedIcon()),
                               iconPicture(TrayArt::captureIcon())}
{
    connect(&monitor, &ClipboardMonitor::reported, this, &TrayPresenter::monitorReported);
    connect(&monitor, &ClipboardMonitor::stateChanged, this, &TrayPresenter::followStatusTip);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(&store, signal, this, &TrayPresenter::followStatusTip);
    connect(&store, &QAbstractItemModel::modelReset, this, &TrayPresenter::followStatusTip);
}

void TrayPresenter::start(MessageBox &messages)
{
    m_control.setTrayIcon(m_pictures.normal);
    if (m_control.isLoaded())
        return;
    messages.MsgBox(QStringLiteral("L'icona nell'area di notifica non è disponibile: impossibile "
                                   "caricare il controllo Vandrillo.") +
                        QLatin1Char('\r') + m_control.errorString(),
                    MessageBox::Exclamation);
}

void TrayPresenter::setIconShown(bool shown)
{
    m_control.setTrayVisible(shown);
}

bool TrayPresenter::iconCanShow() const
{
    return m_control.trayVisible() && m_control.isLoaded() && m_area.isAvailable();
}

void TrayPresenter::hostChanged()
{
    // Qt does not dock an icon again by itself in a tray host that came later.
    if (m_control.trayVisible()) {
        m_control.setTrayVisible(false);
        m_control.setTrayVisible(true);
    }
    followStatusTip();
}

void TrayPresenter::hovered()
{
    m_control.setTrayTip(m_monitor.statusText());
}

void TrayPresenter::monitorReported(ClipboardMonitor::Event event)
{
    using Event = ClipboardMonitor::Event;
    switch (event) {
    case Event::Capturing:
        m_control.setTrayIcon(m_pictures.capture);
        break;
    case Event::Captured:
    case Event::Recovered:
        m_control.setTrayIcon(m_pictures.normal);
        break;
    case Event::Suspended:
        m_control.setTrayIcon(m_pictures.suspended);
        break;
    case Event::Failed:
        break;
    }
    if (event == Event::Recovered)
        m_control.setTrayTip(m_monitor.countText());
}

void TrayPresenter::followStatusTip()
{
    if (!m_area.reportsHover() && m_control.trayTip() != m_monitor.statusText())
        m_control.setTrayTip(m_monitor.statusText());
}
