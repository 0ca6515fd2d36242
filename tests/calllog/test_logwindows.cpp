// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialing/DialTestSupport.h"
#include "directory/WindowParts.h"

#include "app/FrmDialer.h"
#include "app/ProgramParts.h"
#include "common/AnsweringDevices.h"
#include "common/CountingEnder.h"
#include "common/Find.h"
#include "common/ScriptedPrompter.h"
#include "common/TestEnv.h"
#include "core/calllog/CallLogFile.h"
#include "core/calllog/CallLogModel.h"
#include "core/common/CurrentProfile.h"
#include "core/dialing/Dialer.h"
#include "gui/calllog/FrmLog.h"
#include "gui/calllog/LogPrinting.h"
#include "gui/calllog/LogWindows.h"
#include "gui/directory/FrmMemo.h"
#include "locations/Accessible.h"
#include "settings/Cp1252.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QPaintEngine>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QtTest>

using namespace telvaro;
using namespace telvaro::calllog;
using telvaro::test::part;
using telvaro::test::ScriptedPrompter;
using telvaro::test::shoot;
using telvaro::test::TestEnv;

namespace {

class FixedClock final : public Clock
{
public:
    QDateTime when;
    explicit FixedClock(QDate day) : when(day, QTime(12, 0)) { setClock(this); }
    ~FixedClock() override { setClock(nullptr); }
    QDateTime now() const override { return when; }
    std::chrono::steady_clock::time_point monotonic() const override
    {
        return std::chrono::steady_clock::now();
    }
};

// The printers the tests' program prints on: the devices a case put in
// place, else none at all (no default printer; the print dialog cancels).
PrintDevices* g_devices = nullptr;
class CaseDevices final : public PrintDevices
{
public:
    std::unique_ptr<QPrinter> defaultPrinter() override
    {
        return g_devices ? g_devices->defaultPrinter() : nullptr;
    }
    bool choosePrinter(QWidget* parent, QPrinter& printer) override
    {
        return g_devices && g_devices->choosePrinter(parent, printer);
    }
};

// Printing to PDF files: no default printer, and the print dialog answers
// with the next file of `files` (none left: the user cancels).
class PdfDevices final : public PrintDevices
{
public:
    QStringList files;
    int dialogs = 0;
    PdfDevices() { g_devices = this; }
    ~PdfDevices() override { g_devices = nullptr; }
    std::unique_ptr<QPrinter> defaultPrinter() override { return nullptr; }
    bool choosePrinter(QWidget*, QPrinter& printer) override
    {
        ++dialogs;
        if (files.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(files.takeFirst());
        return true;
    }
};

// A printer that hands the texts drawn on it to `texts` instead of printing
// them (the list outlives the printer, which the print job deletes).
class TextRecorder final : public QPaintEngine
{
public:
    QStringList* texts;
    explicit TextRecorder(QStringList* sink) : QPaintEngine(QPaintEngine::AllFeatures), texts(sink)
    {
    }
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawLines(const QLineF*, int) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawTextItem(const QPointF&, const QTextItem& item) override { *texts << item.text(); }
    Type type() const override { return QPaintEngine::User; }
};

class RecordingPrinter final : public QPrinter
{
public:
    mutable TextRecorder engine;
    int pages = 1;
    explicit RecordingPrinter(QStringList* texts)
        : QPrinter(QPrinter::HighResolution), engine(texts)
    {
    }
    QPaintEngine* paintEngine() const override { return &engine; }
    bool newPage() override { return ++pages > 0; }
};

class RecordingDevices final : public PrintDevices
{
public:
    QStringList texts;
    RecordingDevices() { g_devices = this; }
    ~RecordingDevices() override { g_devices = nullptr; }
    std::unique_ptr<QPrinter> defaultPrinter() override
    {
        return std::make_unique<RecordingPrinter>(&texts);
    }
    bool choosePrinter(QWidget*, QPrinter&) override { return false; }
};

QByteArray logBytes(LogKind kind, const QList<CallLogRow>& rows)
{
    QByteArray bytes =
        headerBytes(kind == LogKind::Outgoing ? HeaderVariant::Outgoing : HeaderVariant::Incoming);
    for (const CallLogRow& r : rows)
        bytes += formatRecord(r, kind).toLatin1() + "\r\n";
    return bytes;
}

QString outPath()
{
    return logPath(CurrentProfile::untitled(), LogKind::Outgoing);
}

// Closes both log windows as a profile switch does.
bool closeLogWindows(FrmDialer& main)
{
    return main.findChild<LogWindows*>()->closeAll();
}

template <typename W> W* loadedWindow(FrmDialer& main)
{
    for (W* w : main.findChildren<W*>()) {
        if (!w->isUnloaded())
            return w;
    }
    return nullptr;
}

// The window's table of calls, as the user finds it.
QTableView* viewOf(const CallLogWindow* w)
{
    return test::child<QTableView>(w, w->objectName() == u"FrmInLog" ? "lvInLog" : "lvOutLog");
}

QStringList column(const CallLogWindow* w, int c)
{
    QStringList texts;
    for (int r = 0; r < w->model().rowCount(); ++r)
        texts << w->model().data(w->model().index(r, c)).toString();
    return texts;
}

int rowNamed(const CallLogWindow* w, const QString& name)
{
    return int(column(w, CallLogModel::NameColumn).indexOf(name));
}

// Clicks a row as the user does; returns the pop-up menu it opened (closed
// again), or nullptr.
QMenu* clickRow(CallLogWindow* w, const QString& name, Qt::KeyboardModifiers mods = {},
                Qt::MouseButton button = Qt::LeftButton)
{
    QTableView* v = viewOf(w);
    const int row = rowNamed(w, name);
    Q_ASSERT(row >= 0);
    QTest::mouseClick(v->viewport(), button, mods,
                      v->visualRect(v->model()->index(row, 0)).center());
    QCoreApplication::processEvents();
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (popup)
        popup->close();
    return popup;
}

void clickHeader(CallLogWindow* w, int section)
{
    QHeaderView* h = viewOf(w)->horizontalHeader();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                      QPoint(h->sectionViewportPosition(section) + 10, h->height() / 2));
}

int pdfPages(const QString& path)
{
    const QByteArray pdf = TestEnv::readFile(path);
    return int(QString::fromLatin1(pdf).count(QRegularExpression("/Type\\s*/Page[^s]")));
}

} // namespace

