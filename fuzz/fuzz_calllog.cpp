// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the call log reader, as an outgoing and as an
// incoming log, and to the exit's pruning. The lines and the header are found
// here on their own terms (CR LF, LF or CR ends a line; the warning as line 1
// and the print note after it as line 2 are the header; a line of blanks holds
// no call). Checks: every record line is a row, whose fields are bytes of that
// line; the rows save and read back as they were, each field with the same
// bytes; pruning keeps exactly the record lines that do not have a readable
// date older than the days kept, each with its bytes.
#include "FuzzSupport.h"
#include "settings/Cp1252.h"
#include "core/calllog/CallLogFile.h"
#include "core/calllog/Retention.h"

#include <QByteArray>
#include <QDate>
#include <QList>

#include <cstdint>

using namespace telvaro;
using namespace telvaro::calllog;

namespace {

// The lines that are neither header nor blank, in order.
QList<QByteArray> recordLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    QByteArray current;
    bool open = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.append(current);
            current.clear();
            open = false;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            current.append(c);
            open = true;
        }
    }
    if (open)
        lines.append(current);
    QList<QByteArray> records;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        const bool warning = lines[0] == "Warning: This file is not to be edited!!!";
        if ((i == 0 && warning) ||
            (i == 1 && warning && line.startsWith("To print this file in the tabular format use")))
            continue;
        if (line.trimmed().isEmpty())
            continue;
        records.append(line);
    }
    return records;
}

// True for a record whose date ("mm-dd-yyyy" at its 99th byte) can be read
// and is more than `days` days before `today`.
bool oldRecord(const QByteArray& line, int days, const QDate& today)
{
    if (line.size() < 108)
        return false;
    const QByteArray d = line.mid(98, 10);
    for (int i : {0, 1, 3, 4, 6, 7, 8, 9}) {
        if (d[i] < '0' || d[i] > '9')
            return false;
    }
    if (d[2] != '-' || d[5] != '-')
        return false;
    const QDate date(d.mid(6, 4).toInt(), d.mid(0, 2).toInt(), d.mid(3, 2).toInt());
    return date.isValid() && date.daysTo(today) > days;
}

void roundTrip(const QByteArray& bytes, const QList<QByteArray>& records, LogKind kind)
{
    const QList<CallLogRow> rows = parseLog(bytes, kind);
    FUZZ_CHECK(rows.size() == records.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        FUZZ_CHECK(kind == LogKind::Outgoing || rows[i].entryKey.isEmpty());
        for (const QString* field :
             {&rows[i].name, &rows[i].number, &rows[i].dateTime, &rows[i].entryKey})
            FUZZ_CHECK(records[i].contains(cp1252::encode(*field)));
    }
    const QByteArray saved = serializeLog(kind, rows, HeaderVariant::Retention);
    QByteArray recordByRecord = headerBytes(HeaderVariant::Retention);
    for (const CallLogRow& row : rows)
        recordByRecord += cp1252::encode(formatRecord(row, kind)) + "\r\n";
    FUZZ_CHECK(saved == recordByRecord);
    const QList<CallLogRow> back = parseLog(saved, kind);
    FUZZ_CHECK(back.size() == rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        FUZZ_CHECK(back[i] == rows[i]);
        FUZZ_CHECK(cp1252::encode(formatRecord(back[i], kind)) ==
                   cp1252::encode(formatRecord(rows[i], kind)));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<QByteArray> records = recordLines(bytes);
    roundTrip(bytes, records, LogKind::Outgoing);
    roundTrip(bytes, records, LogKind::Incoming);

    const int days = size > 0 ? data[0] % 40 : 5;
    const QDate today(2027, 1, 1);
    QByteArray expected = headerBytes(HeaderVariant::Retention);
    for (const QByteArray& line : records) {
        if (!oldRecord(line, days, today))
            expected += line + "\r\n";
    }
    FUZZ_CHECK(prunedLog(bytes, days, today) == expected);
    return 0;
}
