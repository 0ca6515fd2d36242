// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "app/FrmDialer.h"
#include "app/ProgramParts.h"
#include "common/AnsweringDevices.h"
#include "common/CountingEnder.h"
#include "common/Find.h"
#include "common/ScriptedPrompter.h"
#include "common/TestEnv.h"
#include "core/calllog/CallLogFile.h"
#include "core/common/Helpers.h"
#include "core/dialing/Dialer.h"
#include "core/telephony/LineService.h"
#include "gui/common/Twips.h"
#include "settings/Cp1252.h"
#include "settings/OptionsStore.h"
#include "settings/SettingsFile.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSessionManager>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace telvaro;
using telvaro::profiles::ProfileOperation;
using telvaro::test::child;
using telvaro::test::ScriptedPrompter;
using telvaro::test::TestEnv;

namespace {

QByteArray header()
{
    return cp1252::encode(settings::kHeader) + "\r\n\r\n";
}

// Records what start-up and exit ask of the other parts: the numbers
// dialed, the tray icon and the profile commands.
struct Calls
{
    QStringList log;
    QStringList dialed;
    int ended = 0;

    void install(FrmDialer& window)
    {
        auto note = [this](const char* name) { return [this, name] { log << name; }; };
        Dialer& dialer = window.parts().dialer();
        QObject::connect(&dialer, &Dialer::dialStarting, &window,
                         [this, &dialer] { dialed << dialer.request().number; });

        // In place of the directory's mode switches and the profile commands
        // (the directory still checks the mode's menu item at start-up).
        FrmDialer* w = &window;
        QObject::disconnect(w, &FrmDialer::profileSaveAtExit, nullptr, nullptr);
        QObject::disconnect(w, &FrmDialer::profileSaveRequested, nullptr, nullptr);
        for (QAction* a : {child<QAction>(w, "mnuIndex"), child<QAction>(w, "mnuSubject"),
                           child<QAction>(w, "mnuSave")})
            QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
        QObject::connect(w, &FrmDialer::tabModeLoaded, [this](bool subject) {
            log << (subject ? "showSubjectTabs" : "showIndexTabs");
        });
        QObject::connect(child<QAction>(w, "mnuIndex"), &QAction::triggered, note("showIndexTabs"));
        QObject::connect(child<QAction>(w, "mnuSubject"), &QAction::triggered,
                         note("showSubjectTabs"));
        QObject::connect(child<QAction>(w, "mnuSave"), &QAction::triggered, note("saveProfile"));
        QObject::connect(w, &FrmDialer::profileSaveRequested, note("saveProfile"));
        QObject::connect(w, &FrmDialer::profileSaveAtExit, [this](bool quiet) {
            log << (quiet ? "saveProfileAtExit quiet" : "saveProfileAtExit");
        });
    }
};

} // namespace

