// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtmodalhost.h"

#include <QDialog>

int QtModalHost::showModal(QDialog &dialog)
{
    return dialog.exec();
}
