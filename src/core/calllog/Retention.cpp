#include "core/calllog/Retention.h"

#include "settings/AtomicFile.h"
#include "core/calllog/CallLogFile.h"

#include <QFile>

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

bool trimCallLog(const QString& logPath, const QString& backupPath, int days, const QDate& today,
                 QString* error)
{
    QFile backup(backupPath);
    if (!backup.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(backupPath, backup.errorString());
        return false;
    }
    const QByteArray bytes = backup.readAll();
    backup.close();
    const Result written = writeFileAtomically(logPath, prunedLog(bytes, days, today));
    if (!written && error)
        *error = written.error;
    return written.ok();
}

} // namespace telvaro::calllog
