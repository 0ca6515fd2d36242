// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/telephony/Call.h"

namespace telvaro {

CallErrorText callErrorText(CallOutcome outcome)
{
    const QString modemError = Call::tr("Modem error!");
    switch (outcome) {
    case CallOutcome::LineInUse:
        return {modemError, Call::tr("The selected line is in use or it is not connected.")};
    case CallOutcome::NoDialTone:
        return {modemError, Call::tr("No Dialtone")};
    case CallOutcome::CallFailed:
        return {modemError, Call::tr("Not able to make a call.")};
    case CallOutcome::LineOpenFailed:
        return {Call::tr("Tapi: Error opening line!"),
                Call::tr("Modem may not be installed or it is misconfigured.\r\n"
                         "Please reinstall modem.")};
    case CallOutcome::ModemSilent:
        return {modemError, Call::tr("Not able to make a call.\r\n"
                                     "Modem may not be turned on or it is misconfigured.")};
    case CallOutcome::NoAnswer:
        return {Call::tr("No Answer"), Call::tr("The number did not answer.")};
    case CallOutcome::NoCarrier:
        return {Call::tr("No Carrier"), Call::tr("The call ended (no carrier).")};
    default:
        return {};
    }
}

void Call::start(const DialRequest& request, const QString& dialString,
                 const QString& displayNumber, const QStringList& pieces)
{
    m_request = request;
    m_dialString = dialString;
    m_displayNumber = displayNumber;
    m_pieces = pieces;
    m_nextPiece = 0;
    m_piecesLeft = int(pieces.size());
    m_ended = false;
}

QString Call::takeNextPiece()
{
    // The first piece went with lineMakeCall; the next follows it.
    const int index = m_nextPiece + 1;
    const QString piece = index < m_pieces.size() ? m_pieces.at(index) : QString();
    m_nextPiece += 1;
    m_piecesLeft -= 1;
    return piece;
}

void Call::setState(CallState state)
{
    if (state == m_state)
        return;
    m_state = state;
    Q_EMIT stateChanged(state);
}

void Call::end(CallOutcome outcome)
{
    if (m_ended)
        return;
    m_ended = true;
    Q_EMIT ended(outcome);
}

void Call::reset()
{
    m_request = {};
    m_dialString.clear();
    m_displayNumber.clear();
    m_pieces.clear();
    m_nextPiece = 0;
    m_piecesLeft = 0;
    m_state = CallState::Idle;
    m_error = CallOutcome::None;
    m_ended = true;
    placed = busyDetected = stopRequested = idleSeen = dialToneSeen = false;
    requestInProgress = displayShown = connectedShown = false;
}

} // namespace telvaro
