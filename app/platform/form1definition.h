// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "vandrillointerface.h"

#include <QString>

// The main window's stored definition: the saved properties of the controls it hosts.
namespace Form1Definition {

// The saved properties of the control named `controlName` (e.g. "cVandril1"); empty when the
// definition has no such control.
Vandril::PropertyBag savedProperties(const QString &controlName);

} // namespace Form1Definition
