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
    QString profileName = QStringLiteral("Untitled");
    int profileOperation = 5; // 1 New Profile, 2 Open Profile, 5 otherwise
    bool profileReload = false;
    // The profile's name before the last Save As (its logs were copied).
    QString previousProfileName;
    int startupModeSwitch = 0; // 4 while start-up selects the tab mode

    // Directory.
    bool subjectMode = false;
    QString currentEntryKey = QStringLiteral("0");

    // Dial procedure: inputs and outputs.
    QString pendingNumber;
    QString pendingName;
    QString dialString;
    QString displayNumber;

    // Caller identification of the last incoming call.
    QString callerName;
    QString callerNumber;

    // Memo pad.
    QString memoEntryKey;
    bool memoOpen = false;
};

// The one state of the running program.
ProgramState& state();
// Back to the state of a fresh start (tests).
void resetState();

} // namespace telvaro
