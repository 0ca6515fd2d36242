// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/dialing/Dialer.h"
#include "core/telephony/Call.h"
#include "core/telephony/LineService.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace telvaro::test {

// Stands in for the line's call control: every call shows the call window,
// goes to "proceeding" at once and, for the first `busyCalls` calls, reports
// a busy disconnection `busyAfterMs` later; the drop's reply starts the busy
// handling, all through the event loop as the real line events arrive.
class FakeLine : public QObject, public DialLine
{
public:
    QStringList calls;
    int drops = 0;
    QList<LineUse> opens;
    bool lineOpen = true;
    bool showsProgress = true; // the call window shows with each call
    bool answers = true;       // the call is placed and proceeds (else only recorded)
    int busyCalls = 0;
    int busyAfterMs = 50;
    bool reportsDialing = true; // the dialing state clears BusyDetected
    // What the dialer tells the rest of the program.
    int requestsServed = 0;
    QStringList memos;

    void watch(Dialer& dialer)
    {
        connect(&dialer, &Dialer::readyForRequests, this, [this] { ++requestsServed; });
        connect(&dialer, &Dialer::memoRequested, this,
                [this](const QString& key) { memos.append(key); });
    }

    Call& call() override { return m_call; }
    bool isOpen() const override { return lineOpen; }
    bool open(LineUse use) override
    {
        opens.append(use);
        return false;
    }
    void makeCall(const QString& piece) override
    {
        if (showsProgress)
            Q_EMIT m_call.progressWanted();
        calls.append(piece);
        if (!answers)
            return;
        m_call.placed = true;
        const bool busy = calls.size() <= busyCalls;
        QTimer::singleShot(0, this, [this, busy] {
            if (reportsDialing)
                m_call.busyDetected = false; // the dialing state
            if (busy)
                QTimer::singleShot(busyAfterMs, this, [this] { disconnectedBusy(); });
            if (m_call.placed)
                Q_EMIT m_call.proceeding();
        });
    }
    void dropCall() override
    {
        ++drops;
        m_call.placed = false;
    }

private:
    void disconnectedBusy()
    {
        if (m_call.placed && !m_call.stopRequested) {
            m_call.busyDetected = true;
            dropCall();
            QTimer::singleShot(5, this, [this] {
                if (m_call.busyDetected)
                    Q_EMIT m_call.busyDropped();
            });
        }
        m_call.placed = false;
    }

    Call m_call;
};

} // namespace telvaro::test
