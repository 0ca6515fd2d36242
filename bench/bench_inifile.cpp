// SPDX-License-Identifier: GPL-3.0-or-later
// The settings store with a full directory: both tab modes, all 26 tabs of
// 996 slots with a name, a number and a 200-character note log each (51,792
// entries, about 155,000 keys). Parsing the whole file, reading one key and
// writing one key (the full durable write) each stay under 50 ms.
#include "settings/IniFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using telvaro::IniFile;

namespace {

QByteArray entryKey(int tab, int slot)
{
    return QByteArray::number(tab).rightJustified(2, '0') +
           QByteArray::number(slot).rightJustified(2, '0');
}

QByteArray fullDirectory()
{
    QByteArray speed = "[Speed Dial]\r\n";
    QByteArray memo = "[MemoLog]\r\n";
    QByteArray note(199, 'n');
    for (int i = 0; i < note.size(); i += 40)
        note[i] = '@'; // line breaks of the log as they are stored
    note.append('\xDE');
    for (const char* prefix : {"", "N"}) {
        for (int tab = 1; tab <= 26; ++tab) {
            for (int slot = 1; slot <= 996; ++slot) {
                const QByteArray key = entryKey(tab, slot);
                speed += QByteArray(prefix) + "Name" + key + "=Entry " + key + " Someone Smith\r\n";
                speed += QByteArray(prefix) + "Number" + key + "=+1 (555) 01" + key + "\r\n";
                memo += (*prefix ? "LLog" : "Log") + key + "=" + note + "\r\n";
            }
        }
    }
    QByteArray tabs = "[TabName]\r\n";
    for (int tab = 1; tab <= 26; ++tab)
        tabs += "Tab" + QByteArray::number(tab) + "=Subject " + QByteArray::number(tab) + "\r\n";
    return "The following lines are required by Telvaro - do NOT edit or remove\r\n\r\n"
           "[Profile]\r\nName=Home.tlx\r\n[Preferences]\r\nMode=1\r\n"
           "[Last Dialed Numbers]\r\nCount= 1\r\nLast Dialed No 0=5551234\r\n" +
           tabs + speed + memo;
}

struct Fixture
{
    // On the disk of the build tree, not in a memory file system, so that
    // the durable write pays for its flush.
    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/bench-XXXXXX")};
    QString path = dir.path() + QStringLiteral("/Telvaro.ini");
    Fixture()
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(fullDirectory()) < 0)
            std::abort();
    }
};

void BM_ParseWholeFile(benchmark::State& state)
{
    Fixture fx;
    for (auto _ : state) {
        IniFile ini(fx.path);
        benchmark::DoNotOptimize(ini.read(u"Speed Dial", u"NName26996"));
    }
    state.counters["bytes"] = double(QFile(fx.path).size());
}

void BM_ReadOneKey(benchmark::State& state)
{
    Fixture fx;
    IniFile ini(fx.path);
    ini.read(u"Profile", u"Name");
    for (auto _ : state)
        benchmark::DoNotOptimize(ini.read(u"MemoLog", u"LLog13500"));
}

void BM_WriteOneKey(benchmark::State& state)
{
    Fixture fx;
    IniFile ini(fx.path);
    ini.read(u"Profile", u"Name");
    int i = 0;
    for (auto _ : state) {
        if (!ini.write(u"Speed Dial", u"Name13500", QString::number(++i)))
            state.SkipWithError("write failed");
    }
}

} // namespace

BENCHMARK(BM_ParseWholeFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadOneKey)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteOneKey)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
