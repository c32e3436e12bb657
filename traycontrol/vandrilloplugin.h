// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "vandrillointerface.h"

#include <QObject>

/// The plugin's entry point: creates Vandrillo controls for their hosts.
class VandrilloPlugin : public QObject, public Vandril::VandrilloFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID Vandril_VandrilloFactory_iid FILE "vandrillo.json")
    Q_INTERFACES(Vandril::VandrilloFactory)
public:
    QWidget *createControl(QWidget *parent, Vandril::HostSite *site,
                           const Vandril::PropertyBag *saved = nullptr) override;
};
