// SPDX-License-Identifier: GPL-3.0-or-later
#include "vandrilloplugin.h"

#include "vandrillo.h"

QWidget *VandrilloPlugin::createControl(QWidget *parent, Vandril::HostSite *site,
                                        const Vandril::PropertyBag *saved)
{
    return Vandrillo::create(parent, site, saved);
}
