// SPDX-License-Identifier: GPL-3.0-or-later
// Reads other programs' UUCP lock files. Checks: an id written the way serial
// programs write it (text, right-aligned or not, with or without a line end;
// or the old four-byte binary form) reads back as that id; for any bytes, an
// id read is either the leading decimal number of a text lock or the value of
// a four-byte binary lock, and never more than a process id can be; text that
// is not a number is never taken for a binary id.
//
// Input: three bytes of a process id, one byte choosing its form, then the
// bytes of a lock file of some other program.
#include "FuzzSupport.h"
#include "core/telephony/lineapi/UucpLock.h"

#include <cstdint>

using telvaro::UucpLock;

namespace {

constexpr qint64 kLargestPid = qint64(1) << 22;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isText(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (!isBlank(c) && (c < 0x20 || c > 0x7e))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    telvaro::fuzz::Input in(data, size);
    const qint64 pid =
        1 + (qint64(in.byte()) | qint64(in.byte()) << 8 | qint64(in.byte()) << 16) % kLargestPid;
    const uint8_t form = in.byte();
    QByteArray lock = QByteArray::number(pid);
    if (form & 1)
        lock = lock.rightJustified(10, ' ');
    if (form & 2)
        lock += form & 4 ? "\r\n" : "\n";
    FUZZ_CHECK(UucpLock::ownerOfBytes(lock) == pid);
    const char binary[4] = {char(pid), char(pid >> 8), char(pid >> 16), char(pid >> 24)};
    FUZZ_CHECK(UucpLock::ownerOfBytes(QByteArrayView(binary, 4)) == pid);

    const QByteArrayView other = in.rest();
    const qint64 owner = UucpLock::ownerOfBytes(other);
    FUZZ_CHECK(owner >= 0 && owner <= kLargestPid);
    if (owner == 0)
        return 0;
    if (other.size() == 4 && !isText(other)) {
        FUZZ_CHECK((quint8(other[0]) | quint8(other[1]) << 8 | quint8(other[2]) << 16 |
                    quint32(quint8(other[3])) << 24) == quint32(owner));
        return 0;
    }
    // A text lock: the number after the blanks, ended by a blank or the end.
    FUZZ_CHECK(isText(other));
    const QByteArray trimmed = other.toByteArray().trimmed();
    qsizetype zeros = 0;
    while (zeros < trimmed.size() && trimmed[zeros] == '0')
        ++zeros;
    const QByteArray digits = QByteArray::number(owner);
    const qsizetype end = zeros + digits.size();
    FUZZ_CHECK(trimmed.mid(zeros).startsWith(digits) &&
               (trimmed.size() == end || isBlank(trimmed[end])));
    return 0;
}
