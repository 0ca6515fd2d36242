// SPDX-License-Identifier: GPL-3.0-or-later
// Runs every fuzz target once over each file of its seed folder
// (fuzz/seeds/<target>/), so that every input that ever found a fault keeps
// being tested in the normal test build. Prints "N passed, 0 failed"; a
// failed property aborts with the target's report and the input's path.
#include "FuzzSupport.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdio>

#define TELVARO_FUZZ_TARGET(name) extern "C" int fuzzOne_##name(const uint8_t*, size_t);
#include "FuzzTargets.h"
#undef TELVARO_FUZZ_TARGET

namespace {

struct Target
{
    const char* name;
    int (*run)(const uint8_t*, size_t);
};

const Target kTargets[] = {
#define TELVARO_FUZZ_TARGET(name) {#name, fuzzOne_##name},
#include "FuzzTargets.h"
#undef TELVARO_FUZZ_TARGET
};

} // namespace

int main(int argc, char** argv)
{
    const QString seeds =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(TELVARO_FUZZ_SEEDS);
    int passed = 0;
    int failed = 0;
    for (const Target& t : kTargets) {
        const QDir dir(seeds + u'/' + QLatin1String(t.name));
        const QStringList files = dir.entryList(QDir::Files, QDir::Name);
        if (files.isEmpty()) {
            std::fprintf(stderr, "%s: no seed files in %s\n", t.name, qPrintable(dir.path()));
            ++failed;
            continue;
        }
        for (const QString& f : files) {
            const QByteArray path = QFile::encodeName(dir.filePath(f));
            QFile file(dir.filePath(f));
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", path.constData());
                ++failed;
                continue;
            }
            const QByteArray bytes = file.readAll();
            telvaro::fuzz::currentInput = path.constData();
            t.run(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
            telvaro::fuzz::currentInput = nullptr;
            ++passed;
        }
        std::printf("%s: %lld seed files\n", t.name, static_cast<long long>(files.size()));
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
