// SPDX-License-Identifier: GPL-3.0-or-later
#include "logcategories.h"

// Critical is the lowest level enabled by default: debug, info and warnings
// stay silent until QT_LOGGING_RULES asks for them.
Q_LOGGING_CATEGORY(lcClipboard, "scrivel.clipboard", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcTray, "scrivel.tray", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcSettings, "scrivel.settings", QtCriticalMsg)
