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

std::function<void()> g_enableMainWindow;

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
            ProgramState& s = state();
            if (s.stopRequested) {
                // Hung up before the call was placed: it never is, and
                // waiting requests go on.
                s.requestInProgress = false;
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

void setMainWindowEnabler(std::function<void()> enable)
{
    g_enableMainWindow = std::move(enable);
}

CallErrorText callErrorText(int kind)
{
    const QString modemError = QStringLiteral("Modem error!");
    switch (kind) {
    case 1:
        return {modemError, QStringLiteral("The selected line is in use or it is not connected.")};
    case 2:
        return {modemError, QStringLiteral("No Dialtone")};
    case 3:
        return {modemError, QStringLiteral("Not able to make a call.")};
    case 4:
        return {QStringLiteral("Tapi: Error opening line!"),
                QStringLiteral("Modem may not be installed or it is misconfigured.\r\n"
                               "Please reinstall modem.")};
    case 5:
        return {modemError, QStringLiteral("Not able to make a call.\r\n"
                                           "Modem may not be turned on or it is misconfigured.")};
    case 6:
        return {QStringLiteral("No Answer"), QStringLiteral("The number did not answer.")};
    case 7:
        return {QStringLiteral("No Carrier"), QStringLiteral("The call ended (no carrier).")};
    default:
        return {};
    }
}

void MakeCall(const QString& firstPiece)
{
    ProgramState& s = state();
    TelephonySession& t = telephony();
    callSeam(seams().showConnectWindow);
    // A request from another program gets a moment before its call; its
    // redials and every later call do not.
    const bool moment = t.requestTaken && !s.busyDetected;
    t.requestTaken = false;
    s.nextDialPart = 0;
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
    ProgramState& s = state();
    TelephonySession& t = telephony();
    const LineCallParams params = callParams();
    const LineResult r = lineMakeCall(t.lineHandle, &t.callHandle, firstPiece, 0, &params);
    t.lastResult = r;
    if (r <= 0) {
        s.callErrorKind = 5;
        ReportCallError();
    } else {
        t.makeCallRequestId = r;
        s.callPlaced = true;
    }
    s.nextDialPart = 0;
}

} // namespace

void resetCallControl()
{
    requestMoment().wait.stop();
    requestMoment().firstPiece.clear();
}

void DialNextPart()
{
    ProgramState& s = state();
    TelephonySession& t = telephony();
    // dialParts[0] went with lineMakeCall; the next piece follows it.
    const int index = s.nextDialPart + 1;
    const QString piece = index < s.dialParts.size() ? s.dialParts.at(index) : QString();
    const LineResult r = lineDial(t.callHandle, piece, 0);
    t.lastResult = r;
    t.makeCallRequestId = r;
    s.nextDialPart += 1;
    s.dialPartsLeft -= 1;
}

void DropCall()
{
    ProgramState& s = state();
    TelephonySession& t = telephony();
    if (t.callHandle == 0)
        return;
    const LineResult r = lineDrop(t.callHandle);
    t.lastResult = r;
    if (r > 0) {
        t.dropRequestId = r;
        t.dropCompleted = false;
    } else if (r < 0 && g_enableMainWindow) {
        g_enableMainWindow();
    }
    s.requestInProgress = false;
    s.callPlaced = false;
}

void ReleaseCall(HCALL& call)
{
    ProgramState& s = state();
    if (call != 0) {
        telephony().lastResult = lineDeallocateCall(call);
        call = 0;
    }
    if (s.callDisplayShown && !s.busyDetected)
        callSeam(seams().closeCallDisplay);
    s.externalNumber.clear();
}

void ReportCallError()
{
    ProgramState& s = state();
    DropCall();
    const CallErrorText e = callErrorText(s.callErrorKind);
    if (!e.frameCaption.isNull())
        callSeam(seams().showCallError, e.frameCaption, e.text);
    else
        callSeam(seams().showConnectWindow);
    ReleaseCall(telephony().callHandle);
}

