// Feeds arbitrary bytes to the call log reader and the exit's pruning and
// checks what must hold for any file: the rows read save and read back as
// they were (fields cleaned of control characters), and pruning keeps the
// header it writes plus whole lines of the file, never more lines than it had.
#include "calllog/CallLogFile.h"
#include "calllog/Retention.h"

#include <QByteArray>
#include <QDate>
#include <QList>

#include <cstdint>
#include <cstdlib>

using namespace telvaro::calllog;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

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
    const QList<CallLogRow> back =
        parseLog(serializeLog(kind, rows, HeaderVariant::Retention), kind);
    check(back.size() == rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const CallLogRow clean = cleanRow(rows[i]);
        const CallLogRow expected{trimmedRight(clean.name), trimmedRight(clean.number),
                                  trimmedRight(clean.dateTime), trimmedRight(clean.entryKey)};
        check(back[i] == expected);
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
    check(pruned.startsWith(header));
    const QList<QByteArray> kept = pruned.mid(header.size()).split('\n');
    check(kept.size() <= bytes.count('\n') + 2);
    for (const QByteArray& line : kept) {
        const QByteArray body = line.endsWith('\r') ? line.chopped(1) : line;
        check(body.isEmpty() || bytes.contains(body));
    }
    return 0;
}
