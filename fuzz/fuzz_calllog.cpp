// Feeds arbitrary bytes to the call log reader, as an outgoing and as an
// incoming log, and checks that every record read, written back as the
// program writes records, reads again with the same fields.
#include "FuzzSupport.h"
#include "app/Cp1252.h"
#include "calllog/CallLogFile.h"

#include <cstdint>

using namespace telvaro::calllog;

namespace {

void roundTrip(QByteArrayView bytes, LogKind kind, HeaderVariant header)
{
    const QList<CallLogRow> rows = parseLog(bytes, kind);
    // One row for every line after the two header lines.
    const qsizetype lines = bytes.count('\n') + (bytes.isEmpty() || bytes.endsWith('\n') ? 0 : 1);
    FUZZ_CHECK(rows.size() == std::max<qsizetype>(0, lines - 2));

    QByteArray written = headerBytes(header);
    for (const CallLogRow& row : rows) {
        FUZZ_CHECK(kind == LogKind::Outgoing || row.entryKey.isEmpty());
        written += telvaro::cp1252::encode(formatRecord(row, kind));
        written += "\r\n";
    }
    FUZZ_CHECK(parseLog(written, kind) == rows);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    roundTrip(bytes, LogKind::Outgoing, HeaderVariant::Outgoing);
    roundTrip(bytes, LogKind::Incoming, HeaderVariant::Retention);
    return 0;
}
