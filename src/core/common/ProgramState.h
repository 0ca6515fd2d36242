#pragma once

#include <QString>
#include <QStringList>

namespace telvaro {

// State shared between the windows and modules of the running program (one
// user-interface thread). Each group names the part of the program that owns
// it; others read it, and write it only where their behaviour says so.
struct ProgramState
{
    // Start-up and profiles.
    QString externalNumber; // command line, or a number from another program


    // Dial procedure: inputs and outputs (the directory entry dialed, "0"
    // for none).
    QString currentEntryKey = QStringLiteral("0");
    QString pendingNumber;
    QString pendingName;
    QString dialString;
    QString displayNumber;

    // Caller identification of the last incoming call.
    QString callerName;
    QString callerNumber;

    // Memo pad: open (requests from other programs wait for it to close).
    bool memoOpen = false;
};

// The one state of the running program.
ProgramState& state();
// Back to the state of a fresh start (tests).
void resetState();

} // namespace telvaro
