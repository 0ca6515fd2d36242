// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMetaType>

namespace telvaro {

// How an outgoing call ended.
enum class CallOutcome {
    None,           // not ended yet
    Connected,      // the user took it (OK)
    Busy,           // busy, and no more redials
    LineInUse,      // the selected line is in use or not connected
    NoDialTone,     // the modem heard no dial tone
    CallFailed,     // the modem could not make the call
    LineOpenFailed, // the line could not be opened
    ModemSilent,    // the call could not be placed at all (modem off)
    NoAnswer,       // the number did not answer
    NoCarrier,      // the call ended before it connected
    Cancelled,      // the user hung up
};

} // namespace telvaro

Q_DECLARE_METATYPE(telvaro::CallOutcome)
