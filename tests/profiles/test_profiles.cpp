// SPDX-License-Identifier: GPL-3.0-or-later
// Profiles as a user works with them: the File menu of the real main window,
// the files in the data folder, and the program starting again on another
// profile with its line, logs and requests working (the modem is
// telvaro-modemsim on a pseudo-terminal).

#include "app/FrmDialer.h"
#include "app/ProgramParts.h"
#include "common/CountingEnder.h"
#include "common/Find.h"
#include "common/ScriptedPrompter.h"
#include "common/TestEnv.h"
#include "core/calllog/CallLogFile.h"
#include "core/dialing/Dialer.h"
#include "core/telephony/LineService.h"
#include "core/telephony/lineapi/LineApi.h"
#include "core/telephony/lineapi/UucpLock.h"
#include "directory/WindowParts.h"
#include "gui/dialing/DialPad.h"
#include "gui/dialing/FrmConnect.h"
#include "gui/directory/DirectoryView.h"
#include "gui/directory/FrmMemo.h"
#include "gui/options/FrmOptions.h"
#include "gui/profiles/Profiles.h"
#include "settings/Cp1252.h"
#include "settings/OptionsStore.h"
#include "settings/SettingsFile.h"
#include "telephony/SimModem.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QtTest>

#include <memory>

using namespace telvaro;
using telvaro::profiles::ProfileOperation;
using telvaro::test::part;
using telvaro::test::ScriptedPrompter;
using telvaro::test::SimModem;
using telvaro::test::TestEnv;

namespace {

QByteArray marker()
{
    return cp1252::encode(settings::kHeader) + "\r\n";
}

// How many descriptors of this process have `device` open.
int openCount(const QString& device)
{
    const QString target = QFileInfo(device).canonicalFilePath();
    int n = 0;
    for (const QFileInfo& fd : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System))
        n += fd.symLinkTarget() == target;
    return n;
}

bool hasWriteBits(const QString& path)
{
    return QFile::permissions(path) &
           (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther);
}

// Closes the main window from inside the Open dialog, as the tray menu's
// Exit can while a dialog is open.
class ClosingPrompter final : public Prompter
{
public:
    explicit ClosingPrompter(const QPointer<FrmDialer>& window) : window(window) {}
    const QPointer<FrmDialer>& window;
    MsgResult message(QWidget*, const MessageRequest&) override { return MsgResult::No; }
    std::optional<QString> input(QWidget*, const InputRequest&) override { return {}; }
    std::optional<QString> openFile(QWidget*, const FileRequest&) override
    {
        window->close();
        return {};
    }
    std::optional<QString> saveFile(QWidget*, const FileRequest&) override { return {}; }
};

// Answers every question No; the log window's close question is where the
// session ends (the exit sequence runs, as on SIGTERM, while it waits).
class ExitingPrompter final : public Prompter
{
public:
    explicit ExitingPrompter(const QPointer<FrmDialer>& window) : window(window) {}
    const QPointer<FrmDialer>& window;
    QStringList asked;
    MsgResult message(QWidget*, const MessageRequest& request) override
    {
        asked << request.text;
        if (request.text == QLatin1String("Save the changes?"))
            window->exitProgram(FrmDialer::ExitMode::NoQuestions);
        return MsgResult::No;
    }
    std::optional<QString> input(QWidget*, const InputRequest&) override { return {}; }
    std::optional<QString> openFile(QWidget*, const FileRequest&) override { return file; }
    std::optional<QString> saveFile(QWidget*, const FileRequest&) override { return {}; }
    QString file;
};

// Hands every question to the prompter a case puts in place.
class CasePrompter final : public Prompter
{
public:
    Prompter* now = nullptr;
    MsgResult message(QWidget* w, const MessageRequest& r) override { return now->message(w, r); }
    std::optional<QString> input(QWidget* w, const InputRequest& r) override
    {
        return now->input(w, r);
    }
    std::optional<QString> openFile(QWidget* w, const FileRequest& r) override
    {
        return now->openFile(w, r);
    }
    std::optional<QString> saveFile(QWidget* w, const FileRequest& r) override
    {
        return now->saveFile(w, r);
    }
};

} // namespace

