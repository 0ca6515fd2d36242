#pragma once

#include <QtGlobal>

namespace telvaro {

// The line layer's error results used by translation and the configuration
// dialogs: negative, with the values of the telephony API.
namespace lineerr_detail {
constexpr long value(quint32 code)
{
    return static_cast<long>(static_cast<qint32>(code));
}
} // namespace lineerr_detail

inline constexpr long LINEERR_BADDEVICEID = lineerr_detail::value(0x80000002u);
inline constexpr long LINEERR_INIFILECORRUPT = lineerr_detail::value(0x8000000Eu);
inline constexpr long LINEERR_INVALADDRESS = lineerr_detail::value(0x80000010u);
inline constexpr long LINEERR_INVALCARD = lineerr_detail::value(0x8000001Eu);
inline constexpr long LINEERR_INVALCOUNTRYCODE = lineerr_detail::value(0x80000022u);
inline constexpr long LINEERR_INVALDEVICECLASS = lineerr_detail::value(0x80000023u);
inline constexpr long LINEERR_INVALLOCATION = lineerr_detail::value(0x8000002Du);
inline constexpr long LINEERR_INVALPARAM = lineerr_detail::value(0x80000032u);
inline constexpr long LINEERR_OPERATIONFAILED = lineerr_detail::value(0x80000048u);

} // namespace telvaro
