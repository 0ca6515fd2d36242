// Feeds arbitrary bytes to the call log reader, as an outgoing and as an
// incoming log, and to the exit's pruning. Checks: one row for every line
// after the header; the rows read save and read back as they were (fields
// cleaned of control characters); pruning keeps the header it writes plus
// whole lines of the file, never more lines than it had.
#include "FuzzSupport.h"
#include "calllog/CallLogFile.h"
#include "calllog/Retention.h"

#include <QByteArray>
#include <QDate>
#include <QList>

#include <cstdint>

using namespace telvaro::calllog;

namespace {

QString trimmedRight(const QString& s)
{
    qsizetype end = s.size();
    while (end > 0 && s[end - 1] == u' ')
        --end;
    return s.left(end);
}

void roundTrip(const QByteArray& bytes, LogKind kind)
{
    const QList<CallLogRow> rows = parseLog(bytes, kind);
    const qsizetype lines = bytes.count('\n') + (bytes.isEmpty() || bytes.endsWith('\n') ? 0 : 1);
    FUZZ_CHECK(rows.size() == std::max<qsizetype>(0, lines - 2));
    const QList<CallLogRow> back =
        parseLog(serializeLog(kind, rows, HeaderVariant::Retention), kind);
    FUZZ_CHECK(back.size() == rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        FUZZ_CHECK(kind == LogKind::Outgoing || rows[i].entryKey.isEmpty());
        const CallLogRow clean = cleanRow(rows[i]);
        const CallLogRow expected{trimmedRight(clean.name), trimmedRight(clean.number),
                                  trimmedRight(clean.dateTime), trimmedRight(clean.entryKey)};
        FUZZ_CHECK(back[i] == expected);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    roundTrip(bytes, LogKind::Outgoing);
    roundTrip(bytes, LogKind::Incoming);

    const int days = size > 0 ? data[0] % 40 : 5;
    const QByteArray pruned = prunedLog(bytes, days, QDate(2027, 1, 1));
    const QByteArray header = headerBytes(HeaderVariant::Retention);
    FUZZ_CHECK(pruned.startsWith(header));
    const QList<QByteArray> kept = pruned.mid(header.size()).split('\n');
    FUZZ_CHECK(kept.size() <= bytes.count('\n') + 2);
    for (const QByteArray& line : kept) {
        const QByteArray body = line.endsWith('\r') ? line.chopped(1) : line;
        FUZZ_CHECK(body.isEmpty() || bytes.contains(body));
    }
    return 0;
}
