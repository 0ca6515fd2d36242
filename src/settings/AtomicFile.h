// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include "settings/Result.h"

namespace telvaro {

// Replaces the file at `path` with `data` as a whole: the bytes go to a new
// file beside the old one, are flushed to the disk and the new file is renamed
// over the old one, so a crash, a kill or a full disk leaves either the old
// file or the new one. A file whose write permission is off counts as
// read-only and is not replaced. Fails with a readable reason when the file
// could not be written.
Result writeFileAtomically(const QString& path, const QByteArray& data);

// True when `path` names an existing file that must not be written (no write
// permission for anybody, or not writable by this user).
bool isReadOnlyFile(const QString& path);

} // namespace telvaro
