// SPDX-License-Identifier: GPL-3.0-or-later
#include "offerread.h"

#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace {

// The hint's value is a word; more is nonsense.
constexpr qsizetype kHintLimit = 64 * 1024;

} // namespace

OfferRead::OfferRead(const QList<QByteArray> &types, Receive receive, const ReadLimits &limits,
                     QObject *parent)
    : QObject(parent), m_offer(ClipText::readOffer(types)), m_receive(std::move(receive)),
      m_limits(limits)
{}

void OfferRead::start()
{
    if (!m_offer.hasPasswordHint) {
        readText();
        return;
    }
    if (transfer(ClipText::kPasswordHintType, kHintLimit))
        connect(m_pipe.get(), &PipeReader::finished, this, &OfferRead::hintArrived);
}

bool OfferRead::transfer(const QByteArray &type, qsizetype maxBytes)
{
    if (m_abandoned) {
        finish(ReadOutcome::Cancelled);
        return false;
    }
    // The previous transfer may be the one whose end brought us here.
    if (m_pipe)
        m_pipe.release()->deleteLater();
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        finish(ReadOutcome::Refused);
        return false;
    }
    const bool asked = m_receive(type, fds[1]);
    // The request took a copy of the writing end; only the source writes now.
    ::close(fds[1]);
    if (!asked) {
        ::close(fds[0]);
        finish(ReadOutcome::NoDisplay);
        return false;
    }
    m_pipe = std::make_unique<PipeReader>(fds[0], m_limits, maxBytes);
    return true;
}

void OfferRead::hintArrived(PipeReader::Outcome outcome)
{
    if (outcome == PipeReader::Outcome::TimedOut) {
        finish(ReadOutcome::TimedOut);
        return;
    }
    if (outcome == PipeReader::Outcome::Done && ClipText::isSecretHint(m_pipe->bytes().bytes())) {
        finish(ReadOutcome::Secret);
        return;
    }
    readText();
}

void OfferRead::readText()
{
    if (m_offer.textTypes.isEmpty()) {
        finish(ReadOutcome::NoText);
        return;
    }
    // No answer tells a source that refuses a type from one with an empty
    // text, so only the preferred type is asked for.
    if (transfer(m_offer.textTypes.first(), m_limits.maxBytes))
        connect(m_pipe.get(), &PipeReader::finished, this, &OfferRead::textArrived);
}

void OfferRead::textArrived(PipeReader::Outcome outcome)
{
    switch (outcome) {
    case PipeReader::Outcome::Done: {
        const QByteArray text = ClipText::decode(m_pipe->bytes().bytes(),
                                                 ClipText::encodingOf(m_offer.textTypes.first()));
        // Once decoded, a large text costs its own bytes and nothing more.
        m_pipe->clear();
        finish(ReadOutcome::Text, text);
        return;
    }
    case PipeReader::Outcome::TooLarge:
        finish(ReadOutcome::TooLarge);
        return;
    case PipeReader::Outcome::TimedOut:
        finish(ReadOutcome::TimedOut);
        return;
    }
}

void OfferRead::abandon()
{
    m_abandoned = true;
    if (m_pipe && !m_pipe->isFinished())
        m_pipe->readAvailable();
    if (!m_finished)
        finish(ReadOutcome::Cancelled);
}

void OfferRead::finish(ReadOutcome outcome, const QByteArray &text)
{
    if (m_finished)
        return;
    m_finished = true;
    emit finished({outcome, text});
}
