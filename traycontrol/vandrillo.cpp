// SPDX-License-Identifier: GPL-3.0-or-later
#include "vandrillo.h"

#include "frmabout.h"
#include "notificationareashell.h"
#include "notifierbus.h"
#include "notifyicondata.h"
#include "systemtrayshell.h"
#include "trayshell.h"
#include "vandrillopictures.h"
#include "windowmessageevent.h"
#include "windowmessages.h"

#include <QDesktopServices>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QResizeEvent>
#include <cmath>
#include <qdrawutil.h>
#include <utility>

using namespace WindowMessages;

namespace {

constexpr short LeftButton = 1;
constexpr short RightButton = 2;

constexpr double TwipsPerInch = 1440.0;

const QString KeyTrayVisible = QStringLiteral("TrayVisible");
const QString KeyTrayIcon = QStringLiteral("TrayIcon");
const QString KeyTrayTip = QStringLiteral("TrayTip");
const QString DefaultTip = QStringLiteral("Vandrillo");

bool isIconPicture(const Vandril::PictureRef &picture)
{
    return picture && picture->type() == Vandril::Picture::Icon;
}

// The picture of imgVandrillo: a bitmap, so TrayIcon never accepts it.
Vandril::PictureRef imgVandrilloPicture()
{
    return Vandril::makePicture(Vandril::Picture::Bitmap,
                                QIcon(QPixmap::fromImage(VandrilloPictures::imgVandrillo())));
}

} // namespace

Vandrillo::Services Vandrillo::systemServices()
{
    return withSystemDefaults({});
}

Vandrillo::Services Vandrillo::withSystemDefaults(Services services)
{
    if (!services.shell) {
        services.shell = std::make_unique<NotificationAreaShell>(
            NotifierBus::session(), []() -> std::unique_ptr<TrayShell> {
                if (!SystemTrayShell::docksInXEmbedTray())
                    return nullptr;
                return std::make_unique<SystemTrayShell>();
            });
    }
    if (!services.openUrl)
        services.openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    if (!services.runModal)
        services.runModal = [](QDialog &dialog) { return dialog.exec(); };
    return services;
}

Vandrillo::Vandrillo(Vandril::HostSite *site, Services services, QWidget *parent)
    : QWidget(parent), m_site(site), m_services(withSystemDefaults(std::move(services))),
      m_window(this)
{
    setObjectName(QStringLiteral("Vandrillo"));
    // Fixed, so that a host's resize takes effect as the square even while hidden.
    setFixedSize(sideSize());
}

Vandrillo::~Vandrillo()
{
    if (TrayVisible())
        setTrayVisible(false);
}

Vandrillo *Vandrillo::create(QWidget *parent, Vandril::HostSite *site,
                             const Vandril::PropertyBag *saved)
{
    auto *control = new Vandrillo(site, systemServices(), parent);
    if (saved) {
        Vandril::PropertyBag bag = *saved;
        control->ReadProperties(&bag);
    } else {
        control->InitProperties();
    }
    return control;
}

bool Vandrillo::runMode() const
{
    return !m_site || m_site->ambientUserMode();
}

void Vandrillo::setTrayVisible(bool visible)
{
    if (visible == m_visible)
        return;
    if (visible) {
        if (runMode()) {
            m_window->installEventFilter(this);
            AddTrayIcon(m_window, m_iconId, m_tip, m_icon);
            m_installed = true;
        }
    } else if (m_installed) {
        RemoveTrayIcon(m_window, m_iconId);
        m_window->removeEventFilter(this);
        m_installed = false;
    }
    m_visible = visible;
    Q_EMIT TrayVisibleChanged();
}

void Vandrillo::setTrayIcon(const Vandril::PictureRef &picture)
{
    if (!isIconPicture(picture))
        return;
    if (m_installed) {
        NotifyIconData data;
        data.hWnd = m_window;
        data.uID = quint32(m_iconId);
        data.uFlags = NotifyIconData::IconFlag;
        data.hIcon = picture->image();
        m_services.shell->modify(data);
    }
    m_icon = picture;
    Q_EMIT TrayIconChanged();
}

void Vandrillo::setTrayTip(const QString &tip)
{
    if (m_installed) {
        NotifyIconData data;
        data.hWnd = m_window;
        data.uID = quint32(m_iconId);
        data.uFlags = NotifyIconData::TipFlag;
        data.szTip = NotifyIconData::tipField(tip);
        m_services.shell->modify(data);
    }
    m_tip = tip;
    Q_EMIT TrayTipChanged();
}

void Vandrillo::AddTrayIcon(QObject *window, int id, const QString &tip,
                            const Vandril::PictureRef &icon)
{
    NotifyIconData data;
    data.hWnd = window;
    data.uID = quint32(id);
    if (icon) {
        data.uFlags |= NotifyIconData::IconFlag;
        data.hIcon = icon->image();
        m_icon = icon;
    }
    if (!tip.isEmpty()) {
        data.uFlags |= NotifyIconData::TipFlag;
        data.szTip = NotifyIconData::tipField(tip);
        m_tip = tip;
    }
    data.uFlags |= NotifyIconData::MessageFlag;
    data.uCallbackMessage = NotifyIconData::TrayMessage;
    m_services.shell->add(data);
}

