// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/IniFile.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace telvaro::settings {

// The fixed first line of Telvaro.ini.
inline const QString kHeader =
    QStringLiteral("The following lines are required by Telvaro - do NOT edit or remove");

inline const QString kProfileSection = QStringLiteral("Profile");
inline const QString kPreferencesSection = QStringLiteral("Preferences");
inline const QString kRecentSection = QStringLiteral("Last Dialed Numbers");

// The most recent numbers kept.
inline constexpr int kMaxRecentNumbers = 20;

// The settings file of the running program (paths::settingsFile()), parsed
// once and shared by every part; a new object is made when the configuration
// folder changes (tests). One of the program's only three process-wide
// objects, with the live options (options()) and the clock (clock()); every
// other part is owned by the program and handed to those that need it.
IniFile& file();

// One key of the settings file; empty when missing (an empty value counts as
// missing).
QString read(const QString& section, const QString& key);
bool write(const QString& section, const QString& key, const QString& value);

// What start-up found in the settings file.
enum class CheckResult {
    Kept,    // the first line is the header: the file is left byte for byte
    Created, // there was no file: header and an empty line written
    Reset,   // the first line differed: header and an empty line written
    Failed,  // the file could not be created or reset
};

// Makes sure Telvaro.ini exists and starts with the header. A file whose first
// line differs is replaced by the header and an empty line; its old content is
// kept beside it as "Telvaro.ini.bad" (the reset discards every setting and
// the whole directory, so the user can still get them back). A failure comes
// with its reason.
struct [[nodiscard]] FileCheck
{
    CheckResult result;
    QString error; // the reason of a failure
};
FileCheck checkFile();
QString discardedCopyPath();

// ---- Value encodings ----

// The number at the start of a text, as the program always read its counts:
// blanks are skipped, then an optional sign, digits, a decimal point and
// digits, and an exponent; anything else ends the number; no number is 0.
double leadingNumber(QStringView text);

// A count ("Count", "Line No"): the leading number rounded to the nearest
// integer (halves to even), held within the range of an int.
int countValue(QStringView text);

// A whole text read as a number (blanks around it allowed); nullopt when it
// is not a number.
std::optional<double> numericValue(QStringView text);

// "one": true when the value is the number 1, false for another number;
// nullopt when missing or not a number (treated as missing).
std::optional<bool> oneValue(QStringView text);

// "check": the state 0, 1 or 2 of a check box; nullopt when missing or any
// other value (treated as missing).
std::optional<int> checkValue(QStringView text);

// The profile name from [Profile] "Name": the value without its four-character
// extension (a value of four characters or fewer is taken whole). Only the
// last component of a path is used, so a name can never lead outside the data
// folder; a name left empty or made of dots only is "Untitled".
QString profileNameFromFileName(const QString& value);

// [Last Dialed Numbers]: "Count" and "Last Dialed No 0" ... as the exit
// writes them.
QString recentNumberKey(int index);
// At most kMaxRecentNumbers numbers; missing keys give empty items.
QStringList readRecentNumbers(IniFile& ini);
// Writes "Count" and one key per number (at most kMaxRecentNumbers) in one
// durable write.
bool writeRecentNumbers(IniFile& ini, const QStringList& numbers);

} // namespace telvaro::settings
