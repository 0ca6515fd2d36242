#pragma once

namespace telvaro {

class FrmDialer;

// The profile commands of the File menu.

// "&New Profile": after the save question, the program starts again on an
// empty directory that keeps the options the user sees.
void mnuNew_Click();
// "&Open Profile": a chosen profile file replaces the settings file and the
// program starts again on it.
void mnuOpen_Click();
// "&Save Profile": a named profile to its file in the data folder without a
// question; "Untitled" as Save As.
void mnuSave_Click();
// "Save Profile &As": a chosen file; the profile takes its name, the
// settings file keeps it, and the new name's logs start as copies.
void mnuSaveAs_Click();
// The exit's save of a named profile (no question); `quiet`: a failure is
// told on stderr. Returns whether the profile was saved.
bool saveProfileAtExit(bool quiet);

// Connects the four menu items and fills the profile seams.
void installProfiles(FrmDialer& window);

} // namespace telvaro
