// SPDX-License-Identifier: GPL-3.0-or-later
#include "traycontrolhost.h"

#include "logcategories.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibrary>
#include <QMetaMethod>
#include <QVariant>
#include <QWidget>
#include <vector>

namespace {

const char *const TrayIconName = "TrayIcon";
const char *const TrayTipName = "TrayTip";
const char *const TrayVisibleName = "TrayVisible";
const char *const TrayClickPosName = "TrayClickPos";

bool namesVandrillo(const QJsonObject &metaData)
{
    return metaData.value(QStringLiteral("IID")).toString() ==
               QLatin1String(Vandril_VandrilloFactory_iid) &&
           metaData.value(QStringLiteral("MetaData"))
                   .toObject()
                   .value(QStringLiteral("ProgId"))
                   .toString() == QLatin1String(Vandril::ProgId);
}

// The libraries in the folders, in order, whose metadata says they provide the control.
std::vector<std::unique_ptr<QPluginLoader>> candidates(const QStringList &pluginDirs)
{
    std::vector<std::unique_ptr<QPluginLoader>> found;
    for (const QString &dirPath : pluginDirs) {
        const QDir dir(dirPath);
        for (const QString &fileName : dir.entryList(QDir::Files | QDir::Readable, QDir::Name)) {
            if (!QLibrary::isLibrary(fileName))
                continue;
            auto loader = std::make_unique<QPluginLoader>(dir.absoluteFilePath(fileName));
            if (namesVandrillo(loader->metaData()))
                found.push_back(std::move(loader));
        }
    }
    return found;
}

bool isIconPicture(const Vandril::PictureRef &picture)
{
    return picture && picture->type() == Vandril::Picture::Icon;
}

} // namespace

TrayControlHost::TrayControlHost(QWidget *hostWindow, const QStringList &pluginDirs,
                                 QObject *parent)
    : QObject(parent)
{
    const Vandril::PropertyBag saved = savedProperties();
    if (Vandril::VandrilloFactory *factory = findFactory(pluginDirs))
        createControl(*factory, hostWindow, saved);
    if (!isLoaded()) {
        qCWarning(lcTray) << "tray control not loaded:" << m_error;
        // Without the control, the host starts from the same saved values.
        m_visible = saved.ReadProperty(QString::fromLatin1(TrayVisibleName), false).toBool();
        m_tip = saved.ReadProperty(QString::fromLatin1(TrayTipName), QStringLiteral("Vandrillo"))
                    .toString();
        setTrayIcon(
            saved.ReadProperty(QString::fromLatin1(TrayIconName)).value<Vandril::PictureRef>());
    }
}

TrayControlHost::~TrayControlHost()
{
    // The control asks this object for the ambient user mode, so it goes first; ending it
    // removes its icon. The plugin stays loaded: its code may still be on the stack.
    delete m_control.data();
}

Vandril::PropertyBag TrayControlHost::savedProperties()
{
    Vandril::PropertyBag bag;
    QFile file(QStringLiteral(":/tray/cvandril1.json"));
    if (!file.open(QIODevice::ReadOnly))
        return bag;
    const QJsonObject saved = QJsonDocument::fromJson(file.readAll()).object();
    for (auto it = saved.begin(); it != saved.end(); ++it) {
        // A null value is a picture property saved as no picture.
        if (it.value().isNull())
            bag.WriteProperty(it.key(), QVariant::fromValue(Vandril::PictureRef()));
        else
            bag.WriteProperty(it.key(), it.value().toVariant());
    }
    return bag;
}

QStringList TrayControlHost::defaultPluginDirs()
{
    QStringList dirs;
    const QString fromEnvironment = qEnvironmentVariable("SCRIVEL_PLUGIN_DIR");
    if (!fromEnvironment.isEmpty())
        dirs.append(fromEnvironment);
    const QString programDir = QCoreApplication::applicationDirPath();
    dirs.append(programDir);
    dirs.append(QDir::cleanPath(
        QDir(programDir).absoluteFilePath(QStringLiteral(SCRIVEL_PLUGIN_RELATIVE_DIR))));
    return dirs;
}

