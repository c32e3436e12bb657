// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "modalhost.h"

class QtModalHost : public ModalHost
{
public:
    int showModal(QDialog &dialog) override;
};
