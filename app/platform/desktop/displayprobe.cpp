// SPDX-License-Identifier: GPL-3.0-or-later
#include "displayprobe.h"

#include <xcb/xcb.h>

namespace {

QString optionValue(const QStringList &arguments, const QString &option)
{
    const qsizetype at = arguments.indexOf(option);
    return at > 0 && at + 1 < arguments.size() ? arguments.at(at + 1) : QString();
}

// The platform Qt will choose: the argument, the environment, else its
// default, which is xcb except in a Wayland session.
bool windowsGoToX11(const QStringList &arguments)
{
    QString platform = optionValue(arguments, QStringLiteral("-platform"));
    if (platform.isEmpty())
        platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (platform.isEmpty())
        return qEnvironmentVariable("XDG_SESSION_TYPE") != QLatin1String("wayland");
    return platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("xcb:"));
}

} // namespace

QString DisplayProbe::problem(const QStringList &arguments)
{
    if (!windowsGoToX11(arguments))
        return {};
    QString name = optionValue(arguments, QStringLiteral("-display"));
    if (name.isEmpty())
        name = qEnvironmentVariable("DISPLAY");
    if (name.isEmpty())
        return QStringLiteral("nessun display: la variabile DISPLAY non è impostata");
    xcb_connection_t *connection = xcb_connect(name.toLocal8Bit().constData(), nullptr);
    const bool reached = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    if (reached)
        return {};
    return QStringLiteral("impossibile collegarsi al display «%1»").arg(name);
}
