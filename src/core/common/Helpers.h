#pragma once

#include <QString>

namespace telvaro {

// Small routines many parts of the program use.

// Waits `seconds` on the monotonic clock without processing window events and
// without keeping the processor busy. Zero, negative or not-a-number seconds
// return at once; the wait is not disturbed by midnight or by changes of the
// wall clock.
void Pause(float seconds);

// Copies a text file line by line, each line written with CR LF (a last line
// without a line end gets one). A missing source does nothing and returns
// true. The destination is replaced as a whole (written beside and renamed),
// so a failed copy leaves the old destination; returns false then, with the
// reason in `error`.
bool CopyTextFile(const QString& source, const QString& destination, QString* error = nullptr);

// The text before the first NUL character, or the whole text without one.
QString TrimAtNull(const QString& text);

// The folder of the settings file (the configuration folder).
QString WindowsDirectory();
// The folder of the program file.
QString SystemDirectory();

// Which telephony dialogs get an owner window: Telvaro always behaves as on
// the NT family.
bool IsWindowsNT();
bool IsWindows9x();

} // namespace telvaro