class TestLogWindows : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> env;
    std::unique_ptr<ScriptedPrompter> prompts;
    int ended = 0;
    test::CountingEnder ender{ended};
    CaseDevices devices;
    std::unique_ptr<ProgramParts> parts;

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnv>();
        prompts = std::make_unique<ScriptedPrompter>();
        test::resetDialing();
        parts = std::make_unique<ProgramParts>(
            nullptr, PartDoubles{.prompter = prompts.get(), .printers = &devices});
    }
    void cleanup()
    {
        parts.reset();
        prompts.reset();
        env.reset();
    }

    void outgoingWindowSortsDeletesUndoesCutsSavesAndCloses()
    {
        const QList<CallLogRow> rows{
            {"Ann", "555-0101", "12-30-2026  10:00:00", "0101"},
            {"Bob", "555-0102", "01-02-2027  09:00:00", "0"},
            {"Cy", "555-0103", "12-31-2026  23:59:59", "0203"},
            {"Di", "555-0104", "01-01-2027  00:00:01", "26996"},
            {"Ed", "555-0105", "damaged", "0102"},
        };
        TestEnv::writeFile(outPath(), logBytes(LogKind::Outgoing, rows));
        FrmDialer main(parts.get(), profiles::ProfileOperation::None, &ender);
        part<QAction>(&main, "mnuOutLog")->trigger();
        FrmOutLog* out = loadedWindow<FrmOutLog>(main);
        QVERIFY(out && out->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(out));
        QCOMPARE(out->windowTitle(), QString("Outgoing Calls Log"));
        QVERIFY(viewOf(out)->isColumnHidden(CallLogModel::KeyColumn));
        QCOMPARE(test::accessFaults(out).join(u"; "), QString()); // named for a screen reader
        // Newest first by date, not by text; an unreadable date comes last.
        QCOMPARE(column(out, 0), QStringList({"Bob", "Di", "Cy", "Ann", "Ed"}));

        // Every column click turns the direction over.
        clickHeader(out, CallLogModel::NameColumn);
        QCOMPARE(column(out, 0), QStringList({"Ann", "Bob", "Cy", "Di", "Ed"}));
        clickHeader(out, CallLogModel::NameColumn);
        QCOMPARE(column(out, 0), QStringList({"Ed", "Di", "Cy", "Bob", "Ann"}));
        clickHeader(out, CallLogModel::DateColumn);
        QCOMPARE(column(out, 0), QStringList({"Ann", "Cy", "Di", "Bob", "Ed"}));

        // A click on a row offers the Edit menu; MemoLog only for a real entry.
        QCOMPARE(clickRow(out, "Cy"), part<QMenu>(out, "mnuEdit"));
        QVERIFY(part<QAction>(out, "mnuMemoLog")->isEnabled() &&
                part<QAction>(out, "mnuDelete")->isEnabled());
        clickRow(out, "Bob", Qt::ControlModifier);
        QVERIFY(!part<QAction>(out, "mnuMemoLog")->isEnabled()); // key "0": a call from the pad
        part<QAction>(out, "mnuDelete")->trigger();
        clickRow(out, "Ann");
        QTest::keyClick(viewOf(out), Qt::Key_Delete);
        QCOMPARE(column(out, 0), QStringList({"Di", "Ed"}));
        QVERIFY(out->logModified());
        part<QAction>(out, "mnuUndo")->trigger();
        QCOMPARE(column(out, 0), QStringList({"Bob", "Di", "Cy", "Ann", "Ed"}));
        QVERIFY(!part<QAction>(out, "mnuUndo")->isEnabled());

        // Cut with nothing selected leaves the clipboard alone.
        QGuiApplication::clipboard()->setText("kept");
        QTest::keyClick(viewOf(out), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("kept"));
        clickRow(out, "Cy");
        clickRow(out, "Ann", Qt::ControlModifier);
        QTest::keyClick(viewOf(out), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QString("\r\nCy555-010312-31-2026  23:59:59\r\nAnn555-010112-30-2026  10:00:00"));
        QCOMPARE(part<QAction>(out, "mnuUndo")->text(), QString("Undo Cut"));

        QTest::keyClick(viewOf(out), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(TestEnv::readFile(outPath()),
                 logBytes(LogKind::Outgoing, {rows[3], rows[1], rows[4]}));
        prompts->messageAnswers.enqueue(MsgResult::No);
        part<QAction>(out, "mnuExit")->trigger();
        QCOMPARE(prompts->messages.size(), 1);
        QCOMPARE(prompts->messages[0].text, QString("Save the changes?"));
        QCOMPARE(prompts->messages[0].title, QString("Saving log to file"));
        QVERIFY(!loadedWindow<FrmOutLog>(main));

        // Reopened from the file: the cut rows are gone; an unchanged window
        // closes without a question and without touching the file.
        const QDateTime written = QFileInfo(outPath()).lastModified();
        QTest::qWait(20);
        part<QAction>(&main, "mnuOutLog")->trigger();
        out = loadedWindow<FrmOutLog>(main);
        QCOMPARE(column(out, 0), QStringList({"Bob", "Di", "Ed"}));
        QCOMPARE(part<QAction>(out, "mnuUndo")->text(), QString("&Undo"));
        // The saved records kept their keys: MemoLog opens Di's memo pad.
        QCOMPARE(clickRow(out, "Di"), part<QMenu>(out, "mnuEdit"));
        part<QAction>(out, "mnuMemoLog")->trigger();
        FrmMemo* memo = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* m = qobject_cast<FrmMemo*>(w); m && m->isVisible())
                memo = m;
        }
        QVERIFY(memo);
        QCOMPARE(memo->entryKey(), QString("26996"));
        memo->close();
        QVERIFY(closeLogWindows(main));
        QCOMPARE(prompts->messages.size(), 1);
        QCOMPARE(QFileInfo(outPath()).lastModified(), written);
        QCOMPARE(TestEnv::readFile(outPath()),
                 logBytes(LogKind::Outgoing, {rows[3], rows[1], rows[4]}));
    }

    void callsReachLoadedWindowsAndEachWindowKeepsItsFile()
    {
        test::FastClock fast(20);
        test::FakeTranslation translation;
        test::RecordingPlayer player;
        options().setText(OptionsStore::txtDelayTimer, QStringLiteral("1"));
        const QString inPath = logPath(CurrentProfile::untitled(), LogKind::Incoming);
        TestEnv::writeFile(inPath,
                           logBytes(LogKind::Incoming,
                                    {{"Kim Park", "555-0199", "03-30-2026  08:00:00", {}},
                                     {"Unknown Caller", "Unknown #", "03-31-2026  08:00:00", {}}}));
        const CallLogRow old{"Old call", "555-0000", "01-05-2026  08:00:00", "0101"};
        TestEnv::writeFile(outPath(), logBytes(LogKind::Outgoing, {old}));

        test::AnsweringDevices answering;
        ProgramParts own(nullptr, {&answering, &translation, &player, prompts.get(), &devices});
        FrmDialer main(&own, profiles::ProfileOperation::None, &ender);
        own.line().initialize(); // as start-up does
        (void)own.line().queryDevice(0);
        QStringList memos;
        connect(&own.dialer(), &Dialer::memoRequested, this,
                [&memos](const QString& key) { memos << key; });
        PdfDevices printers;
        printers.files << env->root() + "/in.pdf";
        part<QAction>(&main, "mnuPrintInLog")->setEnabled(true); // call receiving is on
        part<QAction>(&main, "mnuInLog")->setEnabled(true);

        // Printing loads the incoming window without showing it; a call that
        // arrives then still reaches its table.
        part<QAction>(&main, "mnuPrintInLog")->trigger();
        QCOMPARE(pdfPages(env->root() + "/in.pdf"), 1);
        FrmInLog* in = loadedWindow<FrmInLog>(main);
        QVERIFY(in && !in->isVisible());
        // A line break never splits a record.
        own.callLogs().appendIncomingCall(inPath, QStringLiteral("Lee\nChan"),
                                          QStringLiteral("555-0177"));
        part<QAction>(&main, "mnuInLog")->trigger();
        QCOMPARE(loadedWindow<FrmInLog>(main), in);
        QVERIFY(in->isVisible());
        QCOMPARE(column(in, 0), QStringList({"Lee Chan", "Unknown Caller", "Kim Park"}));
        QCOMPARE(test::accessFaults(in).join(u"; "), QString());

        part<QAction>(&main, "mnuOutLog")->trigger();
        FrmOutLog* out = loadedWindow<FrmOutLog>(main);
        // The return call names the caller and no entry.
        QCOMPARE(clickRow(in, "Unknown Caller"), nullptr);
        // The menu key offers the same pop-up as a click.
        viewOf(in)->setCurrentIndex(in->model().index(rowNamed(in, "Kim Park"), 0));
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(5, 5), QPoint(5, 5));
        QApplication::sendEvent(viewOf(in), &menuKey);
        QVERIFY(part<QMenu>(in, "mnuMouse")->isVisible());
        part<QMenu>(in, "mnuMouse")->close();
        QCOMPARE(clickRow(in, "Kim Park"), part<QMenu>(in, "mnuMouse"));
        part<QAction>(in, "mnuReturnCall")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(own.dialer().connectWindow().frameCaption, QString("Connected"),
                                  10000);
        QCOMPARE(answering.calls.size(), 1);
        own.dialer().confirmCall();
        QVERIFY(memos.isEmpty()); // no unrelated memo pad opens
        QCOMPARE(out->model().rowCount(), 2);
        const CallLogRow returned = out->model().row(0);
        QCOMPARE(returned.name, QString("Kim Park"));
        QCOMPARE(returned.entryKey, QString("0"));
        QCOMPARE(returned.dateTime, QString("04-01-2026  14:30:00"));
        QCOMPARE(out->model().row(1), old);

        // The profile changes; the window still saves to the file it loaded.
        own.profile().setName("Other");
        clickRow(out, "Old call");
        part<QAction>(out, "mnuDelete")->trigger();
        part<QAction>(out, "mnuSave")->trigger();
        own.profile().setName("Untitled");
        QCOMPARE(readLog(outPath(), LogKind::Outgoing), QList<CallLogRow>{returned});
        QVERIFY(!QFileInfo::exists(env->dataDir() + "/OtherOut.log"));
        // Unsaved deletions in one window do not make the other ask.
        QCOMPARE(clickRow(in, "Kim Park", {}, Qt::RightButton), part<QMenu>(in, "mnuMouseRight"));
        part<QAction>(in, "mnuRightDelete")->trigger();
        prompts->messageAnswers << MsgResult::No << MsgResult::No;
        QVERIFY(closeLogWindows(main));
        QCOMPARE(prompts->messages.size(),
                 2); // the incoming one, and the outgoing (saved, flag kept)
        QCOMPARE(readLog(inPath, LogKind::Incoming).size(), 3);
    }

    void aFailedSaveKeepsTheWindowItsRowsAndTheFile()
    {
        const QList<CallLogRow> rows{{"Ann", "555-0101", "12-30-2026  10:00:00", "0101"},
                                     {"Bob\nBroken", "555\t0102", "12-31-2026  10:00:00", "0"}};
        TestEnv::writeFile(outPath(), logBytes(LogKind::Outgoing, rows));
        // Control characters never reach a record: Bob's record is one line.
        QCOMPARE(readLog(outPath(), LogKind::Outgoing).value(1).name, QString("Bob Broken"));
        const QByteArray before = TestEnv::readFile(outPath());
        QFile::setPermissions(outPath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);

        FrmDialer main(parts.get(), profiles::ProfileOperation::None, &ender);
        part<QAction>(&main, "mnuOutLog")->trigger();
        FrmOutLog* out = loadedWindow<FrmOutLog>(main);
        clickRow(out, "Ann");
        part<QAction>(out, "mnuDelete")->trigger();
        part<QAction>(out, "mnuSave")->trigger();
        QCOMPARE(prompts->messages.size(), 1);
        QVERIFY(prompts->messages[0].text.contains("could not be saved"));
        QCOMPARE(out->model().rowCount(), 1);
        QVERIFY(out->logModified());
        QCOMPARE(TestEnv::readFile(outPath()), before);

        // Closing: Yes tries to save, fails, and the window stays.
        prompts->messageAnswers << MsgResult::Yes;
        QVERIFY(!closeLogWindows(main));
        QCOMPARE(prompts->messages.size(), 3);
        QCOMPARE(loadedWindow<FrmOutLog>(main), out);
        QVERIFY(out->isVisible() && out->logModified());
        prompts->messageAnswers << MsgResult::No;
        out->close();
        QVERIFY(!loadedWindow<FrmOutLog>(main));
        QCOMPARE(TestEnv::readFile(outPath()), before);

        // A log that cannot be read is said so and never replaced.
        QDir().mkpath(logPath(CurrentProfile::untitled(), LogKind::Incoming));
        part<QAction>(&main, "mnuInLog")->setEnabled(true);
        part<QAction>(&main, "mnuInLog")->trigger();
        QCOMPARE(prompts->messages.size(), 5);
        QVERIFY(prompts->messages[4].text.contains("could not be read"));
        part<QAction>(loadedWindow<FrmInLog>(main), "mnuSave")->trigger();
        QCOMPARE(prompts->messages.size(), 6);
        QVERIFY(QFileInfo(logPath(CurrentProfile::untitled(), LogKind::Incoming)).isDir());
    }

    void exitPrunesByCalendarDaysAndKeepsWhatItCannotRead()
    {
        const auto rec = [](const char* name, const char* date) {
            return CallLogRow{name, "555-0100", QString(date) + "  10:00:00", "0"};
        };
        const QString inPath = logPath(CurrentProfile::untitled(), LogKind::Incoming);
        const QList<CallLogRow> in{rec("Dec 26", "12-26-2026"), rec("Dec 27", "12-27-2026"),
                                   rec("Dec 31", "12-31-2026"), rec("Jan 1", "01-01-2027"),
                                   rec("Jan 5", "01-05-2027")};
        QByteArray inBytes = logBytes(LogKind::Incoming, in);
        // A damaged line in the middle and a record written without a header.
        inBytes.insert(inBytes.indexOf(" Dec 27"), "damaged line\r\n");
        TestEnv::writeFile(inPath, inBytes);
        const QList<CallLogRow> out{rec("Dec 1", "12-01-2026"), rec("Dec 2", "12-02-2026")};
        TestEnv::writeFile(outPath(), formatRecord(out[0], LogKind::Outgoing).toLatin1() + "\r\n" +
                                          formatRecord(out[1], LogKind::Outgoing).toLatin1());
        {
            FixedClock newYear(QDate(2027, 1, 1));
            FrmDialer main(parts.get(), profiles::ProfileOperation::None, &ender);
            // Days as the dialog's OK leaves them: "-5" in the outgoing box
            // counts as its spin bar's 30.
            options().setText(OptionsStore::txtDays, QStringLiteral("-5"));
            main.exitProgram(FrmDialer::ExitMode::NoQuestions);
        }
        QCOMPARE(TestEnv::readFile(backupPath("Untitled", LogKind::Incoming)), inBytes);
        QByteArray kept = headerBytes(HeaderVariant::Retention) + "damaged line\r\n";
        for (int i = 1; i < in.size(); ++i)
            kept += formatRecord(in[i], LogKind::Incoming).toLatin1() + "\r\n";
        QCOMPARE(TestEnv::readFile(inPath), kept);
        QCOMPARE(readLog(outPath(), LogKind::Outgoing), QList<CallLogRow>{out[1]});

        // Leap day, one day kept; a log that cannot be written is told and left.
        TestEnv::writeFile(inPath, logBytes(LogKind::Incoming, {rec("Feb 28", "02-28-2028"),
                                                                rec("Feb 29", "02-29-2028"),
                                                                rec("Mar 1", "03-01-2028")}));
        const QByteArray outBefore = TestEnv::readFile(outPath());
        QFile::setPermissions(outPath(), QFile::ReadOwner);
        {
            FixedClock leap(QDate(2028, 3, 1));
            FrmDialer main(parts.get(), profiles::ProfileOperation::None, &ender);
            options().setText(OptionsStore::txtInDays, QStringLiteral("1"));
            main.exitProgram();
        }
        QCOMPARE(readLog(inPath, LogKind::Incoming).size(), 2);
        QCOMPARE(readLog(inPath, LogKind::Incoming).value(0).name, QString("Feb 29"));
        QCOMPARE(TestEnv::readFile(outPath()), outBefore);
        QVERIFY(prompts->messages.value(0).text.contains("could not be removed"));

        // Both options off: nothing is touched.
        QFile::remove(backupPath("Untitled", LogKind::Incoming));
        const QByteArray inBefore = TestEnv::readFile(inPath);
        const QDateTime inTime = QFileInfo(inPath).lastModified();
        {
            FixedClock later(QDate(2029, 1, 1));
            FrmDialer main(parts.get(), profiles::ProfileOperation::None, &ender);
            options().setChecked(OptionsStore::chkDelIncoming, false);
            options().setChecked(OptionsStore::chkDelOutgoing, false);
            main.exitProgram(FrmDialer::ExitMode::NoQuestions);
        }
        QCOMPARE(TestEnv::readFile(inPath), inBefore);
        QCOMPARE(QFileInfo(inPath).lastModified(), inTime);
        QVERIFY(!QFileInfo::exists(backupPath("Untitled", LogKind::Incoming)));
        QCOMPARE(ended, 3);
    }

    void everyRecordOfTheFileSurvivesTheWindow()
    {
        const auto rec = [](const QString& name, int minute) {
            return CallLogRow{name, "555-0100",
                              QString("03-07-2026  09:%1:00").arg(minute, 2, 10, QChar('0')), "0"};
        };
        const auto recordLine = [](const CallLogRow& r, LogKind kind) {
            return cp1252::encode(formatRecord(r, kind)) + "\r\n";
        };
        FixedClock clock(QDate(2026, 3, 8));
        FrmDialer main(parts.get(), profiles::ProfileOperation::None, &ender);
        part<QAction>(&main, "mnuInLog")->setEnabled(true);

        // A log the user emptied: the next calls start it with its header.
        TestEnv::writeFile(outPath(), {});
        for (const char* name : {"One", "Two"})
            parts->callLogs().appendOutgoingCall(outPath(), QString::fromLatin1(name), "555-0100",
                                                 "0");
        QVERIFY(TestEnv::readFile(outPath()).startsWith(headerBytes(HeaderVariant::Outgoing)));
        // A log without header (written by an older version, or by hand)
        // shows and saves every record; names in other code pages keep their
        // bytes, and only CR and LF end a line.
        const QList<CallLogRow> odd{rec(cp1252::decode("Ann \x81\x8D\x8F\x90\x9D"), 1),
                                    rec("Bob\tB\x01", 2), rec("Cy", 3)};
        QByteArray oddBytes;
        for (const CallLogRow& r : odd)
            oddBytes += recordLine(r, LogKind::Outgoing);
        TestEnv::writeFile(outPath(), oddBytes);
        part<QAction>(&main, "mnuOutLog")->trigger();
        FrmOutLog* out = loadedWindow<FrmOutLog>(main);
        QCOMPARE(out->model().rowCount(), 3);
        part<QAction>(out, "mnuSave")->trigger();
        QCOMPARE(TestEnv::readFile(outPath()), headerBytes(HeaderVariant::Outgoing) + oddBytes);

        // CR alone ends the lines of a log: every record is a row, and a
        // Delete and Save keeps the rest.
        const QString inPath = logPath(CurrentProfile::untitled(), LogKind::Incoming);
        QByteArray crOnly = headerBytes(HeaderVariant::Incoming);
        crOnly.replace("\r\n", "\r");
        for (int i = 0; i < 3; ++i)
            crOnly +=
                formatRecord(rec(QString("In %1").arg(i), i), LogKind::Incoming).toLatin1() + "\r";
        TestEnv::writeFile(inPath, crOnly);
        part<QAction>(&main, "mnuInLog")->trigger();
        FrmInLog* in = loadedWindow<FrmInLog>(main);
        QCOMPARE(column(in, 0), QStringList({"In 2", "In 1", "In 0"}));
        clickRow(in, "In 1");
        part<QAction>(in, "mnuDelete")->trigger();
        part<QAction>(in, "mnuSave")->trigger();
        QCOMPARE(TestEnv::readFile(inPath), headerBytes(HeaderVariant::Incoming) +
                                                recordLine(rec("In 0", 0), LogKind::Incoming) +
                                                recordLine(rec("In 2", 2), LogKind::Incoming));
        prompts->messageAnswers << MsgResult::No << MsgResult::No;
        QVERIFY(closeLogWindows(main));
        prompts->messageAnswers.clear();
        prompts->messages.clear();

        // A log that could not be read at load is never saved over, even
        // once it can be read.
        QFile::remove(inPath);
        QDir().mkpath(inPath);
        part<QAction>(&main, "mnuInLog")->trigger();
        QCOMPARE(prompts->messages.size(), 1);
        QVERIFY(prompts->messages[0].text.contains("could not be read"));
        QDir().rmdir(inPath);
        TestEnv::writeFile(inPath, crOnly);
        part<QAction>(loadedWindow<FrmInLog>(main), "mnuSave")->trigger();
        QCOMPARE(prompts->messages.size(), 2);
        QVERIFY(prompts->messages[1].text.contains("could not be saved"));
        QCOMPARE(TestEnv::readFile(inPath), crOnly);

        // Delete keeps the view where it was: the same top row, and the
        // current row passes to the row after the deleted one.
        QList<CallLogRow> many;
        for (int i = 0; i < 300; ++i)
            many.append({QString("Caller %1").arg(i, 3, 10, QChar('0')), "555",
                         QString("03-07-2026  %1:%2:00")
                             .arg(i / 60, 2, 10, QChar('0'))
                             .arg(i % 60, 2, 10, QChar('0')),
                         "0"});
        TestEnv::writeFile(outPath(), logBytes(LogKind::Outgoing, many));
        part<QAction>(&main, "mnuOutLog")->trigger();
        out = loadedWindow<FrmOutLog>(main);
        QVERIFY(QTest::qWaitForWindowExposed(out));
        QTableView* view = viewOf(out);
        view->scrollTo(out->model().index(150, 0), QAbstractItemView::PositionAtTop);
        const QString topName = out->model().row(view->rowAt(0)).name;
        QVERIFY(view->rowAt(0) > 100);
        clickRow(out, out->model().row(view->rowAt(0) + 2).name);
        const QString nextName = out->model().row(view->rowAt(0) + 3).name;
        QTest::keyClick(view, Qt::Key_Delete);
        QCOMPARE(out->model().rowCount(), 299);
        QCOMPARE(out->model().row(view->rowAt(0)).name, topName);
        QCOMPARE(out->model().row(view->currentIndex().row()).name, nextName);
    }

    void printsWholeNumbersAndLongJobsShowProgressAndCancel()
    {
        // A calling-card dial string and a long name: nothing is cut.
        const QString dialString = "9,1-800-555-0199,,,,1234567890123456#,,1-416-555-0123";
        const QString name = "Dr. Annabel Fitzgerald-Okonkwo Smither*";
        QList<CallLogRow> rows{{name, dialString, "03-07-2026  09:05:04", "0"},
                               {"Ann", "555-0101", "03-07-2026  09:06:04", "0101"}};
        TestEnv::writeFile(outPath(), logBytes(LogKind::Outgoing, rows));
        FrmDialer main(parts.get(), profiles::ProfileOperation::None, &ender);
        part<QAction>(&main, "mnuOutLog")->trigger();
        FrmOutLog* out = loadedWindow<FrmOutLog>(main);
        {
            RecordingDevices printers;
            QVERIFY(out->print().printed);
            const QString drawn = printers.texts.join(QString());
            QVERIFY2(drawn.contains(dialString), qPrintable(printers.texts.join('|')));
            QVERIFY(drawn.contains(name));
            QVERIFY(!drawn.contains(QChar(0x2026))); // no "..."
        }

        // A long job prints in the background behind a progress dialog,
        // whose Cancel stops it without a word.
        for (int i = 0; i < 1500; ++i)
            rows.append({QString("Caller %1").arg(i), "555-0100", "03-08-2026  10:00:00", "0"});
        TestEnv::writeFile(outPath(), logBytes(LogKind::Outgoing, rows));
        out->close();
        part<QAction>(&main, "mnuOutLog")->trigger();
        out = loadedWindow<FrmOutLog>(main);
        PdfDevices printers;
        const QString pdf = env->root() + "/long.pdf";
        printers.files << pdf << pdf;
        PrintOutcome ended;
        QProgressDialog* progress = nullptr;
        const auto watch = [&] {
            auto* job = out->findChildren<PrintJob*>().value(0);
            for (PrintJob* j : out->findChildren<PrintJob*>())
                job = j; // the newest
            progress = nullptr;
            for (auto* p : out->findChildren<QProgressDialog*>("PrintProgress"))
                progress = p->isVisible() ? p : progress;
            QVERIFY(job && progress);
            connect(job, &PrintJob::finished, this, [&](const PrintOutcome& o) { ended = o; });
        };
        QVERIFY(out->print().pending);
        watch();
        QVERIFY(progress);
        progress->findChild<QPushButton*>()->click();
        QVERIFY(ended.cancelled && !ended.printed);
        QVERIFY(!QFileInfo::exists(pdf));
        QVERIFY(prompts->messages.isEmpty());

        ended = {};
        QVERIFY(out->print().pending);
        watch();
        QTRY_VERIFY_WITH_TIMEOUT(ended.printed, 20000);
        QVERIFY(!out->findChild<QProgressDialog*>() ||
                !out->findChild<QProgressDialog*>()->isVisible());
        int total = 0;
        for (int n : ended.rowsOnPage)
            total += n;
        QCOMPARE(total, 1502);
        QVERIFY(ended.rowsOnPage.size() > kPagesPrintedAtOnce);
        QCOMPARE(pdfPages(pdf), ended.rowsOnPage.size());
        QVERIFY(prompts->messages.isEmpty());
    }

    void printsEveryRowPageByPageAndTellsOfFailures()
    {
        QList<CallLogRow> rows;
        for (int i = 0; i < 250; ++i) {
            rows.append({QString("Caller %1").arg(i, 3, 10, QChar('0')),
                         QString("1-416-555-%1").arg(i, 4, 10, QChar('0')),
                         QString("%1-%2-2026  09:%3:00")
                             .arg(1 + i % 12, 2, 10, QChar('0'))
                             .arg(1 + i % 28, 2, 10, QChar('0'))
                             .arg(i % 60, 2, 10, QChar('0')),
                         QString::number(101 + i % 9)});
        }
        TestEnv::writeFile(outPath(), logBytes(LogKind::Outgoing, rows));
        TestEnv::writeFile(logPath(CurrentProfile::untitled(), LogKind::Incoming),
                           logBytes(LogKind::Incoming, rows));
        PdfDevices printers;
        const QString pdf = env->root() + "/out.pdf";
        printers.files << pdf << env->root() + "/missing/folder/out.pdf";

        FrmDialer main(parts.get(), profiles::ProfileOperation::None, &ender);
        part<QAction>(&main, "mnuOutLog")->trigger();
        FrmOutLog* out = loadedWindow<FrmOutLog>(main);
        const PrintOutcome printed = out->print();
        QVERIFY(printed.printed);
        int total = 0;
        for (int n : printed.rowsOnPage)
            total += n;
        QCOMPARE(total, 250);
        const int perPage = printed.rowsOnPage.first();
        QVERIFY2(perPage >= 30 && perPage < 250, qPrintable(QString::number(perPage)));
        QCOMPARE(printed.rowsOnPage.size(), (250 + perPage - 1) / perPage);
        QCOMPARE(pdfPages(pdf), printed.rowsOnPage.size());
        QVERIFY(prompts->messages.isEmpty());

        // A file that cannot be written is told; a cancelled dialog prints nothing.
        part<QAction>(out, "mnuPrint")->trigger();
        QCOMPARE(prompts->messages.size(), 1);
        QVERIFY(prompts->messages[0].text.contains("could not be printed"));
        QVERIFY(!out->print().printed);
        QCOMPARE(printers.dialogs, 3);
        QCOMPARE(prompts->messages.size(), 1);

        // Pictures of both windows with a few hundred rows, and the printout.
        if (const QString dir = qEnvironmentVariable("TELVARO_SCREENSHOT_DIR"); !dir.isEmpty())
            QFile::copy(pdf, dir + "/outgoing-log.pdf");
        viewOf(out)->selectRow(3);
        shoot(out, "outgoing-log");
        part<QAction>(&main, "mnuInLog")->setEnabled(true);
        part<QAction>(&main, "mnuInLog")->trigger();
        shoot(loadedWindow<FrmInLog>(main), "incoming-log");
    }
};

QTEST_MAIN(TestLogWindows)
#include "test_logwindows.moc"
