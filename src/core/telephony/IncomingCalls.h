#pragma once

#include "core/telephony/lineapi/LineApi.h"

#include <QString>

namespace telvaro {

// Incoming calls: the caller identification of each offered call, its one
// record in the incoming calls log, and the call the caller display belongs to.
//
// A call gets exactly one record, in the log of the profile where it rang.
// It is written as soon as the caller is known (at the offering, or when the
// caller information arrives after the first ring, as it does in North
// America); a call that ends, or a line that closes, while its caller is
// still unknown is written then with "Unknown Caller" / "Unknown #".

// Reads the caller information of `call` into CallerNumber and CallerName
// (state()); writes the call's record when the caller is known and the record
// is not written yet. Information that cannot be read leaves both empty; the
// call is then dropped and logged as unknown.
void LogIncomingCall(HCALL call);

// The call went idle: a record still held is written; the call is forgotten.
void IncomingCallEnded(HCALL call);

// The line or the session closes: every record still held is written.
void FlushIncomingRecords();

// Whether `call` is an offered call that has not ended.
bool incomingCallLive(HCALL call);

// The call the caller display was opened for (0: none).
HCALL callDisplayCall();
void setCallDisplayCall(HCALL call);

// OK of the caller display: forgets the call the window was opened for. The
// call itself rings on and keeps its one record (caller ID arriving later
// still goes into it).
void AcknowledgeCallDisplay();

// Back to a fresh start (tests).
void resetIncomingCalls();

} // namespace telvaro