void Vandrillo::RemoveTrayIcon(QObject *window, int id)
{
    NotifyIconData data;
    data.hWnd = window;
    data.uID = quint32(id);
    m_services.shell->remove(data);
}

bool Vandrillo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window)
        return TrayWndProc(watched, event);
    return QWidget::eventFilter(watched, event);
}

bool Vandrillo::TrayWndProc(QObject *window, QEvent *event)
{
    Q_UNUSED(window);
    if (event->type() == WindowMessageEvent::EventType) {
        const auto *message = static_cast<const WindowMessageEvent *>(event);
        if (message->message() == NotifyIconData::TrayMessage) {
            // Readable by the handlers of the events raised for this message only.
            const QPoint outer = std::exchange(m_clickPos, message->pos());
            const QPointer<Vandrillo> self(this);
            RaiseTrayEvent(message->lParam(), int(message->wParam()));
            if (self)
                m_clickPos = outer;
        }
    }
    // Every message goes on to the window's own handling.
    return false;
}

void Vandrillo::RaiseTrayEvent(qintptr mouseMessage, int id)
{
    switch (mouseMessage) {
    case WM_MOUSEMOVE:
        Q_EMIT MouseMove(id);
        break;
    case WM_LBUTTONDOWN:
        Q_EMIT MouseDown(LeftButton, id);
        break;
    case WM_LBUTTONUP:
        Q_EMIT MouseUp(LeftButton, id);
        break;
    case WM_LBUTTONDBLCLK:
        Q_EMIT MouseDblClick(LeftButton, id);
        break;
    case WM_RBUTTONDOWN:
        Q_EMIT MouseDown(RightButton, id);
        break;
    case WM_RBUTTONUP:
        Q_EMIT MouseUp(RightButton, id);
        break;
    case WM_RBUTTONDBLCLK:
        Q_EMIT MouseDblClick(RightButton, id);
        break;
    default:
        break;
    }
}

void Vandrillo::ShowAboutBox()
{
    // Copied first: the host, and this control with it, may go away while the box is open.
    const auto runModal = m_services.runModal;
    const QPointer<frmAbout> box(new frmAbout(m_services.openUrl, this));
    runModal(*box);
    delete box.data();
}

void Vandrillo::InitProperties()
{
    setTrayVisible(false);
    setTrayTip(DefaultTip);
    setTrayIcon(imgVandrilloPicture());
}

void Vandrillo::ReadProperties(Vandril::PropertyBag *bag)
{
    if (!bag)
        return;
    setTrayVisible(bag->ReadProperty(KeyTrayVisible, false).toBool());
    const QVariant icon =
        bag->ReadProperty(KeyTrayIcon, QVariant::fromValue(imgVandrilloPicture()));
    setTrayIcon(icon.value<Vandril::PictureRef>());
    setTrayTip(bag->ReadProperty(KeyTrayTip, DefaultTip).toString());
}

void Vandrillo::WriteProperties(Vandril::PropertyBag *bag) const
{
    if (!bag)
        return;
    bag->WriteProperty(KeyTrayVisible, m_visible);
    bag->WriteProperty(KeyTrayIcon, QVariant::fromValue(m_icon));
    bag->WriteProperty(KeyTrayTip, m_tip);
}

QSize Vandrillo::sideSize() const
{
    const double twipsPerPixel = TwipsPerInch / logicalDpiX();
    const int side = int(std::lround(SideTwips / twipsPerPixel));
    return {side, side};
}

QSize Vandrillo::sizeHint() const
{
    return sideSize();
}

void Vandrillo::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const QSize side = sideSize();
    if (event->size() != side)
        setFixedSize(side);
}

void Vandrillo::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    const QRect surface = rect();

    // shaVandrillo: the shaded square the picture sits on.
    const QRect shape = surface.adjusted(3, 3, -3, -3);
    painter.fillRect(shape, palette().color(QPalette::Button));

    // linLinea: four lines framing the shape.
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(shape.topLeft(), shape.topRight());
    painter.drawLine(shape.topRight(), shape.bottomRight());
    painter.drawLine(shape.bottomRight(), shape.bottomLeft());
    painter.drawLine(shape.bottomLeft(), shape.topLeft());

    // imgVandrillo, centred.
    const QImage picture = VandrilloPictures::imgVandrillo();
    painter.drawImage(surface.center() - QPoint(picture.width() / 2, picture.height() / 2),
                      picture);

    // A raised, soft edge around the whole surface.
    qDrawShadePanel(&painter, surface, palette(), false, 1);
}
