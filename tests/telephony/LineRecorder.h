#pragma once

#include "core/common/ProgramState.h"
#include "core/common/Seams.h"
#include "core/dialing/Dialer.h"
#include "core/telephony/Call.h"
#include "core/telephony/LineSession.h"
#include "settings/OptionsStore.h"

#include <QStringList>

namespace telvaro::test {

// Fresh program state, and the seams call control reaches recorded as text
// ("showCallError Modem error!|No Dialtone", "handleBusy" ...).
class SeamRecorder
{
public:
    SeamRecorder()
    {
        resetState();
        resetTelephonySession();
        options().resetToDesigned();
        seams() = {};
        dialer().reset(); // the call tells the recorder alone
        Call* call = &outgoingCall();
        QObject::connect(call, &Call::progressWanted, &context,
                         [this] { calls << QStringLiteral("showConnectWindow"); });
        QObject::connect(call, &Call::proceeding, &context,
                         [this] { calls << QStringLiteral("handleConnected"); });
        QObject::connect(call, &Call::busyDropped, &context,
                         [this] { calls << QStringLiteral("handleBusy"); });
        QObject::connect(call, &Call::failed, &context,
                         [this](const QString& caption, const QString& text) {
                             calls << QStringLiteral("showCallError %1|%2").arg(caption, text);
                         });
        Seams& s = seams();
        s.processCallRequest = [this] { calls << QStringLiteral("processCallRequest"); };
        s.logIncomingCall = [this] { calls << QStringLiteral("logIncomingCall"); };
        s.showCallDisplay = [this] { calls << QStringLiteral("showCallDisplay"); };
        s.closeCallDisplay = [this] { calls << QStringLiteral("closeCallDisplay"); };
        s.trayModify = [this] {
            calls
                << QStringLiteral("trayModify %1").arg(telephony().lineIsOpen ? "open" : "closed");
        };
    }
    ~SeamRecorder()
    {
        seams() = {};
        resetState();
        resetTelephonySession();
        options().resetToDesigned();
    }
    SeamRecorder(const SeamRecorder&) = delete;
    SeamRecorder& operator=(const SeamRecorder&) = delete;

    bool has(const QString& call) const { return calls.contains(call); }
    int count(const QString& call) const { return int(calls.count(call)); }
    QStringList errors() const { return calls.filter(QStringLiteral("showCallError")); }

    QStringList calls;

private:
    QObject context; // the recorder's connections to the call
};

} // namespace telvaro::test
