// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the telephony session record a run leaves in the runtime folder (a
// crashed run's, or one edited or damaged). Checks: a record as written,
// with CR LF line ends, blanks around keys and values and other lines added,
// reads back as written; for any bytes the process id read is 0 or one a
// process can have, every number read stands in the bytes, and what is read
// is written and read again unchanged.
//
// Input: four bytes of LineApp, four of a process id, one of the form, then
// the bytes of a record found in the folder.
#include "FuzzSupport.h"
#include "core/telephony/LineService.h"

#include <cstdint>
#include <limits>
#include <sys/types.h>

using namespace telvaro;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    SessionRecord record;
    for (int i = 0; i < 4; ++i)
        record.lineApp = record.lineApp << 8 | in.byte();
    quint32 pid = 0;
    for (int i = 0; i < 4; ++i)
        pid = pid << 8 | in.byte();
    record.pid = 1 + qint64(pid % quint32(std::numeric_limits<pid_t>::max()));
    const uint8_t form = in.byte();
    QByteArray written = sessionRecordBytes(record);
    if (form & 1)
        written.replace("\n", "\r\n");
    if (form & 2)
        written.replace("=", " = ").prepend("  ");
    if (form & 4)
        written.prepend("# an older run\nversion=2\n");
    if (form & 8)
        written.chop(1); // the last line end cut off
    const SessionRecord back = parseSessionRecord(written);
    FUZZ_CHECK(back.lineApp == record.lineApp && back.pid == record.pid);

    const QByteArrayView found = in.rest();
    const SessionRecord r = parseSessionRecord(found);
    FUZZ_CHECK(r.pid >= 0 && r.pid <= std::numeric_limits<pid_t>::max());
    if (r.pid > 0)
        FUZZ_CHECK(found.contains(QByteArray::number(r.pid)));
    if (r.lineApp > 0)
        FUZZ_CHECK(found.contains(QByteArray::number(r.lineApp)));
    const SessionRecord again = parseSessionRecord(sessionRecordBytes(r));
    FUZZ_CHECK(again.lineApp == r.lineApp && again.pid == r.pid);
    return 0;
}
