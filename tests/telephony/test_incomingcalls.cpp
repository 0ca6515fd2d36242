// SPDX-License-Identifier: GPL-3.0-or-later
// Incoming calls end to end: the program's main window started on a settings
// file that receives calls, the real line layer and modem provider, and
// telvaro-modemsim ringing on a pseudo-terminal.

#include "SimModem.h"

#include "app/FrmDialer.h"
#include "app/ProgramParts.h"
#include "common/CountingEnder.h"
#include "common/ScriptedPrompter.h"
#include "common/TestEnv.h"
#include "core/calllog/CallLogFile.h"
#include "core/common/CurrentProfile.h"
#include "core/dialing/Dialer.h"
#include "core/telephony/SoundPlayer.h"
#include "gui/dialing/DialPad.h"
#include "common/Find.h"
#include "gui/shell/TrayIcon.h"
#include "gui/telephony/FrmCallDisplay.h"
#include "settings/OptionsStore.h"
#include "settings/SettingsFile.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace telvaro;
using calllog::LogKind;

namespace {

class RecordingPlayer final : public SoundPlayer
{
public:
    void play(const WaveSound&, PlayMode) override { ++plays; }
    void stop() override { ++stops; }
    void beep() override {}
    int plays = 0;
    int stops = 0;
};

FrmCallDisplay* shownDisplay()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<FrmCallDisplay*>(w); d && d->isVisible())
            return d;
    }
    return nullptr;
}

QList<calllog::CallLogRow> incomingLog()
{
    return calllog::readLog(calllog::logPath(CurrentProfile::untitled(), LogKind::Incoming),
                            LogKind::Incoming);
}

const QString kJohn = QStringLiteral("5551234          JOHN DOE");

} // namespace

