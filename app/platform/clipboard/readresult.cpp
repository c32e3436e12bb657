// SPDX-License-Identifier: GPL-3.0-or-later
#include "readresult.h"

const char *ReadResult::failureReason() const
{
    switch (outcome) {
    case ReadOutcome::Refused:
        return "the owner refused every text type";
    case ReadOutcome::TooLarge:
        return "the text is larger than the limit";
    case ReadOutcome::TimedOut:
        return "the owner did not answer in time";
    case ReadOutcome::NoDisplay:
        return "the display server cannot be reached";
    case ReadOutcome::Text:
    case ReadOutcome::NoOwner:
    case ReadOutcome::NoText:
    case ReadOutcome::Secret:
    case ReadOutcome::Cancelled:
        break;
    }
    return nullptr;
}
