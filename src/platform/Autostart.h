#pragma once

#include <QString>

namespace telvaro::autostart {

// The desktop's start-up entry for Telvaro:
// $XDG_CONFIG_HOME/autostart/telvaro.desktop (~/.config/autostart/...).
QString entryFile();

// The entry's text: Name "Shortcut to Telvaro", Exec the program file.
QByteArray entryText(const QString& programFile);

// Writes (or rewrites) the entry for `programFile`. Returns false with the
// reason in `error` when it could not be written.
bool create(const QString& programFile, QString* error = nullptr);
// Removes the entry; true when there is none afterwards.
bool remove(QString* error = nullptr);

// Quotes a path for the Exec key of a desktop entry.
QString quoteExecArgument(const QString& argument);

} // namespace telvaro::autostart
