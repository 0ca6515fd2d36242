// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMetaType>
#include <QString>

namespace telvaro {

// Where a number to dial came from.
enum class DialOrigin {
    Directory,    // a speed-dial button
    Pad,          // the dialing pad's number box
    RecentList,   // the pad's list of recent numbers
    CommandLine,  // the program's own command line
    SecondStart,  // a later start of the program handed it over
    OtherProgram, // a request from another program (D-Bus)
    LogWindow,    // a record in a call log window
};

// One number the user (or another program) asked to dial: the value that
// travels from the button or request to the call and back to the call log.
struct DialRequest
{
    QString number;
    QString name;                           // who is called, as the origin names them
    QString entryKey = QStringLiteral("0"); // the directory entry, "0" for none
    DialOrigin origin = DialOrigin::Pad;

    // Whether the number is a directory entry's (its key a number above 0).
    bool hasEntry() const
    {
        bool isNumber = false;
        return entryKey.toInt(&isNumber) > 0 && isNumber;
    }

    friend bool operator==(const DialRequest&, const DialRequest&) = default;
};

} // namespace telvaro

Q_DECLARE_METATYPE(telvaro::DialRequest)
