// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes, as they arrive from a later start on the instance
// socket, to the message decoding, and checks it against the encoding: a
// whole message never reaches past the bytes received or past the largest
// message, its text holds no NUL, and every prefix of it is incomplete.
#include "FuzzSupport.h"
#include "settings/Cp1252.h"
#include "platform/SingleInstance.h"

#include <cstdint>

using telvaro::SingleInstance;
using Status = SingleInstance::Decoded::Status;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const SingleInstance::Decoded d = SingleInstance::decodeMessage(bytes);
    if (d.status == Status::Complete) {
        FUZZ_CHECK(d.size >= 8 && d.size <= bytes.size() && d.size <= SingleInstance::kMaxMessage);
        FUZZ_CHECK(!d.text.contains(QChar(0)) && d.text.size() <= d.size - 8);
        const SingleInstance::Decoded shorter =
            SingleInstance::decodeMessage(bytes.first(d.size - 1));
        FUZZ_CHECK(shorter.status == Status::Incomplete);
        // What a later start would send for this text decodes to it again.
        const QByteArray again = SingleInstance::encodeMessage(d.tag, d.text);
        const SingleInstance::Decoded back = SingleInstance::decodeMessage(again);
        FUZZ_CHECK(back.status == Status::Complete && back.size == again.size());
        FUZZ_CHECK(back.tag == d.tag && back.text == d.text.left(SingleInstance::kMaxText));
    } else if (d.status == Status::Refused) {
        FUZZ_CHECK(bytes.size() >= 8);
    } else {
        FUZZ_CHECK(bytes.size() < SingleInstance::kMaxMessage);
    }
    // Any text sent decodes to the text cut to its first NUL and to the
    // longest text allowed.
    const QString text =
        telvaro::cp1252::decode(bytes.first(std::min<qsizetype>(bytes.size(), 300)));
    const QByteArray message = SingleInstance::encodeMessage(SingleInstance::kDialTag, text);
    const SingleInstance::Decoded sent = SingleInstance::decodeMessage(message);
    FUZZ_CHECK(sent.status == Status::Complete && sent.tag == SingleInstance::kDialTag);
    const qsizetype nul = text.indexOf(QChar(0));
    FUZZ_CHECK(sent.text == text.left(SingleInstance::kMaxText).left(nul < 0 ? text.size() : nul));
    return 0;
}
