// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/Result.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <cstring>

namespace telvaro::calllog {

enum class LogKind { Outgoing, Incoming };

// The second header line: the variant of the writer (outgoing or incoming) or
// the one retention writes.
enum class HeaderVariant { Outgoing, Incoming, Retention };

inline constexpr const char* kWarningLine = "Warning: This file is not to be edited!!!";
QString headerLine2(HeaderVariant variant);
// The two header lines of a log, each ending in CR LF.
QByteArray headerBytes(HeaderVariant variant);

// One call as the log windows show it. dateTime is "mm-dd-yyyy  hh:mm:ss";
// entryKey belongs to the outgoing log only.
struct CallLogRow
{
    QString name;
    QString number;
    QString dateTime;
    QString entryKey;

    friend bool operator==(const CallLogRow&, const CallLogRow&) = default;
};

// The log files of the profile `profileName` in the data folder:
// ProfileName + "Out.log" / "In.log" (backups "Out.bak" / "In.bak").
QString logPath(const QString& profileName, LogKind kind);
QString backupPath(const QString& profileName, LogKind kind);

// The cut rules of the record fields. A name over 37 characters keeps 38 and
// gains "*". An outgoing number over 52 keeps 52 and gains "*"; an incoming
// number over 51 keeps up to 52 and gains "*".
QString cutName(const QString& name);
QString cutNumber(const QString& number, LogKind kind);

// "mm-dd-yyyy  hh:mm:ss"
QString formatDateTime(const QDateTime& when);

// A field as it may go into a record: CR and LF, the only bytes that can
// break a record, become spaces; every other character is kept.
QString cleanField(const QString& text);
CallLogRow cleanRow(const CallLogRow& row);

// One record line without its line end, fields cleaned but not cut.
QString formatRecord(const CallLogRow& row, LogKind kind);

// The sort key of a date-and-time text "mm-dd-yyyy  hh:mm:ss": yyyymmddhhmmss
// as one number, read at the fixed places; -1 when the date cannot be read
// (such a text sorts as text). A missing or unreadable time counts as 00:00:00.
qint64 dateSortKey(QStringView dateTime);

// Appends one record (its fields cleaned) to `path`, starting the file with the
// header of `kind` when it does not exist or is empty. The file is replaced as
// a whole, so a kill at any moment leaves it with the whole record or without
// it, and a write that fails leaves it as it was (the failure carries a
// readable reason).
Result appendRecord(const QString& path, LogKind kind, const CallLogRow& row);

// Calls `visit(line)` for every line of `bytes`, without its line end: CR LF,
// LF or CR alone ends a line; a last line without an end is a line too.
template <typename Visit> void forEachLine(QByteArrayView bytes, Visit&& visit)
{
    const char* const begin = bytes.data();
    const char* const stop = begin + bytes.size();
    const char* at = begin;
    const char* lf = nullptr; // the next LF at or after `at` (stop: none)
    while (at < stop) {
        if (lf == nullptr || lf < at) {
            lf = static_cast<const char*>(std::memchr(at, '\n', size_t(stop - at)));
            if (!lf)
                lf = stop;
        }
        // A CR before that LF ends the line first (alone, or as CR LF).
        const char* cr = static_cast<const char*>(std::memchr(at, '\r', size_t(lf - at)));
        const char* end = cr ? cr : lf;
        visit(bytes.sliced(at - begin, end - at));
        if (cr && cr + 1 != lf)
            at = cr + 1; // CR alone
        else
            at = lf == stop ? stop : lf + 1; // LF or CR LF
    }
}

// Tells the header lines of a log from its records, line by line in order:
// the first line is the header's when it is the warning line, the second when
// the first was and it holds the print note. Anything else is not header.
class LogHeader
{
public:
    bool isHeaderLine(QByteArrayView line);

private:
    int m_lineNo = 0;
    bool m_warningSeen = false;
};

// A line of blanks (or nothing) holds no call.
bool isBlankLine(QByteArrayView line);

// Reads a log into rows, one per record line (every line that is neither
// header nor blank); a missing file gives none. Lines are cut at the columns
// they were written at, so a record with an empty name reads back in place.
QList<CallLogRow> readLog(const QString& path, LogKind kind);
// The same for the bytes of a log.
QList<CallLogRow> parseLog(QByteArrayView bytes, LogKind kind);

// The bytes of a whole log: the header of `variant`, then one record per row.
QByteArray serializeLog(LogKind kind, const QList<CallLogRow>& rows, HeaderVariant variant);

// Rewrites the whole file (atomically) from `rows`: the header of `variant`,
// then one record per row in order.
Result saveLog(const QString& path, LogKind kind, const QList<CallLogRow>& rows,
               HeaderVariant variant);
inline Result saveLog(const QString& path, LogKind kind, const QList<CallLogRow>& rows)
{
    return saveLog(path, kind, rows,
                   kind == LogKind::Outgoing ? HeaderVariant::Outgoing : HeaderVariant::Incoming);
}

// The name and number as the incoming log writes them (cut, unknown filled).
QString incomingName(const QString& name);
QString incomingNumber(const QString& number);

// The writer of the calls' records: the call log part (outgoing calls) and
// the line service (incoming calls) write through the one the program owns.
// It tells the loaded log windows of every record that reached a file, so
// that their tables keep every call (whether a window is shown or hidden),
// and its owner of a log that cannot be written, once (until that log can be
// written again).
class CallLogWriter : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The outgoing record of one call taken: the name and number cut,
    // stamped with the clock, written to the outgoing log at `path`.
    CallLogRow appendOutgoingCall(const QString& path, const QString& name, const QString& number,
                                  const QString& entryKey);
    // The incoming record of one caller, written to `path` (the log of the
    // profile where the call rang): the name and number cut, "Unknown
    // Caller" / "Unknown #" for empty ones. `when` (the time the call rang)
    // stamps the record; a null time stamps it with the clock. A failure is
    // told after the current event, never inside it.
    CallLogRow appendIncomingCall(const QString& path, const QString& name, const QString& number,
                                  const QDateTime& when = {});

Q_SIGNALS:
    // `row` holds exactly the fields that went into the file at `path`.
    void recordAppended(const QString& path, telvaro::calllog::LogKind kind,
                        const telvaro::calllog::CallLogRow& row);
    // A record could not be written: `text` tells the user which log, where
    // and why.
    void writeFailed(const QString& text);

private:
    // Appends the record; tells of it or of the failure (the failure now or,
    // with `later`, after the current event).
    bool append(const QString& path, LogKind kind, const CallLogRow& row, bool later);
    void reportFailure(const QString& path, LogKind kind, const QString& reason);

    QSet<QString> m_reported; // the logs whose failure was told
};

} // namespace telvaro::calllog
