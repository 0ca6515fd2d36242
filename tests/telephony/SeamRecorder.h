#pragma once

#include "settings/OptionsStore.h"
#include "core/common/ProgramState.h"
#include "core/common/Seams.h"
#include "core/telephony/LineSession.h"

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
        Seams& s = seams();
        s.showConnectWindow = [this] { calls << QStringLiteral("showConnectWindow"); };
        s.handleConnected = [this] { calls << QStringLiteral("handleConnected"); };
        s.handleBusy = [this] { calls << QStringLiteral("handleBusy"); };
        s.showCallError = [this](const QString& caption, const QString& text) {
            calls << QStringLiteral("showCallError %1|%2").arg(caption, text);
        };
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
};

} // namespace telvaro::test
