// SPDX-License-Identifier: GPL-3.0-or-later
// Call control of the line service: places, continues, drops and releases
// the outgoing call, handles every line event, and reports telephony errors
// through the call.
#include "core/telephony/LineService.h"

#include "settings/OptionsStore.h"

#include <utility>

namespace telvaro {

LineCallParams LineService::callParams()
{
    LineCallParams p;
    p.mediaMode = options().isSelected(OptionsStore::optMode2) ? LINEMEDIAMODE_INTERACTIVEVOICE
                                                               : LINEMEDIAMODE_DATAMODEM;
    p.callParamFlags = LINECALLPARAMFLAGS_IDLE;
    if (options().isChecked(OptionsStore::chkBlockID))
        p.callParamFlags |= LINECALLPARAMFLAGS_BLOCKID;
    // A call that conceals the caller's identity dials the current
    // location's code first.
    if (m_blockCodes)
        p.blockCallerIdCode = m_blockCodes->blockCallerIdCode();
    return p;
}

void LineService::makeCall(const QString& firstPiece)
{
    TelephonySession& t = m_session;
    Q_EMIT m_call.progressWanted();
    // A request from another program gets a moment before its call; its
    // redials and every later call do not.
    const bool moment = t.requestTaken && !m_call.busyDetected;
    t.requestTaken = false;
    if (moment) {
        m_momentPiece = firstPiece;
        m_requestMoment.start(1.0);
        return;
    }
    placeCall(firstPiece);
}

void LineService::placeCall(const QString& firstPiece)
{
    TelephonySession& t = m_session;
    const LineCallParams params = callParams();
    const LineResult r = lineMakeCall(t.lineHandle, &t.callHandle, firstPiece, 0, &params);
    t.lastResult = r;
    if (r <= 0) {
        m_call.setError(CallOutcome::ModemSilent);
        reportCallError();
    } else {
        t.makeCallRequestId = r;
        m_call.placed = true;
    }
}

void LineService::dialNextPart()
{
    TelephonySession& t = m_session;
    const QString piece = m_call.takeNextPiece();
    const LineResult r = lineDial(t.callHandle, piece, 0);
    t.lastResult = r;
    t.makeCallRequestId = r;
}

void LineService::dropCall()
{
    TelephonySession& t = m_session;
    if (t.callHandle == 0)
        return;
    const LineResult r = lineDrop(t.callHandle);
    t.lastResult = r;
    if (r > 0) {
        t.dropRequestId = r;
        t.dropCompleted = false;
    } else if (r < 0) {
        Q_EMIT m_call.dropRefused();
    }
    m_call.requestInProgress = false;
    m_call.placed = false;
}

// Lets go of a call handle and clears it; the caller display closes when it
// belongs to this call.
void LineService::releaseCall(HCALL& call)
{
    if (call != 0) {
        m_session.lastResult = lineDeallocateCall(call);
        call = 0;
    }
    if (m_call.displayShown && !m_call.busyDetected)
        Q_EMIT callDisplayMayClose();
}

// Drops the call and reports the error the call ended in.
void LineService::reportCallError()
{
    dropCall();
    m_call.setState(CallState::Failed);
    m_call.end(m_call.error());
    const CallErrorText e = callErrorText(m_call.error());
    if (!e.frameCaption.isNull())
        Q_EMIT m_call.failed(e.frameCaption, e.text);
    else
        Q_EMIT m_call.progressWanted();
    releaseCall(m_session.callHandle);
}

void LineService::lineEvent(quint32 hDevice, quint32 dwMsg, quintptr dwParam1, quintptr dwParam2)
{
    TelephonySession& t = m_session;

    switch (dwMsg) {
    case LINE_CALLINFO:
        if (quint32(dwParam1) & LINECALLINFOSTATE_CALLERID) {
            logIncomingCall(hDevice);
            Q_EMIT callerIdentified(hDevice);
        }
        return;

    case LINE_CALLSTATE: {
        // Each event is about its own call: the outgoing call's flags follow
        // only its events, and a call offered meanwhile never takes its place.
        const bool outgoing = hDevice != 0 && hDevice == t.callHandle;
        if (outgoing)
            m_call.idleSeen = false;
        const quint32 callState = quint32(dwParam1);
        const quint32 mode = quint32(dwParam2);
        if (!outgoing && callState != LINECALLSTATE_IDLE && callState != LINECALLSTATE_OFFERING)
            return;
        switch (callState) {
        case LINECALLSTATE_IDLE: {
            incomingCallEnded(hDevice);
            HCALL other = hDevice;
            if (outgoing) {
                m_call.idleSeen = true;
                m_call.setState(CallState::Idle);
            }
            releaseCall(outgoing ? t.callHandle : other);
            // A redial pending after busy keeps waiting requests waiting.
            if (!(m_call.busyDetected && !m_call.stopRequested))
                Q_EMIT requestsMayProceed();
            return;
        }
        case LINECALLSTATE_OFFERING:
            logIncomingCall(hDevice);
            Q_EMIT callerIdentified(hDevice);
            if (options().isChecked(OptionsStore::chkCallDisplay)) {
                m_call.displayShown = true;
                Q_EMIT callOffered(hDevice);
            }
            return;
        case LINECALLSTATE_DIALTONE:
            m_call.dialToneSeen = true;
            return;
        case LINECALLSTATE_DIALING:
            m_call.busyDetected = false;
            m_call.setState(CallState::Dialing);
            t.dialingSeen = true;
            if (m_call.placed && m_call.error() != CallOutcome::LineInUse)
                Q_EMIT m_call.progressWanted();
            return;
        case LINECALLSTATE_PROCEEDING:
            m_call.setState(CallState::Proceeding);
            if (m_call.placed)
                Q_EMIT m_call.proceeding();
            return;
        case LINECALLSTATE_DISCONNECTED:
            m_call.setState(CallState::Disconnected);
            if (m_call.placed && mode == LINEDISCONNECTMODE_NODIALTONE) {
                m_call.setError(CallOutcome::NoDialTone);
                reportCallError();
                return;
            }
            // The modem failed under the call (it stopped answering, sent
            // garbage or went away), or the line knows the number was wrong:
            // the user is told, not left waiting for a connection that
            // cannot come.
            if (m_call.placed && !m_call.stopRequested &&
                (mode == LINEDISCONNECTMODE_UNAVAIL || mode == LINEDISCONNECTMODE_BADADDRESS)) {
                m_call.setError(CallOutcome::CallFailed);
                reportCallError();
                return;
            }
            if (m_call.placed && !m_call.stopRequested && mode == LINEDISCONNECTMODE_BUSY) {
                m_call.busyDetected = true;
                m_call.setState(CallState::Busy);
                dropCall();
                m_call.placed = false;
                m_call.requestInProgress = false;
                return;
            }
            // The call ended before it was declared connected: the user
            // sees how, and it is never taken for a connection. (A data
            // call's modem ends it in its own time after that; the user's
            // OK still takes it.)
            if (m_call.placed && !m_call.stopRequested && !m_call.connectedShown) {
                m_call.setError(mode == LINEDISCONNECTMODE_NOANSWER ? CallOutcome::NoAnswer
                                : mode == LINEDISCONNECTMODE_NORMAL ? CallOutcome::NoCarrier
                                                                    : CallOutcome::CallFailed);
                reportCallError();
                return;
            }
            m_call.placed = false;
            m_call.requestInProgress = false;
            return;
        default:
            return; // ringback, busy, special info, connected and the rest
        }
    }

    case LINE_REPLY: {
        const LineResult result = LineResult(quint32(dwParam2));
        const LineResult request = LineResult(quint32(dwParam1));
        if (m_call.placed && result == LINEERR_CALLUNAVAIL) {
            m_call.setError(CallOutcome::LineInUse);
            reportCallError();
        } else if (m_call.placed && result == LINEERR_OPERATIONFAILED) {
            m_call.setError(CallOutcome::CallFailed);
            reportCallError();
        } else if (request == t.makeCallRequestId) {
            m_call.setError(CallOutcome::None);
            t.makeCallRequestId = 0;
            if (m_call.piecesLeft() > 1)
                dialNextPart();
        } else if (request == t.dropRequestId) {
            t.dropRequestId = 0;
            t.dropCompleted = true;
            if (m_call.busyDetected)
                Q_EMIT m_call.busyDropped();
        }
        return;
    }

    case LINE_REQUEST:
        t.requestSignalled = true;
        Q_EMIT requestsMayProceed();
        return;

    default:
        return;
    }
}

} // namespace telvaro
