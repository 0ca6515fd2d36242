// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the [Preferences] section of a settings file whose values are any
// bytes, as a start-up does, then presses OK in the options dialog. Checks:
// every spin bar stays in its range; after OK every number box holds a whole
// number the rest of the program reads as a count of at least 0; OK's write
// fails exactly when a value cannot be stored; and what OK writes, read by
// the next start, gives the same options again.
//
// Input: for each key of the section in its order a flag (key present) and
// the value's bytes; then the rest of the file.
#include "FuzzSupport.h"
#include "core/dialing/DialString.h"
#include "core/options/Preferences.h"
#include "settings/IniFile.h"
#include "settings/OptionsStore.h"

#include <cstdint>

using namespace telvaro;
using S = OptionsStore;

namespace {

const QString kPath = QStringLiteral("/nonexistent-telvaro-fuzz/Telvaro.ini");

constexpr S::Text kNumberBoxes[] = {S::TxtRedial, S::txtMinutes, S::txtSeconds,
                                    S::txtDays,   S::txtInDays,  S::txtDelayTimer};

QString withoutBlanks(QString v)
{
    while (!v.isEmpty() && (v.front() == u' ' || v.front() == u'\t'))
        v.remove(0, 1);
    while (!v.isEmpty() && (v.back() == u' ' || v.back() == u'\t'))
        v.chop(1);
    return v;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    QByteArray file = "[Preferences]\r\n";
    for (const QString& key : preferences::writeOrder()) {
        if (in.flag())
            file += key.toLatin1() + '=' + in.bytes().toByteArray() + "\r\n";
    }
    file += in.rest().toByteArray();
    IniFile ini(kPath);
    ini.parseBytes(file);

    S store;
    applyPreferences(ini, store);
    for (const S::Text t : kNumberBoxes) {
        FUZZ_CHECK(store.spinValue(t) >= S::spinMinimum(t) &&
                   store.spinValue(t) <= S::spinMaximum(t));
    }
    correctForOk(store);
    for (const S::Text t : kNumberBoxes) {
        const QString text = store.text(t).trimmed();
        FUZZ_CHECK(!text.isEmpty());
        for (const QChar c : text)
            FUZZ_CHECK(c >= u'0' && c <= u'9');
        FUZZ_CHECK(dialstr::leadingNumber(text) >= 0);
    }

    // A device name with a line break cannot be stored: that write, and only
    // that one, is a failure.
    const QString modem = store.text(S::cmbLineDevices);
    const bool storable = !modem.contains(u'\r') && !modem.contains(u'\n');
    IniFile saved(kPath);
    saved.beginBatch(); // stays in memory
    FUZZ_CHECK(writePreferences(saved, store).ok() == storable);
    IniFile next(kPath);
    next.parseBytes(saved.serialize());
    S again;
    applyPreferences(next, again);
    for (int c = 0; c < S::CheckCount; ++c)
        FUZZ_CHECK(again.check(S::Check(c)) == store.check(S::Check(c)));
    for (int o = 0; o < S::OptionCount; ++o)
        FUZZ_CHECK(again.isSelected(S::Option(o)) == store.isSelected(S::Option(o)));
    for (const S::Text t : kNumberBoxes) {
        FUZZ_CHECK(again.text(t) == store.text(t).trimmed());
        FUZZ_CHECK(again.spinValue(t) == store.spinValue(t));
    }
    FUZZ_CHECK(again.selectedLineDevice() == store.selectedLineDevice());
    if (storable && !withoutBlanks(modem).isEmpty())
        FUZZ_CHECK(withoutBlanks(again.text(S::cmbLineDevices)) == withoutBlanks(modem));
    return 0;
}