void LineCallback(quint32 hDevice, quint32 dwMsg, quintptr dwCallbackInstance, quintptr dwParam1,
                  quintptr dwParam2, quintptr dwParam3)
{
    Q_UNUSED(dwCallbackInstance);
    Q_UNUSED(dwParam3);
    ProgramState& s = state();
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
            s.idleSeen = false;
        const quint32 callState = quint32(dwParam1);
        const quint32 mode = quint32(dwParam2);
        if (!outgoing && callState != LINECALLSTATE_IDLE && callState != LINECALLSTATE_OFFERING)
            return;
        switch (callState) {
        case LINECALLSTATE_IDLE: {
            IncomingCallEnded(hDevice);
            HCALL other = hDevice;
            if (outgoing)
                s.idleSeen = true;
            ReleaseCall(outgoing ? t.callHandle : other);
            // A redial pending after busy keeps waiting requests waiting.
            if (!(s.busyDetected && !s.stopRequested))
                callSeam(seams().processCallRequest);
            return;
        }
        case LINECALLSTATE_OFFERING:
            callSeam(seams().logIncomingCall);
            if (options().isChecked(OptionsStore::chkCallDisplay)) {
                s.callDisplayShown = true;
                callSeam(seams().showCallDisplay);
            }
            return;
        case LINECALLSTATE_DIALTONE:
            s.dialToneSeen = true;
            return;
        case LINECALLSTATE_DIALING:
            s.busyDetected = false;
            t.dialingSeen = true;
            if (s.callPlaced && s.callErrorKind != 1)
                callSeam(seams().showConnectWindow);
            return;
        case LINECALLSTATE_PROCEEDING:
            if (s.callPlaced)
                callSeam(seams().handleConnected);
            return;
        case LINECALLSTATE_DISCONNECTED:
            if (s.callPlaced && mode == LINEDISCONNECTMODE_NODIALTONE) {
                s.callErrorKind = 2;
                ReportCallError();
                return;
            }
            // The modem failed under the call (it stopped answering, sent
            // garbage or went away), or the line knows the number was wrong:
            // the user is told, not left waiting for a connection that
            // cannot come.
            if (s.callPlaced && !s.stopRequested &&
                (mode == LINEDISCONNECTMODE_UNAVAIL || mode == LINEDISCONNECTMODE_BADADDRESS)) {
                s.callErrorKind = 3;
                ReportCallError();
                return;
            }
            if (s.callPlaced && !s.stopRequested && mode == LINEDISCONNECTMODE_BUSY) {
                s.busyDetected = true;
                DropCall();
                s.callPlaced = false;
                s.requestInProgress = false;
                return;
            }
            // The call ended before it was declared connected: the user
            // sees how, and it is never taken for a connection. (A data
            // call's modem ends it in its own time after that; the user's
            // OK still takes it.)
            if (s.callPlaced && !s.stopRequested && !t.connectedShown) {
                s.callErrorKind = mode == LINEDISCONNECTMODE_NOANSWER ? 6
                                  : mode == LINEDISCONNECTMODE_NORMAL ? 7
                                                                      : 3;
                ReportCallError();
                return;
            }
            s.callPlaced = false;
            s.requestInProgress = false;
            return;
        default:
            return; // ringback, busy, special info, connected and the rest
        }
    }

    case LINE_REPLY: {
        const LineResult result = LineResult(quint32(dwParam2));
        const LineResult request = LineResult(quint32(dwParam1));
        if (s.callPlaced && result == LINEERR_CALLUNAVAIL) {
            s.callErrorKind = 1;
            ReportCallError();
        } else if (s.callPlaced && result == LINEERR_OPERATIONFAILED) {
            s.callErrorKind = 3;
            ReportCallError();
        } else if (request == t.makeCallRequestId) {
            s.callErrorKind = 0;
            t.makeCallRequestId = 0;
            if (s.dialPartsLeft > 1)
                DialNextPart();
        } else if (request == t.dropRequestId) {
            t.dropRequestId = 0;
            t.dropCompleted = true;
            if (s.busyDetected)
                callSeam(seams().handleBusy);
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
