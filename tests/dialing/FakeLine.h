#pragma once

#include "core/common/ProgramState.h"
#include "core/common/Seams.h"
#include "core/dialing/Dialer.h"
#include "core/telephony/Call.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

namespace telvaro::test {

// Stands in for the line layer's call control: every call is shown, goes to
// "proceeding" at once and, for the first `busyCalls` calls, reports a busy
// disconnection `busyAfterMs` later; the drop's reply starts HandleBusy, all
// through the event loop as the real line events arrive.
class FakeLine : public QObject
{
public:
    QStringList calls;
    int drops = 0;
    int requestsServed = 0;
    QStringList memos;
    int busyCalls = 0;
    int busyAfterMs = 50;
    bool reportsDialing = true; // the dialing state clears BusyDetected

    FakeLine()
    {
        Seams& s = seams();
        s.makeCall = [this](const QString& piece) { makeCall(piece); };
        s.dropCall = [this] { dropCall(); };
        s.processCallRequest = [this] { ++requestsServed; };
        connect(&dialer(), &Dialer::memoRequested, this,
                [this](const QString& key) { memos.append(key); });
    }

private:
    void makeCall(const QString& piece)
    {
        dialer().showConnectWindow();
        calls.append(piece);
        outgoingCall().placed = true;
        const bool busy = calls.size() <= busyCalls;
        QTimer::singleShot(0, this, [this, busy] {
            if (reportsDialing)
                outgoingCall().busyDetected = false; // the dialing state
            if (busy)
                QTimer::singleShot(busyAfterMs, this, [this] { disconnectedBusy(); });
            if (outgoingCall().placed)
                dialer().handleConnected(); // the proceeding state
        });
    }
    void disconnectedBusy()
    {
        if (outgoingCall().placed && !outgoingCall().stopRequested) {
            outgoingCall().busyDetected = true;
            dropCall();
            QTimer::singleShot(5, this, [] {
                if (outgoingCall().busyDetected)
                    dialer().handleBusy();
            });
        }
        outgoingCall().placed = false;
    }
    void dropCall()
    {
        ++drops;
        outgoingCall().placed = false;
    }
};

} // namespace telvaro::test
