// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the INI parser and checks what must hold for any
// file: the file comes back byte for byte (line ends as CR LF), reads never
// fail, and a written value reads back as written, blanks around it aside
// (the tail of the input is the value).
#include "FuzzSupport.h"
#include "settings/Cp1252.h"
#include "settings/IniFile.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

using telvaro::IniFile;

namespace {

QByteArray withCrLf(const QByteArray& in)
{
    QByteArray out;
    out.reserve(in.size() + in.size() / 8);
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '\n' && (i == 0 || in[i - 1] != '\r'))
            out.append('\r');
        out.append(in[i]);
    }
    return out;
}

// The value as reading gives it back: blanks (spaces, tabs) around it dropped.
QString withoutBlanks(QString v)
{
    while (!v.isEmpty() && (v.front() == u' ' || v.front() == u'\t'))
        v.remove(0, 1);
    while (!v.isEmpty() && (v.back() == u' ' || v.back() == u'\t'))
        v.chop(1);
    return v;
}

// A path that is never created: everything stays in memory.
const QString kPath = QStringLiteral("/nonexistent-telvaro-fuzz/none.ini");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    IniFile ini(kPath);
    ini.parseBytes(bytes);
    FUZZ_CHECK(ini.serialize() == withCrLf(bytes));

    const QStringList sections = ini.sectionNames();
    for (qsizetype i = 0; i < sections.size() && i < 8; ++i) {
        const QStringList keys = ini.keyNames(sections.at(i));
        for (qsizetype k = 0; k < keys.size() && k < 8; ++k)
            FUZZ_CHECK(ini.read(sections.at(i), keys.at(k)).size() <=
                       IniFile::kDefaultBufferSize - 1);
    }

    ini.beginBatch(); // changes stay in memory
    const QString section = sections.isEmpty() ? QStringLiteral("S") : sections.first();
    if (ini.write(section, QStringLiteral("FuzzKey"), QStringLiteral("v42"))) {
        FUZZ_CHECK(ini.read(section, QStringLiteral("fuzzkey")) == QLatin1String("v42"));
        IniFile again(kPath);
        again.parseBytes(ini.serialize());
        FUZZ_CHECK(again.read(section, QStringLiteral("FUZZKEY")) == QLatin1String("v42"));
    }

    QString value =
        telvaro::cp1252::decode(QByteArrayView(bytes).last(std::min<qsizetype>(bytes.size(), 24)));
    value.remove(u'\r').remove(u'\n');
    const QString expected = withoutBlanks(value);
    for (const QString& s : {section, QStringLiteral("Fuzz Values")}) {
        if (!ini.write(s, QStringLiteral("FuzzValue"), value))
            continue;
        FUZZ_CHECK(ini.read(s, QStringLiteral("FuzzValue")) == expected);
        IniFile again(kPath);
        again.parseBytes(ini.serialize());
        FUZZ_CHECK(again.read(s, QStringLiteral("FuzzValue")) == expected);
    }
    // Removing keys keeps every other lookup as a fresh parse sees it.
    const QStringList keys = ini.keyNames(section);
    for (qsizetype k = 0; k < keys.size() && k < 16; k += 2)
        ini.removeKey(section, keys.at(k));
    IniFile fresh(kPath);
    fresh.parseBytes(ini.serialize());
    for (qsizetype k = 0; k < keys.size() && k < 16; ++k)
        FUZZ_CHECK(ini.read(section, keys.at(k)) == fresh.read(section, keys.at(k)));
    ini.removeSection(section);
    return 0;
}
