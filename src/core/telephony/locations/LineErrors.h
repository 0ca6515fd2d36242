// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/telephony/lineapi/LineApi.h"

namespace telvaro {

// The line layer's error results that only translation and the configuration
// dialogs give, next to the common ones of LineApi.h.
constexpr LineResult LINEERR_INIFILECORRUPT = lineError(0x8000000E);
constexpr LineResult LINEERR_INVALCARD = lineError(0x8000001E);
constexpr LineResult LINEERR_INVALCOUNTRYCODE = lineError(0x80000022);
constexpr LineResult LINEERR_INVALDEVICECLASS = lineError(0x80000023);
constexpr LineResult LINEERR_INVALLOCATION = lineError(0x8000002D);

} // namespace telvaro
