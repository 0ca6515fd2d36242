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
    QString profileName = QStringLiteral("Untitled");
};

// The one state of the running program.
ProgramState& state();
// Back to the state of a fresh start (tests).
void resetState();

} // namespace telvaro
