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
    QString number; // the command-line text (before the "/" is removed)
    QString error;
};

// `arguments` without the program name.
CommandLine parseCommandLine(const QStringList& arguments);

// The number of a tel: or callto: link (scheme removed, %-escapes decoded);
// other texts unchanged.
QString numberFromLink(const QString& text);

QString usageText();
QString versionText();

} // namespace telvaro