class TestFrmDialer : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> env;
    std::unique_ptr<ScriptedPrompter> prompts;
    std::unique_ptr<Calls> calls;
    std::unique_ptr<test::CountingEnder> ender;
    // The program's parts, with one line device that answers every call.
    test::AnsweringDevices devices;
    std::unique_ptr<ProgramParts> parts;

    LineService& line() { return parts->line(); }
    QString padText(FrmDialer& w)
    {
        return child<QLineEdit>(child<QFrame>(&w, "fraPad"), "txtDial")->text();
    }
    // The line session was started (registered, the device queried, the
    // session record written) and numbers of later starts reach the window.
    void verifySessionStarted(FrmDialer& w)
    {
        QVERIFY(line().session().lineApp != 0);
        QVERIFY(line().session().lineApiVersion != 0);
        QVERIFY(QFile::exists(sessionRecordFile()));
        QVERIFY(w.messagesHooked());
    }
    void verifySessionEnded()
    {
        QVERIFY(!line().isOpen());
        QCOMPARE(line().session().lineApp, HLINEAPP(0));
        QVERIFY(!QFile::exists(sessionRecordFile()));
    }

    std::unique_ptr<FrmDialer> makeWindow(ProfileOperation loadedBy = ProfileOperation::None)
    {
        auto w = std::make_unique<FrmDialer>(parts.get(), loadedBy, ender.get());
        connect(w.get(), &FrmDialer::trayIconWanted, this,
                [this](bool shown) { calls->log << (shown ? "trayAdd" : "trayDelete"); });
        // In place of the parts the window installed.
        calls->install(*w);
        return w;
    }

    void writeSettings(const QByteArray& body)
    {
        TestEnv::writeFile(env->settingsFile(), header() + body);
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnv>();
        prompts = std::make_unique<ScriptedPrompter>();
        options().resetToDesigned();
        parts.reset(); // its line session ends before the next begins
        parts = std::make_unique<ProgramParts>(
            nullptr, PartDoubles{&devices, nullptr, nullptr, prompts.get()});
        calls = std::make_unique<Calls>();
        ender = std::make_unique<test::CountingEnder>(calls->ended);
    }
    void cleanup()
    {
        parts.reset();
        prompts.reset();
        env.reset();
    }

    void menusAsDesigned()
    {
        auto w = makeWindow();
        struct Item
        {
            QAction* action;
            const char* caption;
            QKeySequence shortcut;
            bool enabled;
        };
        const QList<Item> items = {
            {child<QAction>(w, "mnuNew"), "&New Profile", QKeySequence("Ctrl+N"), true},
            {child<QAction>(w, "mnuOpen"), "&Open Profile", QKeySequence("Ctrl+O"), true},
            {child<QAction>(w, "mnuSave"), "&Save Profile", QKeySequence("Ctrl+S"), true},
            {child<QAction>(w, "mnuSaveAs"), "Save Profile &As", {}, true},
            {child<QAction>(w, "mnuPrintOutLog"), "&Print Outgoing Calls Log",
             QKeySequence("Ctrl+P"), true},
            {child<QAction>(w, "mnuPrintInLog"), "Print &Incoming Calls Log",
             QKeySequence("Ctrl+Q"), false},
            {child<QAction>(w, "mnuExit"), "E&xit", {}, true},
            {child<QAction>(w, "mnuCut"), "Cu&t", QKeySequence("Ctrl+X"), false},
            {child<QAction>(w, "mnuCopy"), "&Copy", QKeySequence("Ctrl+C"), false},
            {child<QAction>(w, "mnuPaste"), "&Paste", QKeySequence("Ctrl+V"), false},
            {child<QAction>(w, "mnuDelete"), "&Delete", QKeySequence(Qt::Key_Delete), false},
            {child<QAction>(w, "mnuIndex"), "&Index Tabs", {}, true},
            {child<QAction>(w, "mnuSubject"), "&Subject Tabs", {}, true},
            {child<QAction>(w, "mnuArrange"), "&Arrange Tabs Alphabetically", {}, false},
            {child<QAction>(w, "mnuOutLog"), "&Outgoing Calls Log", {}, true},
            {child<QAction>(w, "mnuInLog"), "I&ncoming Calls Log", {}, false},
            {child<QAction>(w, "mnuOptions"), "&Options", {}, true},
            {child<QAction>(w, "mnuDialProperties"), "&Dialing Properties", {}, true},
            {child<QAction>(w, "mnuHelpTopics"), "&Help Topics", {}, true},
            {child<QAction>(w, "mnuHelpAbout"), "&About Telvaro", {}, true},
            {child<QAction>(w, "mnuMouseEdit"), "Edit", {}, true},
            {child<QAction>(w, "mnuMouseCopy"), "Copy", {}, true},
            {child<QAction>(w, "mnuMousePaste"), "Paste", {}, false},
            {child<QAction>(w, "mnuMouseDelete"), "Delete", {}, true},
            {child<QAction>(w, "mnuEditTab"), "Edit Tab (title)", {}, true},
            {child<QAction>(w, "mnuMoveTab"), "MoveTab", {}, true},
            {child<QAction>(w, "mnuPasteTab"), "Paste Tab", {}, false},
            {child<QAction>(w, "mnuDeleteTab"), "Delete Tab", {}, true},
            {child<QAction>(w, "mPopRestore"), "&Restore", {}, true},
            {child<QAction>(w, "mnuReceive"), "&Automatic Receive", {}, true},
            {child<QAction>(w, "mPopExit"), "&Exit", {}, true},
        };
        for (const Item& item : items) {
            QVERIFY(item.action);
            QCOMPARE(item.action->text(), QString::fromUtf8(item.caption));
            QCOMPARE(item.action->shortcut(), item.shortcut);
            QCOMPARE(item.action->isEnabled(), item.enabled);
        }
        QVERIFY(child<QAction>(w, "mnuIndex")->isChecked());
        QVERIFY(!child<QAction>(w, "mnuSubject")->isChecked());

        // The menu bar, in order; the pop-ups are not on it.
        QStringList bar;
        for (QAction* a : w->menuBar()->actions())
            bar << a->text();
        QCOMPARE(bar, QStringList({"&File", "&Edit", "&View", "&Tools", "&Help"}));
        QCOMPARE(child<QMenu>(w, "mnuSystray")->title(), QString("&Systray"));
        QCOMPARE(child<QMenu>(w, "mnuSpeed")->title(), QString("&Edit Button:"));
        QCOMPARE(child<QMenu>(w, "mnuSpeed")->actions().size(), 12);
        QCOMPARE(child<QAction>(w, "EditSpeed1"), child<QMenu>(w, "mnuSpeed")->actions().first());
        QCOMPARE(child<QAction>(w, "EditSpeed12"), child<QMenu>(w, "mnuSpeed")->actions().last());

        // Separators where designed: File before Exit, Edit before the
        // button menu, View before the logs, Help before About, and the
        // pop-ups.
        auto separatorsOf = [](QMenu* m) {
            QList<int> at;
            for (int i = 0; i < m->actions().size(); ++i)
                if (m->actions().at(i)->isSeparator())
                    at << i;
            return at;
        };
        QCOMPARE(separatorsOf(child<QMenu>(w, "mnuFile")), QList<int>({6}));
        QCOMPARE(separatorsOf(child<QMenu>(w, "mnuEdit")), QList<int>({4}));
        QCOMPARE(separatorsOf(child<QMenu>(w, "mnuView")), QList<int>({4}));
        QCOMPARE(separatorsOf(child<QMenu>(w, "mnuHelp")), QList<int>({1}));
        QCOMPARE(separatorsOf(child<QMenu>(w, "mnuMouse")), QList<int>({1, 4}));
        QCOMPARE(separatorsOf(child<QMenu>(w, "mnuMouse1")), QList<int>({1, 4}));
        QCOMPARE(separatorsOf(child<QMenu>(w, "mnuSystray")), QList<int>({2}));

        QCOMPARE(child<QToolButton>(w, "cmdShow")->toolTip(), QString("Show Dialing Pad"));
        QCOMPARE(child<QToolButton>(w, "cmdHide")->toolTip(), QString("Hide Dialing Pad"));
        QCOMPARE(child<QToolButton>(w, "cmdShow")->parentWidget(), child<QFrame>(w, "fraMain"));
    }

    void menuItemsOfOtherPartsReachThem()
    {
        auto w = makeWindow();
        QStringList called;
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));

        child<QAction>(w, "mnuOptions")->trigger();
        auto* dialog = w->findChild<QDialog*>("frmOptions");
        QVERIFY(dialog && dialog->isVisible());
        dialog->hide();

        // The about box is modal over the window and leaves the caller going.
        child<QAction>(w, "mnuHelpAbout")->trigger();
        auto* about = w->findChild<QDialog*>("FrmAbout");
        QVERIFY(about && about->isVisible());
        QCOMPARE(about->windowModality(), Qt::WindowModal);
        about->accept();
        QTRY_VERIFY(!w->findChild<QDialog*>("FrmAbout"));

        child<QAction>(w, "mnuHelpTopics")->trigger();
        QWidget* help = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->windowTitle() == "Telvaro Help" && top->isVisible())
                help = top;
        QVERIFY(help);
        help->close();

        // The dialing properties open modal over the window.
        QTimer::singleShot(0, this, [&] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (d && d->objectName() == "DialingPropertiesDialog") {
                called << (d->parentWidget() == w.get() ? "properties" : "properties elsewhere");
                d->reject();
            }
        });
        child<QAction>(w, "mnuDialProperties")->trigger();
        // The tray menu offers "&Restore" only for a minimised window, and
        // Restore brings the window back with the focus on the tab strip.
        Q_EMIT child<QMenu>(w, "mnuSystray")->aboutToShow();
        QVERIFY(!child<QAction>(w, "mPopRestore")->isVisible());
        w->showMinimized();
        QTRY_VERIFY(w->isMinimized());
        Q_EMIT child<QMenu>(w, "mnuSystray")->aboutToShow();
        QVERIFY(child<QAction>(w, "mPopRestore")->isVisible());
        child<QAction>(w, "mPopRestore")->trigger();
        QVERIFY(!w->isMinimized());
        QTRY_COMPARE(QApplication::focusWidget(), child<QWidget>(w, "TabS"));
        child<QAction>(w, "mnuSubject")->trigger();
        child<QAction>(w, "mnuSave")->trigger();
        QCOMPARE(called, QStringList({"properties"}));
        QCOMPARE(calls->log, QStringList({"showSubjectTabs", "saveProfile"}));
    }

    void theReceiveBoxShowsInTheMenus()
    {
        auto w = makeWindow();
        QVERIFY(!child<QAction>(w, "mnuInLog")->isEnabled());
        options().setChecked(OptionsStore::chkCallDisplay, true);
        QCOMPARE(child<QAction>(w, "mnuReceive")->text(), QString("&Automatic Receive"));
        QVERIFY(child<QAction>(w, "mnuInLog")->isEnabled());
        QVERIFY(child<QAction>(w, "mnuPrintInLog")->isEnabled());
        options().setChecked(OptionsStore::chkCallDisplay, false);
        QCOMPARE(child<QAction>(w, "mnuReceive")->text(), QString("&Manual Receive"));
        QVERIFY(!child<QAction>(w, "mnuInLog")->isEnabled());
        QVERIFY(!child<QAction>(w, "mnuPrintInLog")->isEnabled());
    }

    void togglingThePadTwiceRestoresTheWindow()
    {
        auto w = makeWindow();
        w->move(400, 100);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        const QRect before = w->geometry();
        const QPoint posBefore = w->pos();
        QCOMPARE(w->width(), twipsToPixelsX(4800));
        QCOMPARE(w->fraMainLeftTwips(), 1920);

        child<QToolButton>(w, "cmdHide")->click();
        QCOMPARE(child<QAction>(w, "mnuHide")->text(), QString("Show Dialing &Pad"));
        QVERIFY(!w->padShown());
        QCOMPARE(w->width(), twipsToPixelsX(2880));
        QCOMPARE(w->pos().x(), posBefore.x() + twipsToPixelsX(1920));
        QCOMPARE(child<QFrame>(w, "fraMain")->x(), 0);
        QCOMPARE(child<QFrame>(w, "fraMain")->width(), twipsToPixelsX(2880));
        QVERIFY(child<QToolButton>(w, "cmdShow")->isVisible());
        QVERIFY(!child<QToolButton>(w, "cmdHide")->isVisible());

        child<QAction>(w, "mnuHide")->trigger();
        QCOMPARE(child<QAction>(w, "mnuHide")->text(), QString("Hide Dialing &Pad"));
        QVERIFY(w->padShown());
        QCOMPARE(w->geometry(), before);
        QCOMPARE(w->pos(), posBefore);
        QCOMPARE(w->fraMainLeftTwips(), 1920);
        QVERIFY(child<QToolButton>(w, "cmdHide")->isVisible());
        QVERIFY(!child<QToolButton>(w, "cmdShow")->isVisible());

        // A caption of neither kind does nothing.
        child<QAction>(w, "mnuHide")->setText("Something else");
        w->toggleDialingPad();
        QCOMPARE(w->geometry(), before);
    }

    void startWithEmptyFoldersUsesTheDesignedState()
    {
        auto w = makeWindow();
        w->formLoad(QString());
        QCOMPARE(TestEnv::readFile(env->settingsFile()), header());
        QCOMPARE(w->windowTitle(), QString("Telvaro - \"Untitled\""));
        QCOMPARE(child<QAction>(w, "mnuSave")->text(), QString("&Save \"Untitled\""));
        QCOMPARE(child<QAction>(w, "mnuSaveAs")->text(), QString("Save  &As"));
        QCOMPARE(w->parts().profile().name(), QString("Untitled"));
        QCOMPARE(WindowsDirectory(), env->configDir());
        QVERIFY(w->padShown());
        QCOMPARE(child<QAction>(w, "mnuHide")->text(), QString("Hide Dialing &Pad"));
        QCOMPARE(calls->log, QStringList({"showIndexTabs", "trayAdd"}));
        verifySessionStarted(*w);
        QCOMPARE(parts->dialer().recentNumbers(), QStringList());
        QCOMPARE(padText(*w), QString());
        QCOMPARE(child<QAction>(w, "mnuReceive")->text(), QString("&Automatic Receive"));
        QCOMPARE(w->height(), twipsToPixelsY(5700));
        QVERIFY(w->isVisible());
        QVERIFY(w->isMinimized());
    }

    void startReadsProfilePadModeAndRecentNumbers()
    {
        writeSettings("[Profile]\r\nName=Home.tlx\r\n[Preferences]\r\nDialing Pad=0\r\nMode= 1\r\n"
                      "Call Display=1\r\n[Last Dialed Numbers]\r\nCount= 3\r\n"
                      "Last Dialed No 0=5551234\r\nLast Dialed No 2=777\r\n");
        auto w = makeWindow(ProfileOperation::Open);
        w->move(600, 100);
        const int x = w->x();
        w->formLoad(QString());
        QCOMPARE(w->windowTitle(), QString("Telvaro - \"Home\""));
        QCOMPARE(child<QAction>(w, "mnuSave")->text(), QString("&Save \"Home\""));
        QCOMPARE(child<QAction>(w, "mnuSaveAs")->text(), QString("Save \"Home\" &As"));
        QVERIFY(!w->padShown());
        QVERIFY(!options().isChecked(OptionsStore::chkPad));
        QCOMPARE(child<QAction>(w, "mnuHide")->text(), QString("Show Dialing &Pad"));
        QCOMPARE(w->x(), x + twipsToPixelsX(1920));
        QVERIFY(options().isSelected(OptionsStore::optSubject));
        QVERIFY(child<QAction>(w, "mnuSubject")->isChecked());
        QVERIFY(calls->log.contains("showSubjectTabs"));
        QVERIFY(!calls->log.contains("showIndexTabs"));
        QCOMPARE(parts->dialer().recentNumbers(), QStringList({"5551234", "", "777"}));
        QCOMPARE(padText(*w), QString("5551234"));
        // A reload shows the window in its normal state.
        QVERIFY(!w->isMinimized());
    }

    void tabModeFromTheSettingsFile_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("subject");
        QTest::newRow("1") << QByteArray("Mode=1\r\n") << true;
        QTest::newRow("blank 1") << QByteArray("Mode= 1\r\n") << true;
        QTest::newRow("0") << QByteArray("Mode=0\r\n") << false;
        QTest::newRow("2") << QByteArray("Mode=2\r\n") << false;
        QTest::newRow("empty") << QByteArray("Mode=\r\n") << false;
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("text") << QByteArray("Mode=subject\r\n") << false;
    }

    void tabModeFromTheSettingsFile()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, subject);
        writeSettings("[Preferences]\r\n" + line);
        auto w = makeWindow();
        w->formLoad(QString());
        QCOMPARE(options().isSelected(OptionsStore::optSubject), subject);
        QCOMPARE(calls->log.contains("showSubjectTabs"), subject);
        QCOMPARE(calls->log.contains("showIndexTabs"), !subject);
    }

    void unusableValuesCountAsMissing()
    {
        // A check value the program never writes leaves the pad as designed;
        // a receive value other than 1 reads "Manual".
        writeSettings("[Preferences]\r\nDialing Pad=7\r\nCall Display=yes\r\n"
                      "[Last Dialed Numbers]\r\nCount=abc\r\nLast Dialed No 0=1\r\n"
                      "[Profile]\r\nName=../../../tmp/evil.tlx\r\n");
        auto w = makeWindow();
        w->formLoad(QString());
        QVERIFY(w->padShown());
        QCOMPARE(child<QAction>(w, "mnuReceive")->text(), QString("&Manual Receive"));
        QCOMPARE(parts->dialer().recentNumbers(), QStringList());
        QCOMPARE(w->parts().profile().name(), QString("evil"));
        QCOMPARE(w->windowTitle(), QString("Telvaro - \"evil\""));
    }

    void wrongHeaderResetsTheSettings()
    {
        writeSettings("[Preferences]\r\nMode=1\r\n");
        TestEnv::writeFile(env->settingsFile(),
                           "The following lines are required by Telvaro - do NOT edit or remov3\r\n"
                           "\r\n[Preferences]\r\nMode=1\r\n");
        auto w = makeWindow();
        w->formLoad(QString());
        QCOMPARE(TestEnv::readFile(env->settingsFile()), header());
        QVERIFY(!options().isSelected(OptionsStore::optSubject));
    }

    void commandLineNumberIsDialedOnlyWhenAccepted()
    {
        // The command line, one leading "/" removed; dialed only when
        // numbers from other programs are accepted.
        const QList<std::tuple<QString, bool, QStringList>> cases{{"//5", false, {}},
                                                                  {"//5", true, {"/5"}},
                                                                  {"/555", true, {"555"}},
                                                                  {"555", true, {"555"}}};
        for (const auto& [commandLine, accept, dialed] : cases) {
            init();
            options().setChecked(OptionsStore::chkCommand, accept);
            auto w = makeWindow();
            w->formLoad(commandLine);
            QCOMPARE(calls->dialed, dialed);
            if (accept)
                QVERIFY(w->isMinimized());
        }
    }

    void exitWritesRecentNumbersAndAsksAboutAnUntitledProfile()
    {
        auto w = makeWindow();
        w->formLoad(QString());
        QStringList recent;
        for (int i = 0; i < 25; ++i)
            recent << QString::number(100 + i);
        parts->dialer().setRecentNumbers(recent);
        options().setChecked(OptionsStore::chkCallDisplay, true);
        prompts->messageAnswers.enqueue(MsgResult::Yes);
        calls->log.clear();

        child<QAction>(w, "mnuExit")->trigger();

        QCOMPARE(calls->ended, 1);
        QCOMPARE(prompts->messages.size(), 1);
        const MessageRequest& m = prompts->messages.first();
        QCOMPARE(m.title, QString("Saving profile Untitled"));
        QCOMPARE(m.text, QString("Profile has not been saved.\nSave before exiting?"));
        QCOMPARE(m.buttons, MsgButtons::YesNo);
        QCOMPARE(m.icon, MsgIcon::Question);
        QCOMPARE(calls->log, QStringList({"trayDelete", "saveProfile"}));
        verifySessionEnded();
        QVERIFY(!w->messagesHooked());
        const QByteArray bytes = TestEnv::readFile(env->settingsFile());
        QVERIFY(bytes.startsWith(header()));
        QVERIFY(bytes.contains("[Last Dialed Numbers]\r\nCount= 20\r\nLast Dialed No 0=100\r\n"));
        QVERIFY(bytes.contains("Last Dialed No 19=119\r\n"));
        QVERIFY(!bytes.contains("Last Dialed No 20"));
        QVERIFY(bytes.contains("[Preferences]\r\nCall Display=1\r\n"));

        // Closing the window afterwards does not run the exit again.
        w->close();
        QCOMPARE(calls->ended, 1);
        QCOMPARE(prompts->messages.size(), 1);
    }

    void answeringNoSkipsTheSave()
    {
        auto w = makeWindow();
        w->formLoad(QString());
        prompts->messageAnswers.enqueue(MsgResult::No);
        w->close(); // the title-bar close runs the exit sequence
        QCOMPARE(calls->ended, 1);
        QCOMPARE(prompts->messages.size(), 1);
        QVERIFY(!calls->log.contains("saveProfile"));
    }

    void exitOfANamedProfileSavesWithoutAskingAndPrunesItsLogs()
    {
        writeSettings("[Profile]\r\nName=Home.tlx\r\n");
        TestEnv::writeFile(env->dataDir() + "/HomeIn.log", "in\nrecord");
        TestEnv::writeFile(env->dataDir() + "/HomeOut.log", "out\r\n");
        options().setText(OptionsStore::txtDays, QStringLiteral("45"));
        auto w = makeWindow();
        w->formLoad(QString());
        calls->log.clear();
        w->exitProgram();
        QVERIFY(prompts->messages.isEmpty());
        QVERIFY(calls->log.contains("saveProfileAtExit"));
        // Both logs were rebuilt from their backups (lines without a date stay).
        const QString base = env->dataDir() + "/Home";
        const QByteArray pruned = calllog::headerBytes(calllog::HeaderVariant::Retention);
        QCOMPARE(TestEnv::readFile(base + "In.log"), pruned + "in\r\nrecord\r\n");
        QCOMPARE(TestEnv::readFile(base + "Out.log"), pruned + "out\r\n");
        QCOMPARE(TestEnv::readFile(base + "In.bak"), QByteArray("in\r\nrecord\r\n"));
        QCOMPARE(TestEnv::readFile(base + "Out.bak"), QByteArray("out\r\n"));
    }

    void logsArePrunedOnlyWhenOnAndPresentAndBackedUp()
    {
        TestEnv::writeFile(env->dataDir() + "/UntitledOut.log", "out\r\n");
        // The backup cannot be written: the log must not be rebuilt from it.
        QDir().mkpath(env->dataDir() + "/UntitledOut.bak");
        TestEnv::writeFile(env->dataDir() + "/UntitledIn.log", "in\r\n");
        options().setChecked(OptionsStore::chkDelIncoming, false);
        auto w = makeWindow();
        w->formLoad(QString());
        w->exitProgram(FrmDialer::ExitMode::NoQuestions);
        QCOMPARE(TestEnv::readFile(env->dataDir() + "/UntitledOut.log"), QByteArray("out\r\n"));
        QCOMPARE(TestEnv::readFile(env->dataDir() + "/UntitledIn.log"), QByteArray("in\r\n"));
        QVERIFY(!QFileInfo::exists(env->dataDir() + "/UntitledIn.bak"));
    }

    void exitWithoutQuestionsWritesAndDoesNotAsk()
    {
        auto w = makeWindow();
        w->formLoad(QString());
        w->exitProgram(FrmDialer::ExitMode::NoQuestions);
        QVERIFY(prompts->messages.isEmpty());
        QVERIFY(!calls->log.contains("saveProfile"));
        QCOMPARE(calls->ended, 1);
        QCOMPARE(TestEnv::readFile(env->settingsFile()),
                 header() +
                     "[Last Dialed Numbers]\r\nCount= 0\r\n[Preferences]\r\nCall Display=0\r\n");
    }

    void aProfileReloadEndsTheSessionAndOnlyRemovesTheTrayIcon()
    {
        auto w = makeWindow();
        w->formLoad(QString());
        calls->log.clear();
        w->unloadForReload();
        QCOMPARE(calls->log, QStringList({"trayDelete"}));
        verifySessionEnded();
        QCOMPARE(calls->ended, 0);
        QVERIFY(prompts->messages.isEmpty());
    }

    void messagesFromALaterStart()
    {
        auto w = makeWindow();
        w->formLoad(QString());
        QVERIFY(w->isMinimized());
        w->receiveFromOtherInstance(1, QString());
        QVERIFY(w->isVisible());
        QVERIFY(!w->isMinimized());

        w->receiveFromOtherInstance(3, QStringLiteral("5551234"));
        QVERIFY(calls->dialed.isEmpty()); // numbers from outside not accepted
        QVERIFY(w->isVisible());

        options().setChecked(OptionsStore::chkCommand, true);
        w->receiveFromOtherInstance(3, QStringLiteral("5551234"));
        QCOMPARE(calls->dialed, QStringList({"5551234"}));
        QVERIFY(w->isVisible()); // the dial minimises it; it is never hidden out of reach

        calls->log.clear();
        w->receiveFromOtherInstance(7, QStringLiteral("1"));
        w->receiveFromOtherInstance(3, QString());
        QVERIFY(calls->log.isEmpty());
        QCOMPARE(calls->dialed, QStringList({"5551234"}));
    }

    // The session manager's request to save (a checkpoint, a logout that
    // may still be cancelled) leaves Telvaro running; the session's end (the
    // application's Quit) ends it.
    void onlyTheSessionsEndEndsTheProgram()
    {
        int ended = 0;
        SessionEndWatcher watch(*qApp);
        connect(&watch, &SessionEndWatcher::sessionEnded, this, [&ended] { ++ended; });
        // The manager is not looked at; Qt gives no other way to make one.
        alignas(QSessionManager) char manager[sizeof(QSessionManager)] = {};
        Q_EMIT qApp->commitDataRequest(*reinterpret_cast<QSessionManager*>(manager));
        Q_EMIT qApp->saveStateRequest(*reinterpret_cast<QSessionManager*>(manager));
        QCOMPARE(ended, 0);
        QEvent quit(QEvent::Quit);
        QCoreApplication::sendEvent(qApp, &quit);
        QCOMPARE(ended, 1);
    }

    void keysGoToTheDirectoryOnce()
    {
        auto w = makeWindow();
        auto* edit = new QLineEdit(child<QFrame>(w, "fraPad"));
        w->show();
        QList<QPair<int, int>> downs;
        QString letters;
        // Shift state as 1 Shift, 2 Ctrl, 4 Alt.
        QObject::connect(w.get(), &FrmDialer::keyPressed, [&](int key, Qt::KeyboardModifiers m) {
            downs << qMakePair(key, (m & Qt::ShiftModifier ? 1 : 0) |
                                        (m & Qt::ControlModifier ? 2 : 0) |
                                        (m & Qt::AltModifier ? 4 : 0));
        });
        QObject::connect(w.get(), &FrmDialer::letterTyped, [&](QChar c) { letters += c; });

        QTest::keyClick(edit, Qt::Key_M);
        QTest::keyClick(edit, Qt::Key_Down, Qt::ControlModifier);
        QTest::keyClick(w.get(), Qt::Key_Up); // reaches the window itself
        // Keys the line edit ignores travel on to its parents: still once.
        QTest::keyClick(edit, Qt::Key_F5, Qt::ShiftModifier);
        QTest::keyClick(child<QFrame>(w, "fraPad"), Qt::Key_F6); // a frame ignores every key
        // Modifier keys are key-downs of their own, as on the desktop.
        QCOMPARE(downs, (QList<QPair<int, int>>{{Qt::Key_M, 0},
                                                {Qt::Key_Control, 2},
                                                {Qt::Key_Down, 2},
                                                {Qt::Key_Up, 0},
                                                {Qt::Key_Shift, 1},
                                                {Qt::Key_F5, 1},
                                                {Qt::Key_F6, 0}}));
        QCOMPARE(letters, QString("m"));
        QCOMPARE(edit->text(), QString("m"));
    }
};

QTEST_MAIN(TestFrmDialer)
#include "test_frmdialer.moc"
