// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// One logging category per layer that talks to the desktop. Silent by default;
// enable with QT_LOGGING_RULES, e.g. "scrivel.*.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcClipboard) // scrivel.clipboard: failed or refused reads
Q_DECLARE_LOGGING_CATEGORY(lcTray)      // scrivel.tray: the tray control and its host
Q_DECLARE_LOGGING_CATEGORY(lcSettings)  // scrivel.settings: the settings file
