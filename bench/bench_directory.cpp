// SPDX-License-Identifier: GPL-3.0-or-later
// Paging and switching tabs with a full directory: 26 tabs x 996 entries in
// both the index and the subject directory, each with a note log. Then the
// whole-tab commands and the sorts on that directory, each with its one
// durable write of the settings file.
#include "core/common/Prompter.h"
#include "core/directory/DirectoryArrange.h"
#include "core/directory/DirectoryStore.h"
#include "gui/directory/DirectoryView.h"
#include "settings/IniFile.h"
#include "settings/SettingsFile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace telvaro;
using namespace telvaro::directory;

namespace {

// Every question of the whole-tab commands gets its default answer.
class DefaultAnswers final : public Prompter
{
public:
    MsgResult message(QWidget*, const MessageRequest& request) override
    {
        const QList<MsgResult> buttons = buttonsOf(request.buttons);
        return buttons.value(request.defaultButton - 1, buttons.front());
    }
    std::optional<QString> input(QWidget*, const InputRequest&) override { return {}; }
    std::optional<QString> openFile(QWidget*, const FileRequest&) override { return {}; }
    std::optional<QString> saveFile(QWidget*, const FileRequest&) override { return {}; }
};

struct Fixture
{
    QTemporaryDir dir;
    DefaultAnswers answers;
    std::unique_ptr<DirectoryStore> store;
    std::unique_ptr<DirectoryView> view;
    QByteArray full; // the settings file of the full directory

