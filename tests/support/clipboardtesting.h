// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard.h"
#include "readresult.h"

#include <QTest>
#include <chrono>

// What the clipboard readers' tests share.
namespace ClipboardTesting {

// Short deadlines keep the cases of owners that never answer quick.
inline ReadLimits shortLimits(qsizetype maxBytes = ClipText::kMaxBytes)
{
    using namespace std::chrono_literals;
    ReadLimits limits;
    limits.stepTimeout = 300ms;
    limits.totalTimeout = 20s;
    limits.maxBytes = maxBytes;
    return limits;
}

// Polls like the monitor's timer until the read in flight has ended.
inline Clipboard::Reading settle(Clipboard &clipboard, int timeoutMs = 10000)
{
    Clipboard::Reading reading = clipboard.poll();
    (void)QTest::qWaitFor(
        [&] {
            reading = clipboard.poll();
            return reading.status != Clipboard::Status::Pending;
        },
        timeoutMs);
    return reading;
}

} // namespace ClipboardTesting
