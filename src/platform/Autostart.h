// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "settings/Result.h"

namespace telvaro::autostart {

// The desktop's start-up entry for Telvaro:
// $XDG_CONFIG_HOME/autostart/telvaro.desktop (~/.config/autostart/...).
QString entryFile();

// The entry's text: Name "Shortcut to Telvaro", Exec the program file.
QByteArray entryText(const QString& programFile);

// Writes (or rewrites) the entry for `programFile`; fails with the reason
// when it could not be written.
Result create(const QString& programFile);
// Removes the entry; succeeds when there is none afterwards.
Result remove();

// Quotes a path for the Exec key of a desktop entry.
QString quoteExecArgument(const QString& argument);

} // namespace telvaro::autostart
