// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cliptext.h"
#include "pipereader.h"
#include "readresult.h"

#include <QObject>
#include <functional>
#include <memory>

/// Reads the text of one offer of the selection, as a list of types and a
/// way to ask its source for the data in one of them: first the password
/// hint when it is on offer, then the text in the preferred text type.
/// Never blocks the thread it lives on.
class OfferRead : public QObject
{
    Q_OBJECT
public:
    /// Asks the source to write the data in a type to fd (and closes nothing);
    /// false when the request cannot be made.
    using Receive = std::function<bool(const QByteArray &type, int fd)>;

    OfferRead(const QList<QByteArray> &types, Receive receive, const ReadLimits &limits,
              QObject *parent = nullptr);

    /// Starts the read; finished() may come from within.
    void start();
    /// The selection changed: a text that arrived whole is still the
    /// result, anything else ends as Cancelled. finished() comes from within.
    void abandon();

Q_SIGNALS:
    void finished(const ReadResult &result);

private:
    bool transfer(const QByteArray &type, qsizetype maxBytes);
    void hintArrived(PipeReader::Outcome outcome);
    void readText();
    void textArrived(PipeReader::Outcome outcome);
    void finish(ReadOutcome outcome, const QByteArray &text = {});

    ClipText::Offer m_offer;
    Receive m_receive;
    ReadLimits m_limits;
    std::unique_ptr<PipeReader> m_pipe;
    bool m_abandoned = false;
    bool m_finished = false;
};
