// SPDX-License-Identifier: GPL-3.0-or-later
// Builds caller ID messages as a modem prints them (MESG = the data block in
// hexadecimal: type 0x80, length, parameters, checksum) from random fields,
// in upper or lower case, with or without blanks between the bytes, with
// date, unknown parameters and the checksum there or not. Checks: the line
// parses back to the same caller: the number (blanks around it dropped) or
// the reason it is absent (P withheld, O unavailable), and the name (blanks
// around it dropped, none when empty), read as Windows-1252.
//
// Input: flags, the number (its bytes mapped to dial characters), the name
// (its bytes mapped to printable Windows-1252), then unknown parameters.
#include "FuzzSupport.h"
#include "settings/Cp1252.h"
#include "core/telephony/lineapi/AtResponse.h"

#include <cstdint>

using namespace telvaro;

namespace {

void addParam(QByteArray& body, uint8_t type, const QByteArray& value)
{
    body += char(type);
    body += char(value.size());
    body += value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    const uint8_t flags = in.byte();
    static const char kDial[] = "0123456789 +-()#*";
    QByteArray number;
    for (const char c : in.bytes())
        number += kDial[uint8_t(c) % (sizeof kDial - 1)];
    number.truncate(40);
    QByteArray name;
    for (const char c : in.bytes()) {
        const auto u = uint8_t(c);
        name += char(u < 0x20 ? 0x20 + u : u == 0x7f || (u >= 0x80 && u < 0xa0) ? 'A' + u % 26 : u);
    }
    name.truncate(80);

    QByteArray body;
    if (flags & 1)
        addParam(body, 0x01, "12250930"); // date and time
    const int absent = (flags >> 1) % 3;  // 0 number given, 1 withheld, 2 unavailable
    if (absent == 0)
        addParam(body, 0x02, number);
    else
        addParam(body, 0x04, absent == 1 ? "P" : "O");
    if (flags & 8)
        addParam(body, 0x07, name);
    // Parameters the parser does not know (call type, name absent ...).
    for (QByteArrayView extra = in.rest(); extra.size() >= 2 && body.size() < 200;) {
        uint8_t type = uint8_t(extra[0]);
        if (type == 0x02 || type == 0x04 || type == 0x07)
            type = 0x11;
        const qsizetype n = std::min<qsizetype>(uint8_t(extra[1]) % 16, extra.size() - 2);
        addParam(body, type, extra.sliced(2, n).toByteArray());
        extra = extra.sliced(2 + n);
    }
    QByteArray block = QByteArray(1, char(0x80)) + char(body.size()) + body;
    if (flags & 16) {
        char sum = 0;
        for (const char b : block)
            sum = char(sum + b);
        block += char(-sum);
    }
    QByteArray hex = block.toHex(flags & 32 ? ' ' : '\0');
    if (!(flags & 64))
        hex = hex.toUpper();
    const QString line = QString::fromLatin1("MESG = " + hex);

    const std::optional<CallerIdLine> cid = parseCallerIdLine(line);
    FUZZ_CHECK(cid.has_value());
    FUZZ_CHECK(cid->field == CallerIdLine::Number);
    FUZZ_CHECK(cid->withheld == (absent == 1) && cid->unavailable == (absent == 2));
    FUZZ_CHECK(cid->value == (absent == 0 ? QString::fromLatin1(number).trimmed() : QString()));
    const QString expectedName = cp1252::decode(name).trimmed();
    if ((flags & 8) && !expectedName.isEmpty())
        FUZZ_CHECK(cid->name == expectedName);
    else
        FUZZ_CHECK(!cid->name.has_value());
    return 0;
}
