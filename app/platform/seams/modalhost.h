// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QDialog;

// Runs modal windows, so that tests can drive them without a nested loop.
class ModalHost
{
public:
    virtual ~ModalHost() = default;
    // Shows the dialog modally and returns its result code.
    virtual int showModal(QDialog &dialog) = 0;
};