Vandril::VandrilloFactory *TrayControlHost::findFactory(const QStringList &pluginDirs)
{
    QString firstFailure;
    for (std::unique_ptr<QPluginLoader> &loader : candidates(pluginDirs)) {
        QObject *instance = loader->instance();
        if (auto *factory = qobject_cast<Vandril::VandrilloFactory *>(instance)) {
            m_loader = std::move(loader);
            return factory;
        }
        // Another copy further on may still load; the first failure is the one reported.
        if (firstFailure.isEmpty())
            firstFailure =
                instance ? QStringLiteral("%1 does not provide %2")
                               .arg(loader->fileName(), QLatin1String(Vandril_VandrilloFactory_iid))
                         : loader->errorString();
    }
    m_error = !firstFailure.isEmpty()
                  ? firstFailure
                  : QStringLiteral("%1 not found in %2")
                        .arg(QLatin1String(Vandril::ProgId),
                             pluginDirs.isEmpty() ? QStringLiteral("(no folder)")
                                                  : pluginDirs.join(QStringLiteral(", ")));
    return nullptr;
}

void TrayControlHost::createControl(Vandril::VandrilloFactory &factory, QWidget *hostWindow,
                                    const Vandril::PropertyBag &saved)
{
    m_control = factory.createControl(hostWindow, this, &saved);
    if (!m_control) {
        m_error = QStringLiteral("%1 created no control").arg(m_loader->fileName());
        return;
    }
    m_control->setObjectName(QStringLiteral("cVandril1"));
    // The control has nothing to show on a running window; it only owns the tray icon.
    m_control->hide();
    const bool connected = connectEvent("MouseMove", "relayMouseMove(int)") &&
                           connectEvent("MouseDown", "relayMouseDown(short,int)") &&
                           connectEvent("MouseUp", "relayMouseUp(short,int)") &&
                           connectEvent("MouseDblClick", "relayMouseDblClick(short,int)");
    if (!connected) {
        m_error = QStringLiteral("%1: the control's events do not match").arg(m_loader->fileName());
        delete m_control.data();
    }
}

bool TrayControlHost::connectEvent(const char *name, const char *relaySlot)
{
    const QMetaObject *controlMeta = m_control->metaObject();
    for (int i = controlMeta->methodOffset(); i < controlMeta->methodCount(); ++i) {
        const QMetaMethod signal = controlMeta->method(i);
        if (signal.methodType() != QMetaMethod::Signal || signal.name() != name)
            continue;
        const QMetaMethod relay = metaObject()->method(metaObject()->indexOfSlot(relaySlot));
        return bool(connect(m_control, signal, this, relay));
    }
    return false;
}

bool TrayControlHost::ambientUserMode() const
{
    return true;
}

bool TrayControlHost::isLoaded() const
{
    return !m_control.isNull();
}

QString TrayControlHost::errorString() const
{
    return isLoaded() ? QString() : m_error;
}

QWidget *TrayControlHost::control() const
{
    return m_control;
}

void TrayControlHost::setTrayIcon(const Vandril::PictureRef &picture)
{
    if (m_control)
        m_control->setProperty(TrayIconName, QVariant::fromValue(picture));
    else if (isIconPicture(picture))
        m_icon = picture;
}

Vandril::PictureRef TrayControlHost::trayIcon() const
{
    if (m_control)
        return m_control->property(TrayIconName).value<Vandril::PictureRef>();
    return m_icon;
}

void TrayControlHost::setTrayTip(const QString &tip)
{
    if (m_control)
        m_control->setProperty(TrayTipName, tip);
    else
        m_tip = tip;
}

QString TrayControlHost::trayTip() const
{
    if (m_control)
        return m_control->property(TrayTipName).toString();
    return m_tip;
}

void TrayControlHost::setTrayVisible(bool visible)
{
    if (m_control)
        m_control->setProperty(TrayVisibleName, visible);
    else
        m_visible = visible;
}

bool TrayControlHost::trayVisible() const
{
    if (m_control)
        return m_control->property(TrayVisibleName).toBool();
    return m_visible;
}

QPoint TrayControlHost::trayClickPos() const
{
    return m_control ? m_control->property(TrayClickPosName).toPoint() : QPoint();
}

void TrayControlHost::ShowAboutBox()
{
    if (m_control)
        QMetaObject::invokeMethod(m_control, "ShowAboutBox");
}

void TrayControlHost::relayMouseMove(int Id)
{
    Q_EMIT MouseMove(Id);
}

void TrayControlHost::relayMouseDown(short Button, int Id)
{
    Q_EMIT MouseDown(Button, Id);
}

void TrayControlHost::relayMouseUp(short Button, int Id)
{
    Q_EMIT MouseUp(Button, Id);
}

void TrayControlHost::relayMouseDblClick(short Button, int Id)
{
    Q_EMIT MouseDblClick(Button, Id);
}
