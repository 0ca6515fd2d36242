// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace telvaro {

// Everything the program understands of what a modem says, in one place.

// The final result codes of V.250, verbose or numeric (ATV0).
enum class AtResult {
    None, // not a final result: an information line, an echo, RING, caller ID ...
    Ok,
    Connect,
    NoCarrier,
    Error,
    NoDialtone,
    Busy,
    NoAnswer,
    // The modem will not dial the number: the repeat-call limits of an
    // automatic redialer (DELAYED: not yet, BLACKLISTED: not any more).
    Delayed,
    Blacklisted,
};

// The final result a line stands for ("OK", "0", "CONNECT 33600", "+CME ERROR: 3" ...).
AtResult parseResult(QStringView line);
// "RING" (verbose or numeric 2), or "+CRING: ..." (AT+CRC=1).
bool isRing(QStringView line);

// One line of a caller ID report.
struct CallerIdLine
{
    enum Field { Date, Time, Number, Name, Message };
    Field field = Number;
    QString value;
    // For the number and the name: P (private, withheld by the caller) or O
    // (out of area, unavailable) instead of a value.
    bool withheld = false;
    bool unavailable = false;
    // +CLIP: carries the number and, when the network sends it, the name.
    std::optional<QString> name;
};

// The caller ID line a modem reports between the first and second RING:
// "DATE = 0321", "TIME=1405", "NMBR = 5551234", "NAME=JOHN DOE", "NMBR = P",
// "NMBR=O", "MESG = ...", or the GSM form +CLIP: "5551234",129,,,"JOHN DOE".
// The characters of the line are its bytes (0 to 255); names are read as
// UTF-8 when valid, else as Windows-1252. A MESG line holding a whole caller ID message in
// hexadecimal is read as a number line with its name. nullopt for every other line, and for a line
// with control characters (noise).
std::optional<CallerIdLine> parseCallerIdLine(QStringView line);

// A line no modem would send: control characters or bytes outside printable
// ASCII (line noise, a wrong line speed, a device that is no modem).
bool isGarbage(QStringView line);

} // namespace telvaro