    Fixture()
    {
        qputenv("TELVARO_CONFIG_DIR", QFile::encodeName(dir.path()));
        QByteArray ini = "[Telvaro Settings File]\r\n\r\n[Speed Dial]\r\n";
        for (int mode = 0; mode < 2; ++mode) {
            const bool subject = mode == 1;
            for (int t = 1; t <= kTabCount; ++t)
                for (int s = 1; s <= kSlotsPerTab; ++s) {
                    const QString key = entryKey(t, s);
                    ini += nameKey(subject, key).toLatin1() + "=Entry name number " +
                           key.toLatin1() + "\r\n";
                    ini += numberKey(subject, key).toLatin1() + "=XX(212) 555-" + key.toLatin1() +
                           "\r\n";
                }
        }
        ini += "[TabName]\r\n";
        for (int t = 1; t <= kTabCount; ++t)
            ini += twoDigits(t).toLatin1() + "=Subject title " + QByteArray::number(t) + "\r\n";
        ini += "[MemoLog]\r\n";
        for (int mode = 0; mode < 2; ++mode)
            for (int t = 1; t <= kTabCount; ++t)
                for (int s = 1; s <= kSlotsPerTab; ++s)
                    ini += logKey(mode == 1, entryKey(t, s)).toLatin1() +
                           "=12-08-2026          09:00:00@@Called, left a message\xDE\r\n";
        full = ini;
        QFile f(dir.path() + "/Telvaro.ini");
        f.open(QIODevice::WriteOnly);
        f.write(ini);
        f.close();
        store = std::make_unique<DirectoryStore>(settings::file());
        view = std::make_unique<DirectoryView>(*store, answers);
        view->resize(192, 355);
        view->show();
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

DirectoryStore& directoryStore()
{
    return *fixture().store;
}

void setMode(bool subject)
{
    Fixture& f = fixture();
    f.view->showStartupTabs(subject);
}

// One page step (hsbPage changes, the page is shown from the store).
void pageStep(benchmark::State& st, bool subject)
{
    setMode(subject);
    DirectoryView& v = *fixture().view;
    auto* pages = v.findChild<QScrollBar*>(QStringLiteral("hsbPage"));
    int page = 0;
    for (auto _ : st) {
        page = (page + 1) % kPageCount;
        pages->setValue(page);
    }
    benchmark::DoNotOptimize(v.caption(1));
}

// One tab change (the tab is selected and its first page shown).
void tabSwitch(benchmark::State& st, bool subject)
{
    setMode(subject);
    DirectoryView& v = *fixture().view;
    auto* pages = v.findChild<QScrollBar*>(QStringLiteral("hsbPage"));
    pages->setValue(40);
    int tab = 1;
    for (auto _ : st) {
        tab = tab % kTabCount + 1;
        v.selectTab(tab);
        // Come back to a page other than the first, so each selection also
        // shows page 1 afresh.
        st.PauseTiming();
        pages->setValue(40);
        st.ResumeTiming();
    }
    benchmark::DoNotOptimize(v.caption(1));
}

// A whole switch of the directory mode.
void modeSwitch(benchmark::State& st)
{
    DirectoryView& v = *fixture().view;
    bool subject = false;
    for (auto _ : st) {
        subject = !subject;
        setMode(subject);
    }
    benchmark::DoNotOptimize(v.caption(1));
}

// Puts `bytes` on the disk as the settings file and has the store read it.
void useSettings(const QByteArray& bytes)
{
    QFile f(fixture().dir.path() + "/Telvaro.ini");
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
    f.close();
    directoryStore().file().reload();
}

// The full directory changed by `prepare`, as the bytes of its settings file.
template <typename Prepare> QByteArray variant(Prepare prepare)
{
    useSettings(fixture().full);
    DirectoryStore& store = directoryStore();
    {
        IniFile::Batch batch(store.file());
        prepare(store);
    }
    return store.file().serialize();
}

// Runs `operation` on a fresh copy of `start` in each iteration; only the
// operation (with its write) is timed.
template <typename Operation>
void timeOnCopies(benchmark::State& st, const QByteArray& start, Operation operation)
{
    for (auto _ : st) {
        st.PauseTiming();
        useSettings(start);
        st.ResumeTiming();
        if (!operation(directoryStore()))
            st.SkipWithError("the settings file was not written");
    }
    useSettings(fixture().full);
}

void BM_DeleteFullTab(benchmark::State& st)
{
    timeOnCopies(st, fixture().full, [](DirectoryStore& s) { return deleteTab(s, 5); });
}

// `bytes` with one key written twice, as a hand-edited file may hold it.
QByteArray withDuplicateKey(QByteArray bytes)
{
    const QByteArray header = "[Speed Dial]\r\n";
    bytes.insert(bytes.indexOf(header) + header.size(), "Name0101=Written twice\r\n");
    return bytes;
}

void BM_DeleteFullTabDuplicateKey(benchmark::State& st)
{
    timeOnCopies(st, withDuplicateKey(fixture().full),
                 [](DirectoryStore& s) { return deleteTab(s, 5); });
}

void BM_MoveFullTabDuplicateKey(benchmark::State& st)
{
    const QByteArray start = withDuplicateKey(variant([](DirectoryStore& s) { deleteTab(s, 26); }));
    timeOnCopies(st, start, [](DirectoryStore& s) { return moveTab(s, 3, 26); });
}

void BM_SortSubjectTabsDuplicateKey(benchmark::State& st)
{
    timeOnCopies(st, withDuplicateKey(fixture().full),
                 [](DirectoryStore& s) { return sortTabs(s); });
}

// Tab 3 into tab 26, which has no title and no entries but a log in every
// slot (they all change places with the moved entries' logs).
void BM_MoveFullTab(benchmark::State& st)
{
    const QByteArray start = variant([](DirectoryStore& s) { deleteTab(s, 26); });
    timeOnCopies(st, start, [](DirectoryStore& s) { return moveTab(s, 3, 26); });
}

// "Subject title 1", "Subject title 10", ..., "Subject title 2", ...: most
// tabs change places.
void BM_SortSubjectTabs(benchmark::State& st)
{
    timeOnCopies(st, fixture().full, [](DirectoryStore& s) { return sortTabs(s); });
}

// A subtitle on the first button of tab 1 heads a group running to slot 995,
// its names in reverse order.
void BM_SortSubtitleGroup(benchmark::State& st)
{
    const QByteArray start = variant([](DirectoryStore& s) {
        s.writeEntryName(true, entryKey(1, 1), QStringLiteral("*Group"));
        for (int slot = 2; slot <= kSlotsPerTab; ++slot)
            s.writeEntryName(
                true, entryKey(1, slot),
                QStringLiteral("Name %1").arg(kSlotsPerTab - slot, 4, 10, QChar(u'0')));
    });
    timeOnCopies(st, start, [](DirectoryStore& s) { return sortSubtitleGroup(s, true, 1, 1); });
}

// Undo of the tab sort: the directory's three sections back from the file
// as it was before.
void BM_UndoTabSort(benchmark::State& st)
{
    const QByteArray start = variant([](DirectoryStore& s) { sortTabs(s); });
    timeOnCopies(st, start, [](DirectoryStore& s) { return restoreDirectory(s, fixture().full); });
}

void BM_PageStepIndex(benchmark::State& st)
{
    pageStep(st, false);
}
void BM_PageStepSubject(benchmark::State& st)
{
    pageStep(st, true);
}
void BM_TabSwitchIndex(benchmark::State& st)
{
    tabSwitch(st, false);
}
void BM_TabSwitchSubject(benchmark::State& st)
{
    tabSwitch(st, true);
}
void BM_ModeSwitch(benchmark::State& st)
{
    modeSwitch(st);
}

BENCHMARK(BM_PageStepIndex)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageStepSubject)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TabSwitchIndex)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TabSwitchSubject)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ModeSwitch)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeleteFullTab)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_DeleteFullTabDuplicateKey)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_MoveFullTabDuplicateKey)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SortSubjectTabsDuplicateKey)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MoveFullTab)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_SortSubjectTabs)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SortSubtitleGroup)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_UndoTabSort)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    fixture();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
