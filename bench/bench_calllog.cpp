// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calllog/CallLogFile.h"
#include "core/calllog/CallLogModel.h"
#include "core/calllog/Retention.h"
#include "core/common/CurrentProfile.h"
#include "core/common/Helpers.h"
#include "core/common/Prompter.h"
#include "gui/calllog/FrmLog.h"
#include "gui/calllog/LogPrinting.h"

#include <QApplication>
#include <QItemSelection>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace telvaro;
using namespace telvaro::calllog;

namespace {

constexpr int kRecords = 100'000;

// The log window's questions get their default answers.
class DefaultAnswers final : public Prompter
{
public:
    MsgResult message(QWidget*, const MessageRequest& r) override
    {
        return buttonsOf(r.buttons).value(r.defaultButton - 1, MsgResult::Ok);
    }
    std::optional<QString> input(QWidget*, const InputRequest&) override { return {}; }
    std::optional<QString> openFile(QWidget*, const FileRequest&) override { return {}; }
    std::optional<QString> saveFile(QWidget*, const FileRequest&) override { return {}; }
};

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
    (void)saveLog(path, LogKind::Outgoing, rows);
    for (auto _ : st) {
        const QList<CallLogRow> back = readLog(path, LogKind::Outgoing);
        if (back.size() != kRecords || back.back() != rows.back())
            st.SkipWithError("read back differs");
        benchmark::DoNotOptimize(back);
    }
    st.SetItemsProcessed(st.iterations() * kRecords);
}
BENCHMARK(BM_ReadRecords)->Unit(benchmark::kMillisecond);

// The data folder holds an outgoing log of 100,000 calls spread over 2026
// (about 12 MB).
struct LogFixture
{
    QTemporaryDir dir;
    QString path;
    // What the log window is handed: no questions answered, no printer.
    std::unique_ptr<PrintDevices> printers = systemPrintDevices();
    CurrentProfile profile;
    DefaultAnswers answers;
    CallLogWriter logs;
    LogServices services{answers, *printers, profile, logs};
    LogFixture()
    {
        qputenv("TELVARO_DATA_DIR", QFile::encodeName(dir.path()));
        path = dir.path() + QStringLiteral("/UntitledOut.log");
        QList<CallLogRow> rows;
        rows.reserve(kRecords);
        for (int i = 0; i < kRecords; ++i) {
            CallLogRow r = rowFor(i);
            const QDate day = QDate(2026, 1, 1).addDays((qint64(i) * 7919) % 365);
            r.dateTime = day.toString(QStringLiteral("MM-dd-yyyy")) + r.dateTime.mid(10);
            r.name = QStringLiteral("%1 Caller").arg((qint64(i) * 104729) % kRecords);
            rows.append(r);
        }
        (void)saveLog(path, LogKind::Outgoing, rows);
    }
};

LogFixture& fixture()
{
    static LogFixture f;
    return f;
}

// Opening the window: the file read, sorted newest first and shown.
void BM_WindowOpenAndShow(benchmark::State& st)
{
    fixture();
    for (auto _ : st) {
        auto w = std::make_unique<FrmOutLog>(fixture().services);
        w->load();
        w->show();
        QCoreApplication::processEvents();
        if (w->model().rowCount() != kRecords)
            st.SkipWithError("rows missing");
        st.PauseTiming(); // closing is not opening
        w.reset();
        st.ResumeTiming();
    }
}
BENCHMARK(BM_WindowOpenAndShow)->Unit(benchmark::kMillisecond);

// A click on a column head (name, number, date and time).
void BM_WindowSortColumn(benchmark::State& st)
{
    FrmOutLog w(fixture().services);
    w.load();
    w.show();
    QCoreApplication::processEvents();
    for (auto _ : st) {
        w.columnClick(int(st.range(0)));
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_WindowSortColumn)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Deleting 33,000 selected rows: one block (Shift+click), or every third row
// (Ctrl+clicks, the hardest selection).
void BM_WindowDeleteSelection(benchmark::State& st)
{
    FrmOutLog w(fixture().services);
    w.show();
    const bool scattered = st.range(0) == 1;
    for (auto _ : st) {
        st.PauseTiming();
        w.load();
        QCoreApplication::processEvents();
        QItemSelection selection;
        const QAbstractItemModel* m = &w.model();
        if (scattered) {
            for (int r = 0; r < 99'000; r += 3)
                selection.append(QItemSelectionRange(m->index(r, 0), m->index(r, 3)));
        } else {
            selection.select(m->index(1000, 0), m->index(33'999, 3));
        }
        w.findChild<QTableView*>()->selectionModel()->select(selection,
                                                             QItemSelectionModel::Select);
        st.ResumeTiming();
        w.deleteSelected();
        QCoreApplication::processEvents();
        if (w.model().rowCount() != kRecords - 33'000)
            st.SkipWithError("wrong rows deleted");
    }
}
BENCHMARK(BM_WindowDeleteSelection)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Save: the table sorted oldest first and the file rewritten.
void BM_WindowSave(benchmark::State& st)
{
    FrmOutLog w(fixture().services);
    w.load();
    for (auto _ : st) {
        if (!w.save())
            st.SkipWithError("save failed");
    }
}
BENCHMARK(BM_WindowSave)->Unit(benchmark::kMillisecond);

// Save as the user meets it: a shown window sorted newest first; the table
// turns oldest first, the file is rewritten and the view shows the result.
void BM_WindowSaveShown(benchmark::State& st)
{
    FrmOutLog w(fixture().services);
    w.load();
    w.show();
    QCoreApplication::processEvents();
    for (auto _ : st) {
        st.PauseTiming();
        const auto newestFirst = [&w] {
            return w.model().row(kRecords - 1).dateTime < w.model().row(0).dateTime;
        };
        if (!newestFirst())
            w.columnClick(CallLogModel::DateColumn); // every click turns the order over
        QCoreApplication::processEvents();
        if (!newestFirst()) {
            st.SkipWithError("not newest first");
            break;
        }
        st.ResumeTiming();
        if (!w.save())
            st.SkipWithError("save failed");
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_WindowSaveShown)->Unit(benchmark::kMillisecond);

// The exit's pruning of one log: the backup copy and the rewrite (half kept).
void BM_PruneAtExit(benchmark::State& st)
{
    const QString source = fixture().path;
    QTemporaryDir dir;
    const QString log = dir.path() + QStringLiteral("/UntitledOut.log");
    const QString backup = dir.path() + QStringLiteral("/UntitledOut.bak");
    for (auto _ : st) {
        st.PauseTiming();
        QFile::remove(log);
        QFile::copy(source, log);
        st.ResumeTiming();
        if (!CopyTextFile(log, backup) || !trimCallLog(log, backup, 182, QDate(2026, 12, 31)))
            st.SkipWithError("prune failed");
    }
}
BENCHMARK(BM_PruneAtExit)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
