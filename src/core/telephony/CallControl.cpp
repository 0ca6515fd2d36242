#include "core/telephony/CallControl.h"

#include "core/common/Clock.h"
#include "core/common/ProgramState.h"
#include "core/common/Seams.h"
#include "core/telephony/ClockWait.h"
#include "core/telephony/IncomingCalls.h"
#include "core/telephony/LineSession.h"
#include "settings/OptionsStore.h"

#include <utility>

namespace telvaro {
namespace {

void placeCall(const QString& firstPiece);

// The moment a request from another program gets before its call: the
// piece to dial waits here while the event loop runs on.
struct RequestMoment
{
    ClockWait wait;
    QString firstPiece;
    RequestMoment()
    {
        QObject::connect(&wait, &ClockWait::finished, &wait, [this] {
            const QString piece = std::exchange(firstPiece, QString());
            if (outgoingCall().stopRequested) {
                // Hung up before the call was placed: it never is, and
                // waiting requests go on.
                outgoingCall().requestInProgress = false;
                callSeam(seams().processCallRequest);
                return;
            }
            placeCall(piece);
        });
    }
};

RequestMoment& requestMoment()
{
    // Lives as long as the program (a timer outlives no event loop it needs).
    static auto* moment = new RequestMoment;
    return *moment;
}

LineCallParams callParams()
{
    LineCallParams p;
    p.mediaMode = options().isSelected(OptionsStore::optMode2) ? LINEMEDIAMODE_INTERACTIVEVOICE
                                                               : LINEMEDIAMODE_DATAMODEM;
    p.callParamFlags = LINECALLPARAMFLAGS_IDLE;
    if (options().isChecked(OptionsStore::chkBlockID))
        p.callParamFlags |= LINECALLPARAMFLAGS_BLOCKID;
    return p;
}

} // namespace

void MakeCall(const QString& firstPiece)
{
    TelephonySession& t = telephony();
    Q_EMIT outgoingCall().progressWanted();
    // A request from another program gets a moment before its call; its
    // redials and every later call do not.
    const bool moment = t.requestTaken && !outgoingCall().busyDetected;
    t.requestTaken = false;
    if (moment) {
        requestMoment().firstPiece = firstPiece;
        requestMoment().wait.start(1.0);
        return;
    }
    placeCall(firstPiece);
}

namespace {

void placeCall(const QString& firstPiece)
{
    TelephonySession& t = telephony();
    const LineCallParams params = callParams();
    const LineResult r = lineMakeCall(t.lineHandle, &t.callHandle, firstPiece, 0, &params);
    t.lastResult = r;
    if (r <= 0) {
        outgoingCall().setError(CallOutcome::ModemSilent);
        ReportCallError();
    } else {
        t.makeCallRequestId = r;
        outgoingCall().placed = true;
    }
}

} // namespace

void resetCallControl()
{
    requestMoment().wait.stop();
    requestMoment().firstPiece.clear();
}

void DialNextPart()
{
    TelephonySession& t = telephony();
    const QString piece = outgoingCall().takeNextPiece();
    const LineResult r = lineDial(t.callHandle, piece, 0);
    t.lastResult = r;
    t.makeCallRequestId = r;
}

void DropCall()
{
    TelephonySession& t = telephony();
    if (t.callHandle == 0)
        return;
    const LineResult r = lineDrop(t.callHandle);
    t.lastResult = r;
    if (r > 0) {
        t.dropRequestId = r;
        t.dropCompleted = false;
    } else if (r < 0) {
        Q_EMIT outgoingCall().dropRefused();
    }
    outgoingCall().requestInProgress = false;
    outgoingCall().placed = false;
}

void ReleaseCall(HCALL& call)
{
    if (call != 0) {
        telephony().lastResult = lineDeallocateCall(call);
        call = 0;
    }
    if (outgoingCall().displayShown && !outgoingCall().busyDetected)
        callSeam(seams().closeCallDisplay);
    state().externalNumber.clear();
}

void ReportCallError()
{
    DropCall();
    outgoingCall().setState(CallState::Failed);
    outgoingCall().end(outgoingCall().error());
    const CallErrorText e = callErrorText(outgoingCall().error());
    if (!e.frameCaption.isNull())
        Q_EMIT outgoingCall().failed(e.frameCaption, e.text);
    else
        Q_EMIT outgoingCall().progressWanted();
    ReleaseCall(telephony().callHandle);
}

void LineCallback(quint32 hDevice, quint32 dwMsg, quintptr dwCallbackInstance, quintptr dwParam1,
                  quintptr dwParam2, quintptr dwParam3)
{
    Q_UNUSED(dwCallbackInstance);
    Q_UNUSED(dwParam3);
    TelephonySession& t = telephony();

    switch (dwMsg) {
    case LINE_CALLINFO:
        if (quint32(dwParam1) & LINECALLINFOSTATE_CALLERID) {
            t.eventCall = hDevice;
            callSeam(seams().logIncomingCall);
        }
        return;

    case LINE_CALLSTATE: {
        t.eventCall = hDevice;
        // Each event is about its own call: the outgoing call's flags follow
        // only its events, and a call offered meanwhile never takes its place.
        const bool outgoing = hDevice != 0 && hDevice == t.callHandle;
        if (outgoing)
            outgoingCall().idleSeen = false;
        const quint32 callState = quint32(dwParam1);
        const quint32 mode = quint32(dwParam2);
        if (!outgoing && callState != LINECALLSTATE_IDLE && callState != LINECALLSTATE_OFFERING)
            return;
        switch (callState) {
        case LINECALLSTATE_IDLE: {
            IncomingCallEnded(hDevice);
            HCALL other = hDevice;
            if (outgoing) {
                outgoingCall().idleSeen = true;
                outgoingCall().setState(CallState::Idle);
            }
            ReleaseCall(outgoing ? t.callHandle : other);
            // A redial pending after busy keeps waiting requests waiting.
            if (!(outgoingCall().busyDetected && !outgoingCall().stopRequested))
                callSeam(seams().processCallRequest);
            return;
        }
        case LINECALLSTATE_OFFERING:
            callSeam(seams().logIncomingCall);
            if (options().isChecked(OptionsStore::chkCallDisplay)) {
                outgoingCall().displayShown = true;
                callSeam(seams().showCallDisplay);
            }
            return;
        case LINECALLSTATE_DIALTONE:
            outgoingCall().dialToneSeen = true;
            return;
        case LINECALLSTATE_DIALING:
            outgoingCall().busyDetected = false;
            outgoingCall().setState(CallState::Dialing);
            t.dialingSeen = true;
            if (outgoingCall().placed && outgoingCall().error() != CallOutcome::LineInUse)
                Q_EMIT outgoingCall().progressWanted();
            return;
        case LINECALLSTATE_PROCEEDING:
            outgoingCall().setState(CallState::Proceeding);
            if (outgoingCall().placed)
                Q_EMIT outgoingCall().proceeding();
            return;
        case LINECALLSTATE_DISCONNECTED:
            outgoingCall().setState(CallState::Disconnected);
            if (outgoingCall().placed && mode == LINEDISCONNECTMODE_NODIALTONE) {
                outgoingCall().setError(CallOutcome::NoDialTone);
                ReportCallError();
                return;
            }
            // The modem failed under the call (it stopped answering, sent
            // garbage or went away), or the line knows the number was wrong:
            // the user is told, not left waiting for a connection that
            // cannot come.
            if (outgoingCall().placed && !outgoingCall().stopRequested &&
                (mode == LINEDISCONNECTMODE_UNAVAIL || mode == LINEDISCONNECTMODE_BADADDRESS)) {
                outgoingCall().setError(CallOutcome::CallFailed);
                ReportCallError();
                return;
            }
            if (outgoingCall().placed && !outgoingCall().stopRequested &&
                mode == LINEDISCONNECTMODE_BUSY) {
                outgoingCall().busyDetected = true;
                outgoingCall().setState(CallState::Busy);
                DropCall();
                outgoingCall().placed = false;
                outgoingCall().requestInProgress = false;
                return;
            }
            // The call ended before it was declared connected: the user
            // sees how, and it is never taken for a connection. (A data
            // call's modem ends it in its own time after that; the user's
            // OK still takes it.)
            if (outgoingCall().placed && !outgoingCall().stopRequested &&
                !outgoingCall().connectedShown) {
                outgoingCall().setError(mode == LINEDISCONNECTMODE_NOANSWER ? CallOutcome::NoAnswer
                                        : mode == LINEDISCONNECTMODE_NORMAL
                                            ? CallOutcome::NoCarrier
                                            : CallOutcome::CallFailed);
                ReportCallError();
                return;
            }
            outgoingCall().placed = false;
            outgoingCall().requestInProgress = false;
            return;
        default:
            return; // ringback, busy, special info, connected and the rest
        }
    }

    case LINE_REPLY: {
        const LineResult result = LineResult(quint32(dwParam2));
        const LineResult request = LineResult(quint32(dwParam1));
        if (outgoingCall().placed && result == LINEERR_CALLUNAVAIL) {
            outgoingCall().setError(CallOutcome::LineInUse);
            ReportCallError();
        } else if (outgoingCall().placed && result == LINEERR_OPERATIONFAILED) {
            outgoingCall().setError(CallOutcome::CallFailed);
            ReportCallError();
        } else if (request == t.makeCallRequestId) {
            outgoingCall().setError(CallOutcome::None);
            t.makeCallRequestId = 0;
            if (outgoingCall().piecesLeft() > 1)
                DialNextPart();
        } else if (request == t.dropRequestId) {
            t.dropRequestId = 0;
            t.dropCompleted = true;
            if (outgoingCall().busyDetected)
                Q_EMIT outgoingCall().busyDropped();
        }
        return;
    }

    case LINE_REQUEST:
        t.requestSignalled = true;
        callSeam(seams().processCallRequest);
        return;

    default:
        return;
    }
}

} // namespace telvaro
