// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/TestEnv.h"
#include "core/telephony/Call.h"
#include "core/telephony/LineService.h"

#include <QStringList>

namespace telvaro::test {

// Fresh program state and options, and what a line service and its outgoing
// call tell the rest of the program, recorded as text ("showCallError Modem
// error!|No Dialtone", "handleBusy", "processCallRequest" ...).
class LineRecorder
{
public:
    explicit LineRecorder(LineService& line)
    {
        resetProgram();
        Call* call = &line.call();
        const auto record = [this](const char* what) {
            return [this, what] { calls << QString::fromLatin1(what); };
        };
        QObject::connect(call, &Call::progressWanted, &context, record("showConnectWindow"));
        QObject::connect(call, &Call::proceeding, &context, record("handleConnected"));
        QObject::connect(call, &Call::busyDropped, &context, record("handleBusy"));
        QObject::connect(call, &Call::failed, &context,
                         [this](const QString& caption, const QString& text) {
                             calls << QStringLiteral("showCallError %1|%2").arg(caption, text);
                         });
        QObject::connect(&line, &LineService::requestsMayProceed, &context,
                         record("processCallRequest"));
        QObject::connect(&line, &LineService::callerIdentified, &context,
                         record("logIncomingCall"));
        QObject::connect(&line, &LineService::callOffered, &context, record("showCallDisplay"));
        QObject::connect(&line, &LineService::callDisplayMayClose, &context,
                         record("closeCallDisplay"));
        QObject::connect(&line, &LineService::receivingChanged, &context, [this, &line] {
            calls << QStringLiteral("trayModify %1").arg(line.isOpen() ? "open" : "closed");
        });
    }
    ~LineRecorder() { resetProgram(); }
    LineRecorder(const LineRecorder&) = delete;
    LineRecorder& operator=(const LineRecorder&) = delete;

    bool has(const QString& call) const { return calls.contains(call); }
    int count(const QString& call) const { return int(calls.count(call)); }
    QStringList errors() const { return calls.filter(QStringLiteral("showCallError")); }

    QStringList calls;

private:
    QObject context; // the recorder's connections
};

} // namespace telvaro::test
