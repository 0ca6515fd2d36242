// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/telephony/lineapi/LineProvider.h"

namespace telvaro {

class SipPasswords;

// The program's line devices: the configured serial modems, then the SIP
// phones, whose passwords come from `passwords` (it must outlive every
// provider made).
class ProgramLineProviders final : public LineProviderSource
{
public:
    explicit ProgramLineProviders(SipPasswords& passwords) : m_passwords(passwords) {}

    std::vector<std::unique_ptr<LineProvider>> providers() override;

private:
    SipPasswords& m_passwords;
};

} // namespace telvaro
