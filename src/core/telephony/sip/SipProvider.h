// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/telephony/lineapi/LineProvider.h"
#include "core/telephony/sip/SipConfig.h"

#include <vector>

namespace telvaro {

// The SIP phones of the configuration, one line device each, after the
// modems. A call is placed by calling the user's own phone (which answers by
// itself or is picked up) and asking it to call the number (an in-dialog
// REFER), then following the phone's reports (NOTIFY message/sipfrag) until
// the far end answers, is busy or fails; Telvaro then ends its own leg. It
// carries no audio. Incoming calls forked to the registered contact are
// offered with their caller and never answered.
//
// The SIP stack is sofia-sip's user agent (nua) running on the GLib main
// loop, the loop Qt's event dispatcher runs on Linux.
class SipPasswords;

class SipProvider final : public LineProvider
{
public:
    // The phones of the configuration file; `passwords` gives their
    // passwords (it must outlive the provider and its lines).
    explicit SipProvider(SipPasswords& passwords);
    SipProvider(std::vector<SipAccount> accounts, SipPasswords& passwords);

    int deviceCount() const override { return int(m_accounts.size()); }
    bool devCaps(int index, LineDevCaps* caps) override;
    std::unique_ptr<ProviderLine> open(int index, LineSink* sink, LineResult* error) override;

    // The provider name devCaps reports, telling SIP phones from modems.
    static QString providerName();

    // How long an incoming call may ring unanswered before Telvaro stops
    // offering it (milliseconds), and how long the phone's reports of a
    // transferred call may take.
    static constexpr int kMaxRingMs = 180000;
    static constexpr int kTransferTimeoutMs = 180000;
    // How soon a refused or failed registration is tried again.
    static constexpr int kRegisterRetryMs = 60000;

private:
    std::vector<SipAccount> m_accounts;
    SipPasswords& m_passwords;
};

} // namespace telvaro