class TestIncomingCalls : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestEnv> env;
    std::unique_ptr<test::ScriptedPrompter> prompts;
    std::unique_ptr<RecordingPlayer> sound;
    std::unique_ptr<test::SimModem> sim;
    std::unique_ptr<ProgramParts> parts;
    std::unique_ptr<FrmDialer> window;
    int ended = 0;
    test::CountingEnder ender{ended};

    // The program started receiving calls, with the simulator ringing once
    // after `firstCallMs` (three rings a second apart unless `args` say more).
    bool start(const QStringList& args, int firstCallMs = 1200)
    {
        sim = std::make_unique<test::SimModem>(
            QStringList{QStringLiteral("--incoming"), QStringLiteral("600"),
                        QStringLiteral("--first-call"), QString::number(firstCallMs),
                        QStringLiteral("--rings"), QStringLiteral("3"),
                        QStringLiteral("--ring-interval"), QStringLiteral("1000")} +
            args);
        if (!sim->started())
            return false;
        test::TestEnv::writeFile(env->settingsFile(),
                                 QByteArray(settings::kHeader.toLatin1()) +
                                     "\r\n\r\n[Preferences]\r\nCall Display=1\r\n"
                                     "SoundIncoming Enabled=1\r\nUseModem=1\r\n");
        parts = std::make_unique<ProgramParts>(nullptr, PartDoubles{nullptr, nullptr, sound.get(), prompts.get()});
        window = std::make_unique<FrmDialer>(parts.get(), profiles::ProfileOperation::None, &ender);
        window->formLoad(QString());
        return true;
    }

    int resets() const { return int(sim->log().filter(QStringLiteral("ATZ")).size()); }

    void exitProgram()
    {
        if (window)
            window->exitProgram(FrmDialer::ExitMode::NoQuestions);
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<test::TestEnv>();
        prompts = std::make_unique<test::ScriptedPrompter>();
        sound = std::make_unique<RecordingPlayer>();
        test::resetProgram();
        ended = 0;
    }

    void cleanup()
    {
        exitProgram();
        window.reset();
        parts.reset();
        sim.reset();
        sound.reset();
        prompts.reset();
        env.reset();
    }

    // Caller ID between the first and second RING: the window opens at the
    // first ring not knowing the caller, shows the caller once the report
    // is in, plays its sound once, and closes itself after the last ring.
    void callerIdAfterTheFirstRing()
    {
        QVERIFY2(start({QStringLiteral("--cid-delay"), QStringLiteral("800")}),
                 "the modem simulator did not start");
        window->hide(); // as in the tray
        QTRY_VERIFY_WITH_TIMEOUT(shownDisplay(), 10000);
        FrmCallDisplay* d = shownDisplay();
        auto* unknown = test::child<QLabel>(d, "imaDialing");
        auto* known = test::child<QLabel>(d, "imaConnect");
        QCOMPARE(test::child<QGroupBox>(d, "fra1")->title(), QStringLiteral("Incoming Call from:"));
        QCOMPARE(test::child<QLabel>(d, "lbl1")->text(), QStringLiteral("     Caller Unknown"));
        QVERIFY(unknown->isVisibleTo(d) && !known->isVisibleTo(d));
        QVERIFY(incomingLog().isEmpty());

        QTRY_COMPARE_WITH_TIMEOUT(test::child<QLabel>(d, "lbl1")->text(), kJohn, 5000);
        QVERIFY(!unknown->isVisibleTo(d) && known->isVisibleTo(d));
        QVERIFY(d->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(d->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!d->mask().isEmpty());

        QTRY_VERIFY_WITH_TIMEOUT(!shownDisplay(), 10000);
        QCOMPARE(sound->plays, 1);
        const auto rows = incomingLog();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].name, QStringLiteral("JOHN DOE"));
        QCOMPARE(rows[0].number, QStringLiteral("5551234"));
        exitProgram();
        QCOMPARE(incomingLog().size(), 1);
    }

    // However and whenever the caller ID comes, each call leaves exactly one
    // record, as it is shown.
    void oneRecordPerCall_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("bytes"); // in the file

        QTest::newRow("+CLIP on every ring") << QStringList{"--cid", "clip"} << "JOHN DOE"
                                             << "5551234" << kJohn << QByteArray("JOHN DOE");
        QTest::newRow("caller ID before the ring")
            << QStringList{"--cid-before-ring", "--cid-delay", "400"} << "JOHN DOE"
            << "5551234" << kJohn << QByteArray("5551234");
        QTest::newRow("stale caller ID is no caller ID")
            << QStringList{"--cid-before-ring", "--cid-delay", "5000"} << "Unknown Caller"
            << "Unknown #"
            << "     Caller Unknown" << QByteArray("Unknown Caller");
        QTest::newRow("no caller ID") << QStringList{"--cid", "none"} << "Unknown Caller"
                                      << "Unknown #"
                                      << "     Caller Unknown" << QByteArray("Unknown Caller");
        const QString forty = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklm");
        const QString cut = forty.left(38) + QLatin1Char('*');
        QTest::newRow("40-character name")
            << QStringList{"--cid", "compact", "--cid-name", forty} << cut << "5551234"
            << QStringLiteral("5551234          ") + cut
            << (cut + QStringLiteral("   5")).toLatin1();
        QTest::newRow("withheld number")
            << QStringList{"--cid-number", "P", "--cid-name", ""} << "Unknown Caller"
            << "Unknown #"
            << "Unknown #          Unknown Caller" << QByteArray("Unknown #");
        QTest::newRow("8-bit name")
            << QStringList{"--cid-name", QStringLiteral("MÜLLER")} << QStringLiteral("MÜLLER")
            << "5551234" << QStringLiteral("5551234          MÜLLER") << QByteArray("M\xdcLLER");
        QTest::newRow("MESG data block")
            << QStringList{"--cid", "mesg", "--cid-name", QStringLiteral("FRANÇOIS ŒUVRE")}
            << QStringLiteral("FRANÇOIS ŒUVRE") << "5551234"
            << QStringLiteral("5551234          FRANÇOIS ŒUVRE")
            << QByteArray("FRAN\xc7OIS \x8cUVRE");
    }
    void oneRecordPerCall()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, name);
        QFETCH(QString, number);
        QFETCH(QString, shown);
        QFETCH(QByteArray, bytes);
        QVERIFY2(start(args), "the modem simulator did not start");
        QTRY_VERIFY_WITH_TIMEOUT(shownDisplay(), 10000);
        FrmCallDisplay* d = shownDisplay();
        QTRY_COMPARE_WITH_TIMEOUT(test::child<QLabel>(d, "lbl1")->text(), shown, 5000);
        if (args.contains(QStringLiteral("none")))
            QVERIFY(incomingLog().isEmpty()); // written when the call ends
        QTRY_VERIFY_WITH_TIMEOUT(!shownDisplay(), 10000);
        const auto rows = incomingLog();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].name, name);
        QCOMPARE(rows[0].number, number);
        QVERIFY(
            test::TestEnv::readFile(calllog::logPath(CurrentProfile::untitled(), LogKind::Incoming))
                .contains(bytes));
        QCOMPARE(sound->plays, 1);
    }

    // The tray's receive switch turns receiving off and on, re-initialising
    // the modem once per click; a call while it is off is neither shown nor
    // logged.
    void receiveSwitch()
    {
        QVERIFY2(start({QStringLiteral("--incoming"), QStringLiteral("6"),
                        QStringLiteral("--rings"), QStringLiteral("1")},
                       4000),
                 "the modem simulator did not start");
        QTRY_VERIFY_WITH_TIMEOUT(sim->log().join(u' ').contains(QStringLiteral("CID=1")), 5000);
        QCOMPARE(test::child<QAction>(window, "mnuReceive")->text(),
                 QStringLiteral("&Automatic Receive"));
        QCOMPARE(window->parts().tray().toolTip(),
                 QStringLiteral("Telvaro-ready to receive calls"));
        const int before = resets();

        test::child<QAction>(window, "mnuReceive")->trigger();
        QCOMPARE(test::child<QAction>(window, "mnuReceive")->text(),
                 QStringLiteral("&Manual Receive"));
        QVERIFY(!options().isChecked(OptionsStore::chkCallDisplay));
        QCOMPARE(window->parts().tray().toolTip(),
                 QStringLiteral("Telvaro-disabled call receiving"));
        QTRY_COMPARE_WITH_TIMEOUT(resets(), before + 1, 5000);
        // The line is open (without privileges), yet the icon put back says
        // receiving is off.
        options().setChecked(OptionsStore::chkIcon, false);
        options().setChecked(OptionsStore::chkIcon, true);
        QCOMPARE(window->parts().tray().toolTip(),
                 QStringLiteral("Telvaro-disabled call receiving"));
        // The call at 4 s rings unheeded.
        QTest::qWait(4500);
        QCOMPARE(resets(), before + 1);
        QVERIFY(!shownDisplay());
        QVERIFY(incomingLog().isEmpty());

        test::child<QAction>(window, "mnuReceive")->trigger();
        QCOMPARE(test::child<QAction>(window, "mnuReceive")->text(),
                 QStringLiteral("&Automatic Receive"));
        QVERIFY(options().isChecked(OptionsStore::chkCallDisplay));
        QCOMPARE(window->parts().tray().toolTip(), QStringLiteral("Telvaro-ready to receive"));
        QTRY_COMPARE_WITH_TIMEOUT(resets(), before + 2, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(shownDisplay(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(incomingLog().size(), 1, 5000);
        QCOMPARE(resets(), before + 2);
    }

    // A call still unidentified when the program ends keeps its record.
    void exitWhileAnUnidentifiedCallRings()
    {
        QVERIFY2(start({QStringLiteral("--cid"), QStringLiteral("none"), QStringLiteral("--rings"),
                        QStringLiteral("9")}),
                 "the modem simulator did not start");
        QTRY_VERIFY_WITH_TIMEOUT(shownDisplay(), 10000);
        QVERIFY(incomingLog().isEmpty());
        exitProgram();
        QCOMPARE(ended, 1);
        const auto rows = incomingLog();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].name, QStringLiteral("Unknown Caller"));
        QCOMPARE(rows[0].number, QStringLiteral("Unknown #"));
    }

    // OK lets go of the window's own call without a word to the modem or a
    // further sound; dialing from the pad works afterwards. A log that
    // cannot be written is reported after the line event, once.
    void okThenDialFromThePad()
    {
        QDir().mkpath(env->dataDir());
        test::TestEnv::writeFile(calllog::logPath(CurrentProfile::untitled(), LogKind::Incoming),
                                 "");
        QFile::setPermissions(calllog::logPath(CurrentProfile::untitled(), LogKind::Incoming),
                              QFile::ReadOwner);
        QVERIFY2(start({QStringLiteral("--cid"), QStringLiteral("clip"), QStringLiteral("--rings"),
                        QStringLiteral("4")}),
                 "the modem simulator did not start");
        QTRY_VERIFY_WITH_TIMEOUT(shownDisplay(), 10000);
        FrmCallDisplay* d = shownDisplay();
        QTRY_COMPARE_WITH_TIMEOUT(test::child<QLabel>(d, "lbl1")->text(), kJohn, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(prompts->messages.size(), 1, 5000);
        QVERIFY(prompts->messages[0].text.contains(QStringLiteral("incoming calls log")));

        const int commands = int(sim->log().size());
        QTest::mouseClick(test::child<QPushButton>(d, "CmdOK"), Qt::LeftButton);
        QVERIFY(!shownDisplay());
        QCOMPARE(sound->plays, 1);
        QVERIFY(sound->stops >= 1);
        QTest::qWait(2500); // the caller rings on
        QCOMPARE(sim->log().size(), commands);
        QCOMPARE(sound->plays, 1);
        QVERIFY(!shownDisplay());
        QCOMPARE(prompts->messages.size(), 1);

        auto* pad = window->findChild<DialPad*>();
        QVERIFY(pad);
        test::child<QLineEdit>(pad, "txtDial")->setText(QStringLiteral("5550199"));
        QTest::mouseClick(test::child<QPushButton>(pad, "CmdDial"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(sim->log().join(u' ').contains(QStringLiteral("ATDT5550199")),
                                 10000);
    }
};

QTEST_MAIN(TestIncomingCalls)
#include "test_incomingcalls.moc"
