#pragma once

#include "core/telephony/Call.h"
#include "core/telephony/lineapi/LineApi.h"

#include <QString>

#include <functional>

namespace telvaro {

// Call control: places, continues, drops and releases the outgoing call,
// handles every line event, and shows telephony errors in the call progress
// window. The pieces of the dial string are the call's
// (outgoingCall()), given by the dial procedure.

// Shows the call progress window and places the call with the first piece.
void MakeCall(const QString& firstPiece);
// Sends the next piece with lineDial.
void DialNextPart();
// Forgets a call still waiting to be placed (a fresh session).
void resetCallControl();
// Drops the current call.
void DropCall();
// Lets go of a call handle and clears it; closes the incoming call window
// when it belongs to this call.
void ReleaseCall(HCALL& call);
// Drops the call and shows the error the call ended in.
void ReportCallError();
// The line layer's callback.
void LineCallback(quint32 hDevice, quint32 dwMsg, quintptr dwCallbackInstance, quintptr dwParam1,
                  quintptr dwParam2, quintptr dwParam3);

} // namespace telvaro
