#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

namespace telvaro::calllog {

// Rewrites the log at `logPath` from its backup at `backupPath`, keeping the
// records not older than `days` calendar days on `today` (records dated in the
// future stay). The log gets the header retention writes; every kept line
// keeps its bytes. A line whose date cannot be read is kept, and the lines
// after it are judged as usual; the first two lines are skipped only when they
// are the header. The log is replaced atomically: on failure (false, with the
// reason in `error`) it is left as it was.
bool trimCallLog(const QString& logPath, const QString& backupPath, int days, const QDate& today,
                 QString* error = nullptr);

// The pruned log for the bytes of its backup.
QByteArray prunedLog(QByteArrayView backup, int days, const QDate& today);

} // namespace telvaro::calllog
