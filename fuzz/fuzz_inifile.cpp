// Feeds arbitrary bytes to the INI parser and checks what must hold for any
// file: the file comes back byte for byte (line ends as CR LF), reads never
// fail, and a written value reads back.
#include "app/IniFile.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

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

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // A path that is never created: everything stays in memory.
    IniFile ini(QStringLiteral("/nonexistent-telvaro-fuzz/none.ini"));
    ini.parseBytes(bytes);
    check(ini.serialize() == withCrLf(bytes));

    const QStringList sections = ini.sectionNames();
    for (qsizetype i = 0; i < sections.size() && i < 8; ++i) {
        const QStringList keys = ini.keyNames(sections.at(i));
        for (qsizetype k = 0; k < keys.size() && k < 8; ++k)
            check(ini.read(sections.at(i), keys.at(k)).size() <= IniFile::kDefaultBufferSize - 1);
    }

    ini.beginBatch(); // changes stay in memory
    const QString section = sections.isEmpty() ? QStringLiteral("S") : sections.first();
    if (ini.write(section, QStringLiteral("FuzzKey"), QStringLiteral("v42"))) {
        check(ini.read(section, QStringLiteral("fuzzkey")) == QLatin1String("v42"));
        IniFile again(QStringLiteral("/nonexistent-telvaro-fuzz/none.ini"));
        again.parseBytes(ini.serialize());
        check(again.read(section, QStringLiteral("FUZZKEY")) == QLatin1String("v42"));
    }
    // Removing keys keeps every other lookup as a fresh parse sees it.
    const QStringList keys = ini.keyNames(section);
    for (qsizetype k = 0; k < keys.size() && k < 16; k += 2)
        ini.removeKey(section, keys.at(k));
    IniFile fresh(QStringLiteral("/nonexistent-telvaro-fuzz/none.ini"));
    fresh.parseBytes(ini.serialize());
    for (qsizetype k = 0; k < keys.size() && k < 16; ++k)
        check(ini.read(section, keys.at(k)) == fresh.read(section, keys.at(k)));
    ini.removeSection(section);
    return 0;
}
