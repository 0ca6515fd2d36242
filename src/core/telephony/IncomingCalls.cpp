#include "core/telephony/IncomingCalls.h"

#include "core/calllog/CallLogFile.h"
#include "core/common/Clock.h"
#include "core/common/ProgramState.h"
#include "core/telephony/Call.h"
#include "core/telephony/LineSession.h"

#include <QHash>
#include <QSet>

namespace telvaro {
namespace {

// An offered call whose record may still be due.
struct OfferedCall
{
    QString logPath; // the incoming log of the profile where it rang
    QDateTime rang;  // when it rang: the time of its record
    bool written = false;
};

struct IncomingCalls
{
    QHash<HCALL, OfferedCall> live;
    QSet<HCALL> ended; // information arriving late for these is ignored
    HCALL displayCall = 0;
};

IncomingCalls& incoming()
{
    static IncomingCalls calls;
    return calls;
}

bool callerKnown(const LineCallInfo& info)
{
    constexpr quint32 known = LINECALLPARTYID_ADDRESS | LINECALLPARTYID_NAME |
                              LINECALLPARTYID_BLOCKED | LINECALLPARTYID_OUTOFAREA;
    return (info.callerIDFlags & known) != 0 || !info.callerID.isEmpty() ||
           !info.callerIDName.isEmpty();
}

void writeUnknown(OfferedCall& offered)
{
    if (offered.written)
        return;
    offered.written = true;
    calllog::appendIncomingCall(offered.logPath, {}, {}, offered.rang);
}

} // namespace

void LogIncomingCall(HCALL call)
{
    IncomingCalls& calls = incoming();
    ProgramState& s = state();
    if (call == 0 || calls.ended.contains(call))
        return;
    auto it = calls.live.find(call);
    if (it == calls.live.end())
        it = calls.live.insert(
            call, OfferedCall{calllog::logPath(calllog::LogKind::Incoming), clock().now()});

    LineCallInfo info;
    const LineResult r = lineGetCallInfo(call, &info);
    telephony().lastResult = r;
    if (r != 0) {
        // Nobody can tell who calls: the window says so rather than showing
        // the last caller, the call is not answered, and it is logged once
        // as unknown.
        s.callerNumber.clear();
        s.callerName.clear();
        writeUnknown(*it);
        lineDrop(call);
        return;
    }
    if (!callerKnown(info)) {
        // The caller information may follow the first ring: hold the record.
        s.callerNumber.clear();
        s.callerName.clear();
        return;
    }
    if (!it->written) {
        it->written = true;
        const calllog::CallLogRow row =
            calllog::appendIncomingCall(it->logPath, info.callerIDName, info.callerID, it->rang);
        s.callerName = row.name;
        s.callerNumber = row.number;
    } else {
        // Caller information repeated or changed: shown, not logged again.
        s.callerName = calllog::incomingName(info.callerIDName);
        s.callerNumber = calllog::incomingNumber(info.callerID);
    }
}

void IncomingCallEnded(HCALL call)
{
    IncomingCalls& calls = incoming();
    const auto it = calls.live.find(call);
    if (it == calls.live.end())
        return;
    writeUnknown(*it);
    calls.live.erase(it);
    calls.ended.insert(call);
}

void FlushIncomingRecords()
{
    IncomingCalls& calls = incoming();
    for (auto it = calls.live.begin(); it != calls.live.end(); ++it) {
        writeUnknown(*it);
        calls.ended.insert(it.key());
    }
    calls.live.clear();
}

bool incomingCallLive(HCALL call)
{
    return call != 0 && incoming().live.contains(call);
}

HCALL callDisplayCall()
{
    return incoming().displayCall;
}

void setCallDisplayCall(HCALL call)
{
    incoming().displayCall = call;
}

void AcknowledgeCallDisplay()
{
    // The call is not hung up: it rings on, and caller information that
    // comes later still goes into its record.
    incoming().displayCall = 0;
    outgoingCall().displayShown = false;
}

void resetIncomingCalls()
{
    incoming() = IncomingCalls{};
}

} // namespace telvaro
