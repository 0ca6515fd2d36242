// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calllog/CallLog.h"

#include "core/calllog/CallLogFile.h"

namespace telvaro {

void CallLog::recordOutgoing(const DialRequest& request, const QString& displayNumber,
                             CallOutcome outcome)
{
    // Only a call the user took is a call made; busy, failed and cancelled
    // attempts leave no record.
    if (outcome != CallOutcome::Connected)
        return;
    m_logs.appendOutgoingCall(calllog::logPath(m_profile.name(), calllog::LogKind::Outgoing),
                              request.name, displayNumber, request.entryKey);
}

} // namespace telvaro
