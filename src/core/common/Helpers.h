// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "settings/Result.h"

namespace telvaro {

// Small routines many parts of the program use.

// Copies a text file line by line, each line written with CR LF (a last line
// without a line end gets one). A missing source does nothing and returns
// success. The destination is replaced as a whole (written beside and
// renamed), so a failed copy leaves the old destination; it fails then, with
// the reason.
Result CopyTextFile(const QString& source, const QString& destination);

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
