// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calllog/CallLogFile.h"
#include "settings/Result.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

namespace telvaro {
class Clock;
}

namespace telvaro::calllog {

// Rewrites the log at `logPath` from its backup at `backupPath`, keeping the
// records not older than `days` calendar days on `today` (records dated in the
// future stay). The log gets the header retention writes; every kept line
// keeps its bytes. A line whose date cannot be read is kept, and the lines
// after it are judged as usual; the first two lines are skipped only when they
// are the header. The log is replaced atomically: on failure (false, with the
// reason) it is left as it was.
Result trimCallLog(const QString& logPath, const QString& backupPath, int days, const QDate& today);

// The pruned log for the bytes of its backup.
QByteArray prunedLog(QByteArrayView backup, int days, const QDate& today);

// The exit's care of the logs: each log of the profile in force keeps the
// days the options ask for ("Delete calls older than" for incoming and
// outgoing calls). A log is rebuilt from a fresh backup next to it; without
// a complete backup it is left as it is.
class LogRetention
{
public:
    // Judges the days on `clock` (not owned); without one, on the program's
    // clock as it is when the logs are pruned.
    explicit LogRetention(const Clock* clock = nullptr) : m_clock(clock) {}

    // Prunes the logs of `profileName` whose option is on. Returns the text
    // telling the user about each log that could not be pruned (and is left
    // unchanged); empty when all went well.
    [[nodiscard]] QStringList pruneLogs(const QString& profileName) const;
    // Prunes one log, the option aside.
    Result pruneLog(const QString& profileName, LogKind kind) const;

private:
    const Clock* m_clock;
};

} // namespace telvaro::calllog
