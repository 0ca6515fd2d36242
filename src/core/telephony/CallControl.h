#pragma once

#include "core/telephony/lineapi/LineApi.h"

#include <QString>

#include <functional>

namespace telvaro {

// Call control: places, continues, drops and releases the outgoing call,
// handles every line event, and shows telephony errors in the call progress
// window. The dial pieces (state().dialParts, nextDialPart, dialPartsLeft)
// are filled by the dial procedure.

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
// Drops the call and shows the error of state().callErrorKind.
void ReportCallError();
// The line layer's callback.
void LineCallback(quint32 hDevice, quint32 dwMsg, quintptr dwCallbackInstance, quintptr dwParam1,
                  quintptr dwParam2, quintptr dwParam3);

// The caption and text the call progress window shows for an error kind
// (1 to 5, 6 no answer, 7 no carrier); a null text for other kinds.
struct CallErrorText
{
    QString frameCaption;
    QString text;
};
CallErrorText callErrorText(int kind);

// Set by the windows' side: re-enables the main window after the line
// refused a drop, so the user is not locked out.
void setMainWindowEnabler(std::function<void()> enable);

} // namespace telvaro
