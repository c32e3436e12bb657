// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

/// The computer's memory figures, in bytes.
struct MemoryFigures
{
    qint64 totalPhysical = 0;
    qint64 availablePhysical = 0;
    /// Memory that can still be committed (swap included); never negative.
    qint64 availablePageFile = 0;
};

/// The computer's memory as the program sees it, so that tests can feed
/// their own figures.
class MemoryStatus
{
public:
    virtual ~MemoryStatus() = default;
    virtual MemoryFigures read() = 0;
    /// Hands memory this process has freed back to the system, where the
    /// allocator keeps it otherwise.
    virtual void releaseFreedMemory() {}
};
