// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes as a modem's answer, cut into pieces of random sizes
// as reads from the port deliver them, through the port's line splitting and
// the parsing of result codes, RING and caller ID lines. Checks: the lines do
// not depend on how the bytes were cut (unless a line grew past the longest
// answer and was dropped); no line holds a line end or is blank; a line is at
// most one of final result, RING and caller ID; a caller ID line's value has
// no blanks around it and is empty when withheld or unavailable.
//
// Input: one byte N, N bytes of piece sizes, one byte that repeats the rest
// (to make lines of 20 kB from short inputs), then the bytes the modem sends.
#include "FuzzSupport.h"
#include "core/telephony/lineapi/AtPort.h"
#include "core/telephony/lineapi/AtResponse.h"

#include <QStringList>

#include <cstdint>

using namespace telvaro;

namespace {

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

void checkLine(const QString& raw)
{
    FUZZ_CHECK(!raw.contains(u'\r') && !raw.contains(u'\n') && !raw.toLatin1().trimmed().isEmpty());
    // As the port hands each line on.
    const QString line = raw.trimmed();
    const AtResult result = parseResult(line);
    const bool ring = isRing(line);
    const std::optional<CallerIdLine> cid = parseCallerIdLine(line);
    FUZZ_CHECK(int(result != AtResult::None) + int(ring) + int(cid.has_value()) <= 1);
    if (cid) {
        FUZZ_CHECK(!(cid->withheld && cid->unavailable));
        FUZZ_CHECK(cid->value == cid->value.trimmed());
        if (cid->withheld || cid->unavailable)
            FUZZ_CHECK(cid->value.isEmpty());
        if (cid->name)
            FUZZ_CHECK(!cid->name->isEmpty() && *cid->name == cid->name->trimmed());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    QList<qsizetype> pieces;
    for (int n = in.byte() % 16; n > 0; --n)
        pieces << 1 + qsizetype(in.byte()) * (in.atEnd() ? 1 : 3);
    const int repeat = 1 + in.byte() % 64;
    QByteArray stream;
    const QByteArrayView rest = in.rest();
    for (int i = 0; i < repeat && stream.size() < 40000; ++i)
        stream += rest;
    if (pieces.isEmpty())
        pieces << stream.size() + 1;

    AtLineSplitter splitter;
    QStringList lines;
    bool dropped = false;
    for (qsizetype at = 0, i = 0; at < stream.size(); ++i) {
        const qsizetype n = std::min(pieces[i % pieces.size()], stream.size() - at);
        splitter.append(QByteArrayView(stream).sliced(at, n));
        at += n;
        while (const std::optional<QString> line = splitter.next()) {
            checkLine(*line);
            lines << *line;
        }
        dropped |= splitter.dropOverlong();
        FUZZ_CHECK(splitter.pending() <= AtLineSplitter::kMaxLine);
    }
    if (dropped)
        return 0;

    // The same bytes split in one piece.
    QStringList whole;
    qsizetype start = 0;
    for (qsizetype i = 0; i < stream.size(); ++i) {
        if (!isLineEnd(stream[i]))
            continue;
        const QByteArray raw = stream.mid(start, i - start);
        if (!raw.trimmed().isEmpty())
            whole << QString::fromLatin1(raw);
        start = i + 1;
    }
    FUZZ_CHECK(lines == whole);
    FUZZ_CHECK(splitter.pending() == stream.size() - start);
    return 0;
}
