// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/common/CallOutcome.h"
#include "core/common/CurrentProfile.h"
#include "core/common/DialRequest.h"

#include <QObject>
#include <QString>

namespace telvaro {
namespace calllog {
class CallLogWriter;
}

// The calls' side of the call logs: a call the user took gets its one
// record in the outgoing log, from what its dial asked for (name, entry) and
// the number the call showed, in the log of the profile loaded now, through
// the program's writer of the logs.
class CallLog : public QObject
{
    Q_OBJECT

public:
    CallLog(const CurrentProfile& profile, calllog::CallLogWriter& logs, QObject* parent = nullptr)
        : QObject(parent), m_profile(profile), m_logs(logs)
    {
    }

public Q_SLOTS:
    void recordOutgoing(const telvaro::DialRequest& request, const QString& displayNumber,
                        telvaro::CallOutcome outcome);

private:
    const CurrentProfile& m_profile;
    calllog::CallLogWriter& m_logs;
};

} // namespace telvaro
