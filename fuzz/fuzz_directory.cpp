// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the directory from a settings file of any content: entries (names,
// numbers), tab titles and note logs, then saves an entry, a title and a note
// and reads them back, also after the file is written and read anew. Checks:
// nothing read is longer than its buffer or holds a line break a key could
// hide behind; a decoded note never holds its terminator; a saved name,
// number or title reads back with line breaks as blanks and the blanks
// around it dropped; a saved note without "@" (which the stored form keeps
// for line breaks) reads back with CR LF line breaks, and the character 222
// as 254.
//
// Input: the mode, the place, the texts (bytes as Windows-1252), then the file.
#include "FuzzSupport.h"
#include "settings/Cp1252.h"
#include "settings/IniFile.h"
#include "core/directory/DirectoryStore.h"

#include <cstdint>

using namespace telvaro;
using namespace telvaro::directory;

namespace {

const QString kPath = QStringLiteral("/nonexistent-telvaro-fuzz/Telvaro.ini");

QString withoutBlanks(QString v)
{
    while (!v.isEmpty() && (v.front() == u' ' || v.front() == u'\t'))
        v.remove(0, 1);
    while (!v.isEmpty() && (v.back() == u' ' || v.back() == u'\t'))
        v.chop(1);
    return v;
}

// A value as a save stores it: one line.
QString asStored(QString v)
{
    v.replace(QLatin1String("\r\n"), QLatin1String(" "));
    v.replace(u'\r', u' ').replace(u'\n', u' ');
    return withoutBlanks(v);
}

// A note as it comes back: CR LF line breaks, 222 as 254, leading blanks
// dropped with those of the stored value.
QString noteAsRead(QString v)
{
    v.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    v.replace(u'\r', u'\n');
    v.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    v.replace(QChar(kLogTerminator), QChar(0x00FE));
    while (!v.isEmpty() && (v.front() == u' ' || v.front() == u'\t'))
        v.remove(0, 1);
    return v;
}

void checkRead(DirectoryStore& store, bool subject, const QString& key, int tab)
{
    const Entry e = store.readEntry(subject, key);
    FUZZ_CHECK(e.name.size() < kValueBuffer && e.number.size() < kValueBuffer);
    FUZZ_CHECK(!e.name.contains(u'\n') && !e.number.contains(u'\n'));
    FUZZ_CHECK(store.readTabTitle(tab).size() < kValueBuffer);
    const QString stored = store.readNoteLog(subject, key);
    FUZZ_CHECK(stored.size() < kLogBuffer && !stored.contains(u'\n'));
    FUZZ_CHECK(!decodeNoteLog(stored).contains(QChar(kLogTerminator)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    const bool subject = in.flag();
    const int tab = 1 + int(in.below(kTabCount));
    const QString key = entryKey(tab, 1 + int(in.below(kSlotsPerTab)));
    const QString name = cp1252::decode(in.bytes());
    const QString number = cp1252::decode(in.bytes());
    const QString title = cp1252::decode(in.bytes());
    const QString note = cp1252::decode(in.bytes()) + cp1252::decode(in.bytes());

    IniFile ini(kPath);
    ini.parseBytes(in.rest().toByteArray());
    ini.beginBatch(); // changes stay in memory
    DirectoryStore store(ini);
    checkRead(store, subject, key, tab);
    const QStringList keys = ini.keyNames(kSpeedDialSection);
    for (qsizetype i = 0; i < keys.size() && i < 8; ++i) {
        const QString k = keys[i].startsWith(QLatin1String("NName"), Qt::CaseInsensitive)
                              ? keys[i].mid(5)
                              : keys[i].mid(4);
        checkRead(store, keys[i].startsWith(u'N', Qt::CaseInsensitive), k, 1 + i);
    }

    FUZZ_CHECK(store.writeEntryName(subject, key, name));
    FUZZ_CHECK(store.writeEntryNumber(subject, key, number));
    FUZZ_CHECK(store.writeTabTitle(tab, title));
    FUZZ_CHECK(store.writeNoteLog(subject, key, encodeNoteLog(note)));
    IniFile next(kPath);
    next.parseBytes(ini.serialize());
    DirectoryStore reread(next);
    for (DirectoryStore* s : {&store, &reread}) {
        FUZZ_CHECK(s->readName(subject, key) == asStored(name));
        FUZZ_CHECK(s->readNumber(subject, key) == asStored(number));
        FUZZ_CHECK(s->readTabTitle(tab) == asStored(title));
        if (!note.contains(u'@'))
            FUZZ_CHECK(decodeNoteLog(s->readNoteLog(subject, key)) == noteAsRead(note));
        checkRead(*s, subject, key, tab);
    }
    return 0;
}
