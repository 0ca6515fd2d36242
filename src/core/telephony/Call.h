// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/common/CallOutcome.h"
#include "core/common/DialRequest.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace telvaro {

// Where an outgoing call stands, as its line events tell it.
enum class CallState {
    Idle,         // no call, or the line let go of it
    Dialing,      // placed; the line is dialing
    Proceeding,   // dialed; the connection wait runs
    Connected,    // declared connected: the user may take it
    Busy,         // the line reported busy
    Disconnected, // ended by the other side or the line
    Failed,       // the line or the modem refused it
};

// The caption and text the call progress window shows for an outcome that
// is an error; a null text for the others.
struct CallErrorText
{
    QString frameCaption;
    QString text;
};
CallErrorText callErrorText(CallOutcome outcome);

// The outgoing call: what was asked for (the request), what the line dials
// (the dial string in its pieces) and shows (the display number), and the
// call's own flags. One call at a time; a new dial starts it afresh.
class Call : public QObject
{
    Q_OBJECT

public:
    Call() = default;

    const DialRequest& request() const { return m_request; }
    const QString& dialString() const { return m_dialString; }
    const QString& displayNumber() const { return m_displayNumber; }
    CallState state() const { return m_state; }
    CallOutcome error() const { return m_error; }

    // A new dial: the request, its dial string and the number shown; the
    // pieces of the dial string, the first for the call itself.
    void start(const DialRequest& request, const QString& dialString, const QString& displayNumber,
               const QStringList& pieces);
    // The piece lineDial sends next (null when none is left), and marks it sent.
    QString takeNextPiece();
    // The pieces not yet answered, the first included.
    int piecesLeft() const { return m_piecesLeft; }
    void setState(CallState state);
    // The error the call ended in (None: no error).
    void setError(CallOutcome error) { m_error = error; }
    // The call is over: `ended` goes out once per call.
    void end(CallOutcome outcome);

    // Flags the line events and the user's clicks set.
    bool placed = false;            // lineMakeCall was accepted
    bool busyDetected = false;      // the line reported busy for this attempt
    bool stopRequested = false;     // hung up (or taken) by the user
    bool idleSeen = false;          // the line let go of the call
    bool dialToneSeen = false;      // the modem heard a dial tone
    bool requestInProgress = false; // the call is for another program's request
    bool displayShown = false;      // the caller display opened during this call
    // The dialer's connection wait is over for this attempt (the call was
    // declared connected, or would have been): an end now is no error.
    bool connectedShown = false;

    // Back to no call (tests, a fresh session).
    void reset();

Q_SIGNALS:
    void stateChanged(CallState state);
    void ended(CallOutcome outcome);
    // What the user is to see of the call, as the line tells it: the call
    // progress window, the line proceeding (the connection wait begins), the
    // line let go of a busy call (busy handling begins), an error.
    void progressWanted();
    void proceeding();
    void busyDropped();
    void failed(const QString& frameCaption, const QString& text);
    // The line refused to drop the call.
    void dropRefused();

private:
    DialRequest m_request;
    QString m_dialString;
    QString m_displayNumber;
    QStringList m_pieces;
    int m_nextPiece = 0;
    int m_piecesLeft = 0;
    CallState m_state = CallState::Idle;
    CallOutcome m_error = CallOutcome::None;
    bool m_ended = true;
};

} // namespace telvaro
