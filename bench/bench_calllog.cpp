#include "calllog/CallLogFile.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace telvaro::calllog;

namespace {

constexpr int kRecords = 100'000;

CallLogRow rowFor(int i)
{
    return {QStringLiteral("Caller number %1").arg(i),
            QStringLiteral("1-416-555-%1").arg(i % 10000),
            QStringLiteral("03-07-2026  09:%1:%2")
                .arg(i / 60 % 60, 2, 10, QLatin1Char('0'))
                .arg(i % 60, 2, 10, QLatin1Char('0')),
            QString::number(101 + i % 900)};
}

// 100,000 calls appended one by one, each opening, appending and closing the
// file as a call does.
void BM_AppendRecords(benchmark::State& st)
{
    for (auto _ : st) {
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/UntitledOut.log");
        for (int i = 0; i < kRecords; ++i) {
            if (!appendRecord(path, LogKind::Outgoing, rowFor(i)))
                st.SkipWithError("append failed");
        }
    }
    st.SetItemsProcessed(st.iterations() * kRecords);
}
BENCHMARK(BM_AppendRecords)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SaveRecords(benchmark::State& st)
{
    QList<CallLogRow> rows;
    for (int i = 0; i < kRecords; ++i)
        rows.append(rowFor(i));
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/UntitledOut.log");
    for (auto _ : st) {
        if (!saveLog(path, LogKind::Outgoing, rows))
            st.SkipWithError("save failed");
    }
    st.SetItemsProcessed(st.iterations() * kRecords);
}
BENCHMARK(BM_SaveRecords)->Unit(benchmark::kMillisecond);

void BM_ReadRecords(benchmark::State& st)
{
    QList<CallLogRow> rows;
    for (int i = 0; i < kRecords; ++i)
        rows.append(rowFor(i));
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/UntitledOut.log");
    saveLog(path, LogKind::Outgoing, rows);
    for (auto _ : st) {
        const QList<CallLogRow> back = readLog(path, LogKind::Outgoing);
        if (back.size() != kRecords || back.back() != rows.back())
            st.SkipWithError("read back differs");
        benchmark::DoNotOptimize(back);
    }
    st.SetItemsProcessed(st.iterations() * kRecords);
}
BENCHMARK(BM_ReadRecords)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