class TestProfiles : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> env;
    std::unique_ptr<ScriptedPrompter> prompts;
    CasePrompter asking;
    // The questions of the program go to `p` from now on.
    void askWith(Prompter* p) { asking.now = p; }
    int ended = 0;
    test::CountingEnder ender{ended};
    int reloads = 0; // main windows loaded again by a profile command
    // The program's lasting parts (options dialog, tray, help), handed to
    // every window loaded, as the program's root does.
    std::unique_ptr<ProgramParts> parts;

    // The window loaded now.
    QPointer<FrmDialer> loaded;
    FrmDialer* window() { return loaded; }
    static ProfileOperation operation(FrmDialer* w)
    {
        return w->findChild<Profiles*>()->operation();
    }

    // A start of the program on the settings file as it is (or its load by
    // a profile command): a profile command's reload loads the window again,
    // as the program's root does.
    FrmDialer* start(ProfileOperation loadedBy = ProfileOperation::None)
    {
        if (!parts)
            parts = std::make_unique<ProgramParts>(nullptr, PartDoubles{.prompter = &asking});
        auto* w = new FrmDialer(parts.get(), loadedBy, &ender);
        loaded = w;
        connect(w, &FrmDialer::profileReloadRequested, this, [this, w](ProfileOperation op) {
            ++reloads;
            w->unloadForReload();
            start(op);
        });
        w->formLoad(QString());
        return w;
    }
    // Lets the window that a reload replaced go.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    QString data(const QString& name) const { return env->dataDir() + "/" + name; }
    void writeSettings(const QByteArray& body)
    {
        TestEnv::writeFile(env->settingsFile(), marker() + "\r\n" + body);
    }
    QByteArray settingsBytes() const { return TestEnv::readFile(env->settingsFile()); }
    // The outgoing log of `profile` with one call, shown by `w` with that call
    // deleted and not saved; nullptr when it did not come up.
    QMainWindow* outLogWithADeletion(FrmDialer* w, const QString& profile)
    {
        if (!calllog::appendRecord(data(profile + "Out.log"), calllog::LogKind::Outgoing,
                                   {"Ann", "5550101", "05-04-2026  10:11:12", "0101"}))
            return nullptr;
        part<QAction>(w, "mnuOutLog")->trigger();
        auto* log = w->findChild<QMainWindow*>("FrmOutLog");
        if (!log)
            return nullptr;
        log->findChild<QTableView*>()->selectRow(0);
        log->findChild<QAction*>("mnuDelete")->trigger();
        return log;
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnv>();
        prompts = std::make_unique<ScriptedPrompter>();
        asking.now = prompts.get();
        test::resetProgram();
        ended = 0;
        reloads = 0;
    }

    void cleanup()
    {
        delete window();
        settle();
        parts.reset();
        prompts.reset();
        env.reset();
    }

    // Save As "Home" from "Untitled" with a call logged; Telvaro's own files
    // are refused; a fresh start comes up as "Home".
    void saveAsNamesTheProfileAndStartsItsLogs()
    {
        writeSettings("[Speed Dial]\r\nName0101=Ann\r\nNumber0101=5550101\r\n");
        QVERIFY(calllog::appendRecord(data("UntitledOut.log"), calllog::LogKind::Outgoing,
                                      {"Ann", "5550101", "05-04-2026  10:11:12", "0101"}));
        QVERIFY(calllog::appendRecord(data("UntitledIn.log"), calllog::LogKind::Incoming,
                                      {"JOHN DOE", "5559999", "05-04-2026  10:15:00", ""}));
        const QByteArray outLog = TestEnv::readFile(data("UntitledOut.log"));
        const QByteArray inLog = TestEnv::readFile(data("UntitledIn.log"));
        FrmDialer* w = start();
        QCOMPARE(part<QAction>(w, "mnuSaveAs")->text(), QString("Save  &As"));
        w->parts().dialer().setRecentNumbers({"5550101"}); // dialed in this run

        // Telvaro's own files are no profiles: nothing is written or renamed.
        const QByteArray before = settingsBytes();
        for (const QString& own : {env->settingsFile(), data("UntitledOut.log"), data("HomeIn.bak"),
                                   env->configDir() + "/Telephony.ini"}) {
            prompts->fileAnswers.enqueue(own);
            part<QAction>(w, "mnuSaveAs")->trigger();
            QCOMPARE(prompts->messages.last().text, QString("Error saving file"));
        }
        QCOMPARE(settingsBytes(), before);
        QCOMPARE(TestEnv::readFile(data("UntitledOut.log")), outLog);
        QCOMPARE(parts->profile().name(), QString("Untitled"));
        prompts->messages.clear();

        // "Untitled" saved with the Save item asks for a file.
        prompts->fileAnswers.enqueue(data("Home"));
        part<QAction>(w, "mnuSave")->trigger();
        QVERIFY(prompts->messages.isEmpty());
        const FileRequest& dialog = prompts->files.last();
        QCOMPARE(dialog.title, QString("Save Profile As"));
        QCOMPARE(dialog.folder, env->dataDir());
        QCOMPARE(dialog.filter, QString("Telvaro Profile (*.tlx *.TLX)"));
        QCOMPARE(dialog.defaultSuffix, QString("tlx"));
        QVERIFY(!dialog.confirmOverwrite);

        QCOMPARE(w->windowTitle(), QString("Telvaro - \"Home\""));
        QCOMPARE(part<QAction>(w, "mnuSave")->text(), QString("&Save \"Home\""));
        QCOMPARE(part<QAction>(w, "mnuSaveAs")->text(), QString("Save \"Home\" &As"));
        const QByteArray profile = TestEnv::readFile(data("Home.tlx"));
        QVERIFY(profile.startsWith(marker()));
        QVERIFY(profile.contains("Name0101=Ann\r\n"));
        QVERIFY(profile.contains("Count= 1\r\nLast Dialed No 0=5550101\r\n"));
        QVERIFY(!hasWriteBits(data("Home.tlx")));
        QCOMPARE(settings::read("Profile", "Name"), QString("Home.tlx"));
        QCOMPARE(settings::read("Preferences", "SavePath"), data("Home.tlx"));
        QCOMPARE(settingsBytes(), profile);
        QCOMPARE(TestEnv::readFile(data("HomeOut.log")), outLog);
        QCOMPARE(TestEnv::readFile(data("HomeIn.log")), inLog);
        QCOMPARE(operation(w), ProfileOperation::None);

        // A call now goes to Home's log.
        (void)w->parts().callLogs().appendOutgoingCall(
            calllog::logPath(w->parts().profile().name(), calllog::LogKind::Outgoing), {},
            "5550101", "0");
        QCOMPARE(calllog::readLog(data("HomeOut.log"), calllog::LogKind::Outgoing).size(), 2);
        QCOMPARE(calllog::readLog(data("UntitledOut.log"), calllog::LogKind::Outgoing).size(), 1);

        delete w;
        w = start();
        QCOMPARE(w->windowTitle(), QString("Telvaro - \"Home\""));
        QCOMPARE(parts->profile().name(), QString("Home"));
    }

    // A named profile saves without a question, read-only or not; Save As
    // onto an existing file asks first and Cancel changes nothing; the exit
    // without questions tells a failed save on stderr only.
    void saveOverwritesAndSaveAsAsksFirst()
    {
        writeSettings("[Profile]\r\nName=Home.tlx\r\n");
        FrmDialer* w = start();
        part<QAction>(w, "mnuSave")->trigger();
        QVERIFY(!hasWriteBits(data("Home.tlx")));
        settings::write("Speed Dial", "Name0102", "Bob");
        part<QAction>(w, "mnuSave")->trigger();
        QVERIFY(prompts->messages.isEmpty());
        QVERIFY(TestEnv::readFile(data("Home.tlx")).contains("Name0102=Bob\r\n"));
        QVERIFY(!hasWriteBits(data("Home.tlx")));

        TestEnv::writeFile(data("Work.tlx"), marker() + "\r\n[Speed Dial]\r\nName0101=Work\r\n");
        const QByteArray work = TestEnv::readFile(data("Work.tlx"));
        const QByteArray settingsBefore = settingsBytes();
        prompts->fileAnswers.enqueue(data("Work.tlx"));
        prompts->messageAnswers.enqueue(MsgResult::Cancel);
        part<QAction>(w, "mnuSaveAs")->trigger();
        QCOMPARE(prompts->messages.size(), 1);
        const MessageRequest& ask = prompts->messages.first();
        QCOMPARE(ask.title, QString("File Work.tlx already exists"));
        QCOMPARE(ask.text, QString("WARNING!\nExisting file will be overwritten."));
        QCOMPARE(ask.buttons, MsgButtons::OkCancel);
        QCOMPARE(ask.icon, MsgIcon::Warning);
        QCOMPARE(ask.defaultButton, 2);
        QCOMPARE(TestEnv::readFile(data("Work.tlx")), work);
        QCOMPARE(settingsBytes(), settingsBefore);
        QCOMPARE(w->windowTitle(), QString("Telvaro - \"Home\""));
        QCOMPARE(operation(w), ProfileOperation::None);

        // OK replaces a read-only file.
        QFile::setPermissions(data("Work.tlx"), QFileDevice::ReadOwner);
        prompts->fileAnswers.enqueue(data("Work.tlx"));
        prompts->messageAnswers.enqueue(MsgResult::Ok);
        part<QAction>(w, "mnuSaveAs")->trigger();
        QVERIFY(TestEnv::readFile(data("Work.tlx")).contains("Name=Work.tlx\r\n"));
        QCOMPARE(w->windowTitle(), QString("Telvaro - \"Work\""));

        // The file cannot be written: a signal's exit shows no box.
        QFile::remove(data("Work.tlx"));
        QDir().mkpath(data("Work.tlx"));
        prompts->messages.clear();
        w->exitProgram(FrmDialer::ExitMode::NoQuestions);
        QCOMPARE(ended, 1);
        QVERIFY(prompts->messages.isEmpty());
    }

    // Rejected files, cancelled questions and dialogs change nothing, and
    // leave the program able to end; New → Yes saves, then starts empty
    // with the options the user sees.
    void refusalsChangeNothingAndNewKeepsTheOptions()
    {
        QDir().mkpath(env->root() + "/elsewhere");
        writeSettings("[Profile]\r\nName=Home.tlx\r\n[Preferences]\r\nRedials Number=7\r\n"
                      "SavePath=" +
                      QFile::encodeName(env->root()) +
                      "/elsewhere/Home.tlx\r\n[Speed Dial]\r\nName0101=Ann\r\n");
        FrmDialer* w = start();
        const QByteArray before = settingsBytes();

        QByteArray wrongMarker = marker();
        wrongMarker[4] = 'X';
        TestEnv::writeFile(data("Bad.tlx"), wrongMarker + "[Profile]\r\nName=Bad.tlx\r\n");
        prompts->fileAnswers.enqueue(data("Bad.tlx"));
        part<QAction>(w, "mnuOpen")->trigger();
        QCOMPARE(prompts->files.last().title, QString("Open Profile from:"));
        QCOMPARE(prompts->files.last().folder, env->root() + "/elsewhere");
        QCOMPARE(prompts->messages.size(), 1);
        QCOMPARE(prompts->messages[0].text,
                 data("Bad.tlx") + "  \nis not the valid Telvaro profile");
        QCOMPARE(prompts->messages[0].title, QString("Error"));
        QCOMPARE(prompts->messages[0].icon, MsgIcon::Critical);
        QCOMPARE(settingsBytes(), before);
        QCOMPARE(parts->profile().name(), QString("Home"));

        prompts->messageAnswers.enqueue(MsgResult::Cancel);
        part<QAction>(w, "mnuNew")->trigger();
        QCOMPARE(prompts->messages.last().title, QString("Saving profile \"Home\""));
        QCOMPARE(prompts->messages.last().text, QString("Save current \"Home\" profile?"));
        QCOMPARE(prompts->messages.last().buttons, MsgButtons::YesNoCancel);
        QCOMPARE(settingsBytes(), before);
        QCOMPARE(window(), w);

        // A log window that cannot save its changes stays open: nothing is
        // switched.
        QMainWindow* log = outLogWithADeletion(w, "Home");
        QVERIFY(log);
        QVERIFY(QFile::remove(data("HomeOut.log")) && QDir().mkdir(data("HomeOut.log")));
        prompts->messageAnswers << MsgResult::No << MsgResult::Yes << MsgResult::Ok;
        part<QAction>(w, "mnuNew")->trigger();
        QCOMPARE(prompts->messages.last().title, QString("Saving log to file"));
        QVERIFY(log->isVisible());
        QCOMPARE(settingsBytes(), before);
        QCOMPARE(window(), w);
        prompts->messageAnswers.enqueue(MsgResult::No);
        log->close();
        QVERIFY(QDir().rmdir(data("HomeOut.log")));

        // New → Yes with a save that fails: told, and Home stays.
        QDir().mkpath(data("Home.tlx"));
        prompts->messageAnswers.enqueue(MsgResult::Yes);
        part<QAction>(w, "mnuNew")->trigger();
        QCOMPARE(prompts->messages.last().text, QString("Error saving file"));
        QCOMPARE(window(), w);
        QCOMPARE(settingsBytes(), before);
        QDir().rmdir(data("Home.tlx"));

        // The profile already loaded, No to saving, No to proceeding.
        TestEnv::writeFile(data("Home.tlx"), marker() + "\r\n[Profile]\r\nName=Home.tlx\r\n");
        prompts->fileAnswers.enqueue(data("Home.tlx"));
        prompts->messageAnswers << MsgResult::No << MsgResult::No;
        part<QAction>(w, "mnuOpen")->trigger();
        QCOMPARE(prompts->messages.last().title, QString("Profile \"Home\" already loaded"));
        QCOMPARE(prompts->messages.last().defaultButton, 2);
        QCOMPARE(settingsBytes(), before);
        QCOMPARE(window(), w);

        // New → Yes: Home is saved, then the empty profile starts, once.
        options().setText(OptionsStore::TxtRedial, "9"); // as the user left the options
        prompts->messageAnswers.enqueue(MsgResult::Yes);
        part<QAction>(w, "mnuNew")->trigger();
        settle();
        QCOMPARE(reloads, 1);
        QVERIFY(window() != w);
        w = window();
        QVERIFY(TestEnv::readFile(data("Home.tlx")).contains("Name0101=Ann\r\n"));
        QCOMPARE(w->windowTitle(), QString("Telvaro - \"Untitled\""));
        QVERIFY(!w->isMinimized());
        QVERIFY(settingsBytes().startsWith(marker() + "\r\n"));
        QVERIFY(!settingsBytes().contains("Name0101"));
        QCOMPARE(settings::read("Preferences", "Redials Number"), QString("9"));
        QCOMPARE(operation(w), ProfileOperation::None);

        // A cancelled Open dialog, then the window's close: the program ends.
        part<QAction>(w, "mnuOpen")->trigger();
        QCOMPARE(operation(w), ProfileOperation::None);
        prompts->messageAnswers.enqueue(MsgResult::No);
        w->close();
        QCOMPARE(ended, 1);
    }

    // New and Open ask every question before a window closes: a Cancel at
    // "already exists" leaves the memo pad and its unsaved note open. The
    // session ending during a log window's question ends the command too.
    void questionsComeFirstAndAnExitEndsTheCommand()
    {
        writeSettings("[Speed Dial]\r\nName0101=Ann\r\nNumber0101=5550101\r\n");
        TestEnv::writeFile(data("Untitled.tlx"), marker() + "\r\n[Speed Dial]\r\nName0101=Old\r\n");
        TestEnv::writeFile(data("Other.tlx"), marker() + "\r\n[Profile]\r\nName=Other.tlx\r\n");
        const QByteArray untitled = TestEnv::readFile(data("Untitled.tlx"));
        FrmDialer* w = start();
        const QByteArray before = settingsBytes();
        w->findChild<DirectoryView*>()->openMemo("0101");
        FrmMemo* memo = w->findChild<DirectoryView*>()->memoPad();
        QVERIFY(memo && memo->isVisible());
        QTest::keyClicks(part<QPlainTextEdit>(memo, "TxtMemo"), "typed, not saved");
        const QString typed = part<QPlainTextEdit>(memo, "TxtMemo")->toPlainText();

        for (QAction* command : {part<QAction>(w, "mnuNew"), part<QAction>(w, "mnuOpen")}) {
            prompts->fileAnswers.enqueue(data("Other.tlx"));
            prompts->messageAnswers << MsgResult::Yes << MsgResult::Cancel;
            command->trigger();
            QCOMPARE(prompts->messages.last().title, QString("File Untitled.tlx already exists"));
            QCOMPARE(window(), w);
            QVERIFY(memo->isVisible());
            QCOMPARE(part<QPlainTextEdit>(memo, "TxtMemo")->toPlainText(), typed);
            QCOMPARE(settingsBytes(), before);
            QCOMPARE(TestEnv::readFile(data("Untitled.tlx")), untitled);
        }
        memo->close();

        // A log window with an unsaved deletion asks as it closes; the
        // session ends during that question.
        for (int open = 0; open < 2; ++open) {
            if (open) {
                delete w;
                settle();
                ended = 0;
                w = start();
            }
            QAction* command = open ? part<QAction>(w, "mnuOpen") : part<QAction>(w, "mnuNew");
            QVERIFY(outLogWithADeletion(w, "Untitled"));
            ExitingPrompter exiting(loaded);
            exiting.file = data("Other.tlx");
            askWith(&exiting);
            command->trigger();
            askWith(prompts.get());
            QVERIFY(exiting.asked.contains("Save the changes?"));
            QCOMPARE(ended, 1);
            // Nothing after the exit: no new settings, no new window.
            QCOMPARE(reloads, 0);
            QCOMPARE(window(), w);
            QVERIFY(settingsBytes().contains("Name0101=Ann\r\n"));
            QVERIFY(!settingsBytes().contains("Name=Other.tlx"));
        }
    }

    // Open Profile with the memo pad open: the pad closes storing nothing,
    // and the new profile's note for that entry stays as it was.
    void openClosesTheMemoPadWithoutStoring()
    {
        writeSettings("[Speed Dial]\r\nName0101=Ann\r\nNumber0101=5550101\r\n");
        TestEnv::writeFile(data("Other.tlx"), marker() +
                                                  "\r\n[Profile]\r\nName=Other.tlx\r\n"
                                                  "[Speed Dial]\r\nName0101=Olga\r\n"
                                                  "[MemoLog]\r\nLog0101=Olga's own note\r\n");
        FrmDialer* w = start();
        w->findChild<DirectoryView*>()->openMemo("0101");
        FrmMemo* memo = w->findChild<DirectoryView*>()->memoPad();
        QVERIFY(memo && memo->isVisible());
        QTest::keyClicks(part<QPlainTextEdit>(memo, "TxtMemo"), "written for Ann");
        const QPointer<FrmMemo> pad(memo);
        // What the program's request queue hears of the memo pad.
        bool memoOpen = true;
        connect(w->findChild<DirectoryView*>(), &DirectoryView::memoOpenChanged, this,
                [&memoOpen](bool open) { memoOpen = open; });

        prompts->fileAnswers.enqueue(data("Other.tlx"));
        prompts->messageAnswers.enqueue(MsgResult::No);
        part<QAction>(w, "mnuOpen")->trigger();
        settle();
        QVERIFY(!pad || !pad->isVisible());
        QVERIFY(!memoOpen);
        QCOMPARE(settings::read("MemoLog", "Log0101"), QString("Olga's own note"));
        QCOMPARE(window()->windowTitle(), QString("Telvaro - \"Other\""));
        QCOMPARE(window()->findChild<DirectoryView*>()->caption(1), QString("Olga"));

        // The window closed while the Open dialog is up: the program ends.
        ClosingPrompter closing(loaded);
        askWith(&closing);
        part<QAction>(window(), "mnuOpen")->trigger();
        askWith(prompts.get());
        QCOMPARE(ended, 1);
        QVERIFY(!TestEnv::readFile(data("Other.tlx")).contains("written for Ann"));
    }

    // Open a profile with another directory and other options, receiving
    // on: the line receives again, a dial from the pad reaches the modem,
    // both calls are logged in that profile's logs, a request from another
    // program is accepted; the options dialog lives on and shows the
    // profile's values; a switch is refused while a call is shown.
    void openedProfileWorksWithTheModem()
    {
        SimModem sim({"--incoming", "6", "--first-call", "4000", "--rings", "1", "--ring-interval",
                      "400", "--cid-number", "4165550000"});
        if (!sim.started())
            QFAIL("the modem simulator did not start");
        const QByteArray receiving = "UseModem=1\r\nLine No=0\r\nCall Display=1\r\n"
                                     "Command Line=1\r\nBusy Delay Timer=1\r\n";
        writeSettings("[Preferences]\r\n" + receiving + "Redials Number=3\r\n");
        TestEnv::writeFile(data("Other.tlx"),
                           marker() + "\r\n[Profile]\r\nName=Other.tlx\r\n[Preferences]\r\n" +
                               receiving + "Redials Number=7\r\n[Speed Dial]\r\nName0101=Olga\r\n");

        FrmDialer* w = start();
        QVERIFY(parts->line().isOpen());
        const QPointer<FrmOptions> dialogKept(&w->parts().optionsDialog());
        prompts->fileAnswers.enqueue(data("Other.tlx"));
        prompts->messageAnswers.enqueue(MsgResult::No);
        part<QAction>(w, "mnuOpen")->trigger();
        settle();
        w = window();
        QCOMPARE(w->windowTitle(), QString("Telvaro - \"Other\""));
        QCOMPARE(w->findChild<DirectoryView*>()->caption(1), QString("Olga"));
        QVERIFY(dialogKept); // the same dialog, showing the profile's values
        QCOMPARE(dialogKept->findChild<SpinTextBox*>("TxtRedial")->text(), QString("7"));
        QVERIFY(dialogKept->findChild<QCheckBox*>("chkCallDisplay")->isChecked());
        QVERIFY(parts->line().isOpen());

        QTRY_VERIFY_WITH_TIMEOUT(
            !calllog::readLog(data("OtherIn.log"), calllog::LogKind::Incoming).isEmpty(), 15000);
        QTRY_VERIFY_WITH_TIMEOUT(parts->line().session().callHandle == 0, 5000);

        auto* pad = part<QWidget>(w, "fraPad")->findChild<DialPad*>();
        QTest::keyClicks(test::child<QLineEdit>(pad, "txtDial"), "5551234");
        QTest::mouseClick(test::child<QPushButton>(pad, "CmdDial"), Qt::LeftButton);
        auto* call = w->findChild<FrmConnect*>();
        QVERIFY(call);
        QTRY_COMPARE_WITH_TIMEOUT(test::child<QGroupBox>(call, "fra1")->title(),
                                  QString("Connected"), 15000);

        // No switch under a call.
        const int asked = prompts->files.size();
        part<QAction>(w, "mnuOpen")->trigger();
        part<QAction>(w, "mnuNew")->trigger();
        QCOMPARE(prompts->files.size(), asked);
        QCOMPARE(window(), w);
        QVERIFY(prompts->messages.last().text.startsWith("A call is in progress."));

        QTest::mouseClick(test::child<QPushButton>(call, "CmdOK"), Qt::LeftButton);
        const auto out = calllog::readLog(data("OtherOut.log"), calllog::LogKind::Outgoing);
        QCOMPARE(out.size(), 1);
        QCOMPARE(out[0].number, QString("5551234"));
        QVERIFY(sim.log().filter(QRegularExpression("^ATD")).size() >= 1);

        // Receiving off, then a new profile (which keeps that): the line of
        // the ended session is not taken for open, the next dial opens it.
        options().setChecked(OptionsStore::chkCallDisplay, false);
        prompts->messageAnswers.enqueue(MsgResult::No);
        part<QAction>(w, "mnuNew")->trigger();
        settle();
        w = window();
        QCOMPARE(w->windowTitle(), QString("Telvaro - \"Untitled\""));
        QVERIFY(!parts->line().isOpen());
        pad = part<QWidget>(w, "fraPad")->findChild<DialPad*>();
        QTest::keyClicks(test::child<QLineEdit>(pad, "txtDial"), "5552222");
        QTest::mouseClick(test::child<QPushButton>(pad, "CmdDial"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(sim.log().filter(QRegularExpression("^ATD.*5552222")).size() == 1,
                                 15000);
        QTest::mouseClick(test::child<QPushButton>(pad, "cmdCancel"), Qt::LeftButton);

        // A request from another program finds its recipient and is dialed.
        QCOMPARE(tapiRequestMakeCall("5557777", "test", "", ""), 0);
        QTRY_VERIFY_WITH_TIMEOUT(sim.log().filter(QRegularExpression("^ATD.*5557777")).size() == 1,
                                 15000);
        QTest::mouseClick(test::child<QPushButton>(pad, "cmdCancel"), Qt::LeftButton);
    }

    // Opening a profile while a call rings ends the session, port and lock
    // with it: the new session holds the port at most once (the profile that
    // does not receive still opens the line for dialing), and once the
    // session ends no descriptor or lock is left.
    void switchDuringARingReleasesThePort()
    {
        SimModem sim(
            {"--incoming", "3", "--first-call", "300", "--rings", "30", "--ring-interval", "300"});
        if (!sim.started())
            QFAIL("the modem simulator did not start");
        const QByteArray receiving = "UseModem=1\r\nLine No=0\r\nCall Display=1\r\n";
        writeSettings("[Preferences]\r\n" + receiving);
        TestEnv::writeFile(data("Quiet.tlx"), marker() +
                                                  "\r\n[Profile]\r\nName=Quiet.tlx\r\n"
                                                  "[Preferences]\r\nUseModem=1\r\nLine No=0\r\n"
                                                  "Call Display=0\r\n");
        TestEnv::writeFile(data("Loud.tlx"), marker() +
                                                 "\r\n[Profile]\r\nName=Loud.tlx\r\n"
                                                 "[Preferences]\r\n" +
                                                 receiving);
        const QString lock = UucpLock::lockFileFor(sim.device());
        FrmDialer* w = start();
        QVERIFY(parts->line().isOpen());
        QCOMPARE(UucpLock::ownerOf(lock), QCoreApplication::applicationPid());
        QCOMPARE(openCount(sim.device()), 1);
        QTRY_VERIFY_WITH_TIMEOUT(parts->line().callDisplayCall() != 0, 10000); // ringing

        prompts->fileAnswers.enqueue(data("Quiet.tlx"));
        prompts->messageAnswers.enqueue(MsgResult::No);
        part<QAction>(w, "mnuOpen")->trigger();
        settle();
        w = window();
        QCOMPARE(w->windowTitle(), QString("Telvaro - \"Quiet\""));
        QCOMPARE(openCount(sim.device()), parts->line().isOpen() ? 1 : 0);
        QCOMPARE(QFile::exists(lock), parts->line().isOpen());

        prompts->fileAnswers.enqueue(data("Loud.tlx"));
        prompts->messageAnswers.enqueue(MsgResult::No);
        part<QAction>(w, "mnuOpen")->trigger();
        settle();
        QVERIFY(parts->line().isOpen());
        QCOMPARE(UucpLock::ownerOf(lock), QCoreApplication::applicationPid());
        QCOMPARE(openCount(sim.device()), 1);
        parts->line().shutdown();
        QVERIFY(!QFile::exists(lock));
        QCOMPARE(openCount(sim.device()), 0);
    }
};

QTEST_MAIN(TestProfiles)
#include "test_profiles.moc"
