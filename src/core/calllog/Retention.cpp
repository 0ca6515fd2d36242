// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calllog/Retention.h"

#include "core/common/Clock.h"
#include "core/common/Helpers.h"
#include "settings/AtomicFile.h"
#include "settings/OptionsStore.h"
#include "settings/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace telvaro::calllog {
namespace {

// The date of a record line: "mm-dd-yyyy" at column 99 (the record's leading
// space is column 1). Invalid when it cannot be read there.
QDate recordDate(QByteArrayView line)
{
    constexpr qsizetype at = 98;
    if (line.size() < at + 10 || line[at + 2] != '-' || line[at + 5] != '-')
        return {};
    const auto number = [&](qsizetype from, qsizetype length) {
        int value = 0;
        for (qsizetype i = from; i < from + length; ++i) {
            const char c = line[at + i];
            if (c < '0' || c > '9')
                return -1;
            value = value * 10 + (c - '0');
        }
        return value;
    };
    const int month = number(0, 2);
    const int day = number(3, 2);
    const int year = number(6, 4);
    if (month < 0 || day < 0 || year < 0)
        return {};
    return QDate(year, month, day);
}

} // namespace

QByteArray prunedLog(QByteArrayView bytes, int days, const QDate& today)
{
    QByteArray out = headerBytes(HeaderVariant::Retention);
    out.reserve(bytes.size() + out.size());
    LogHeader header;
    forEachLine(bytes, [&](QByteArrayView line) {
        if (header.isHeaderLine(line) || isBlankLine(line))
            return; // the header is written anew; a blank line holds no call
        const QDate date = recordDate(line);
        if (date.isValid() && date.daysTo(today) > days)
            return;
        out.append(line.data(), line.size());
        out.append("\r\n");
    });
    return out;
}

Result trimCallLog(const QString& logPath, const QString& backupPath, int days, const QDate& today)
{
    QFile backup(backupPath);
    if (!backup.open(QIODevice::ReadOnly))
        return Result::failure(QStringLiteral("%1: %2").arg(backupPath, backup.errorString()));
    const QByteArray bytes = backup.readAll();
    backup.close();
    return writeFileAtomically(logPath, prunedLog(bytes, days, today));
}

QStringList LogRetention::pruneLogs(const QString& profileName) const
{
    QStringList failures;
    const OptionsStore& o = options();
    for (LogKind kind : {LogKind::Incoming, LogKind::Outgoing}) {
        const bool on = o.isChecked(kind == LogKind::Incoming ? OptionsStore::chkDelIncoming
                                                              : OptionsStore::chkDelOutgoing);
        if (!on)
            continue;
        const Result pruned = pruneLog(profileName, kind);
        if (!pruned)
            failures.append(pruned.error);
    }
    return failures;
}

Result LogRetention::pruneLog(const QString& profileName, LogKind kind) const
{
    const QString base = paths::dataDir() + QLatin1Char('/') + profileName +
                         (kind == LogKind::Incoming ? QStringLiteral("In") : QStringLiteral("Out"));
    const QString log = base + QStringLiteral(".log");
    const QString backup = base + QStringLiteral(".bak");
    if (!QFileInfo(log).isFile())
        return Result::success();
    // The day count as the dialog's OK leaves it: a box holding no whole
    // number (emptied, "-5") counts its spin bar's value.
    const OptionsStore::Text dayBox =
        kind == LogKind::Incoming ? OptionsStore::txtInDays : OptionsStore::txtDays;
    const QString dayText = options().text(dayBox).trimmed();
    bool whole = !dayText.isEmpty() && std::all_of(dayText.cbegin(), dayText.cend(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
    int days = whole ? dayText.toInt(&whole) : 0;
    if (!whole)
        days = options().spinValue(dayBox);

    // The log is rebuilt from the backup: without a complete backup it is
    // left as it is.
    Result pruned = CopyTextFile(log, backup);
    if (pruned)
        pruned = trimCallLog(log, backup, days, (m_clock ? *m_clock : clock()).now().date());
    if (pruned)
        return pruned;
    return Result::failure(
        QCoreApplication::translate("telvaro::calllog::LogRetention",
                                    "The old calls could not be removed from the log\n%1\n\n%2\n\n"
                                    "The log is unchanged.")
            .arg(QDir::toNativeSeparators(log), pruned.error));
}

} // namespace telvaro::calllog
