// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cliptext.h"

#include <QByteArray>
#include <chrono>

/// How long and how much a read of another program's clipboard may take.
struct ReadLimits
{
    /// For each answer of the owner: the first data, and every further piece
    /// of a transfer that comes in pieces.
    std::chrono::milliseconds stepTimeout{1000};
    /// For a whole read, however willing the owner.
    std::chrono::milliseconds totalTimeout{30000};
    /// Larger offers count as the empty text.
    qsizetype maxBytes = ClipText::kMaxBytes;
};

enum class ReadOutcome {
    Text,      // the owner gave a text (possibly empty)
    NoOwner,   // nobody owns the clipboard
    NoText,    // no text type on offer, or files (with their paths as text)
    Refused,   // the owner refused every text request
    Secret,    // offered with the password manager's "secret" hint
    TooLarge,  // the offer exceeds the size limit
    TimedOut,  // the owner missed a deadline
    Cancelled, // the clipboard changed, or its reader ended, during the read
    NoDisplay, // the display server cannot be reached
};

/// What one read of the clipboard brought.
struct ReadResult
{
    ReadOutcome outcome = ReadOutcome::NoDisplay;
    /// The clipboard's text, in UTF-8; empty unless outcome is Text.
    QByteArray text;

    /// True when the clipboard could not be read at all.
    bool failed() const
    {
        return outcome == ReadOutcome::TimedOut || outcome == ReadOutcome::NoDisplay ||
               outcome == ReadOutcome::Cancelled;
    }
    /// Why the read brought no text, for the log; null when there is nothing to tell.
    const char *failureReason() const;
};
