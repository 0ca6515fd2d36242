// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/Result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace telvaro::profiles {

// The profile command that loads the main window again: New Profile starts
// on an empty directory, Open Profile on a chosen profile file; None for
// every other start.
enum class ProfileOperation { None, New, Open };

// A profile is a copy of the settings file. It lives in the data folder as
// its name with the extension "tlx", unless Save As put it elsewhere.

// The file a profile of this name is saved to: data folder + "/" + name +
// ".tlx" (the plain Save, the exit's save, the Yes of New and Open).
QString profileFilePath(const QString& name);

// The profile name a chosen file gives, exactly as start-up derives it from
// [Profile] "Name": the file name without its last four characters.
QString profileNameOfFile(const QString& path);

// Whether the file's first line is the settings file's marker line. `error`
// gets the reason when the file cannot be read.
enum class MarkerCheck { Profile, NotProfile, Unreadable };
MarkerCheck checkMarkerLine(const QString& path, QString* error = nullptr);

// True when `path` is one of Telvaro's own files, which a profile must never
// overwrite: the settings file (and its kept copy), the line layer's
// configuration, a call log or its backup in the data folder.
bool isOwnFile(const QString& path);

// What a profile file holds now, without writing anything: the settings
// file as it is on the disk, with the recent numbers and the receive setting
// of the running program (the exit writes these to the settings file only at
// the end), and for Save As the new [Profile] "Name" and [Preferences]
// "SavePath".
QByteArray profileBytes(const QStringList& recentNumbers, const QString& fileName = {},
                        const QString& savePath = {});

// Writes a profile file: an existing file gets its write permission back
// first, the bytes replace it as a whole, and every write bit is removed
// again. A failure leaves the old file as it was (read-only again).
Result writeProfileFile(const QString& path, const QByteArray& bytes);

// A new profile's logs start as copies of the previous profile's: a log the
// new profile already has is never overwritten, a missing source copies
// nothing. Fails with the reason when a copy failed.
Result copyLogs(const QString& previousName, const QString& newName);

} // namespace telvaro::profiles
