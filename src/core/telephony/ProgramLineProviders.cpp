// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/telephony/ProgramLineProviders.h"

#include "core/telephony/lineapi/ModemProvider.h"
#include "core/telephony/sip/SipProvider.h"

namespace telvaro {

std::vector<std::unique_ptr<LineProvider>> ProgramLineProviders::providers()
{
    std::vector<std::unique_ptr<LineProvider>> out;
    out.push_back(std::make_unique<ModemProvider>());
    out.push_back(std::make_unique<SipProvider>(m_passwords));
    return out;
}

} // namespace telvaro
