// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace telvaro {

// What the program was asked to do on its command line:
//   telvaro [NUMBER]      NUMBER with one leading "/" removed; a tel: or
//                         callto: link gives the number inside it
//   telvaro --version     prints the version
//   telvaro --help        prints the usage
struct CommandLine
{
    enum class Action { Run, Version, Help, Error };
    Action action = Action::Run;
    QString number; // the command-line text (before the "/" is removed), no control characters
    QString error;
};

// `arguments` without the program name.
CommandLine parseCommandLine(const QStringList& arguments);

// The number of a tel: or callto: link: scheme removed, tel: parameters
// (from the first ";") and a callto: query (from "?") cut off, %-escapes
// decoded; other texts unchanged.
QString numberFromLink(const QString& text);

// The text without control characters (an outside number or name must not
// split a log record or a settings line).
QString withoutControlCharacters(const QString& text);

QString usageText();
QString versionText();

} // namespace telvaro
