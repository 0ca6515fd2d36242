// SPDX-License-Identifier: GPL-3.0-or-later
// The program's line session and call control driving the serial modem
// provider through a real pseudo-terminal against telvaro-modemsim.

#include "LineRecorder.h"
#include "SimModem.h"
#include "core/calllog/CallLogFile.h"
#include "core/common/CurrentProfile.h"
#include "core/telephony/Call.h"
#include "core/telephony/LineService.h"
#include "core/telephony/lineapi/AtPort.h"
#include "core/telephony/lineapi/UucpLock.h"
#include "settings/OptionsStore.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

using namespace telvaro;
using namespace telvaro::test;

namespace {

// The start-up's share of telephony, with a modem simulator as modem 0.
struct Program
{
    TestEnv env;
    LineService line;
    LineRecorder rec{line};
    SimModem sim;

    explicit Program(const QStringList& simArgs,
                     const ModemSettings& settings = SimModem::fastSettings())
        : sim(simArgs, settings)
    {
        line.cleanUpStaleSession();
        line.initialize();
        (void)line.queryDevice(0);
    }
    ~Program()
    {
        line.close();
        line.shutdown();
    }
    Call& call() { return line.call(); }
    void dial(const QStringList& pieces)
    {
        call().start({}, pieces.join(QString()), {}, pieces);
        call().stopRequested = false;
        line.makeCall(pieces.first());
    }
    bool waitFor(const QString& call, int timeoutMs = 5000)
    {
        QElapsedTimer t;
        t.start();
        while (!rec.calls.contains(call) && t.elapsed() < timeoutMs)
            QTest::qWait(10);
        return rec.calls.contains(call);
    }
    bool waitForError(int timeoutMs = 5000)
    {
        QElapsedTimer t;
        t.start();
        while (rec.errors().isEmpty() && t.elapsed() < timeoutMs)
            QTest::qWait(10);
        return !rec.errors().isEmpty();
    }
};

} // namespace

class TestModemCalls : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A whole call as the user makes it, and what the modem was told.
    void callAndHangUp()
    {
        Program p({});
        QVERIFY(p.sim.started());
        QVERIFY(p.line.open(LineUse::Receive)); // call receiving on
        p.dial({"T5551234"});
        QVERIFY(p.waitFor("handleConnected"));
        // The user lifts the handset and presses OK: the modem's call is dropped.
        p.call().stopRequested = true;
        p.line.dropCall();
        QTRY_VERIFY(p.rec.has("processCallRequest")); // the line went idle
        QCOMPARE(p.line.session().callHandle, 0u);
        QVERIFY(p.rec.errors().isEmpty());
        const QStringList log = p.sim.log();
        QCOMPARE(log.mid(0, 4), QStringList({"ATZ", "ATE0V1", "ATX4", "ATL1M1"}));
        QVERIFY(log.contains("AT+VCID=1") || log.contains("AT%CCID=1"));
        QVERIFY(log.indexOf("ATDT5551234") > log.indexOf("ATL1M1"));
        QCOMPARE(log.constLast(), QStringLiteral("ATH0"));
    }

    // 90 characters: one ATD, then the second piece after the reply to the
    // first (a piece sent while the modem still dialed would abort the dial
    // and the call). The modem takes 40 characters after "AT": each piece
    // goes out as dial commands that fit, the method repeated.
    void longDialString()
    {
        ModemSettings settings = SimModem::fastSettings();
        settings.initString = "ATZ|ATE0V1|ATS11=50"; // the shortest touch tones
        Program p({"--max-line", "40"}, settings);
        QVERIFY(p.line.open(LineUse::DialOnly));
        const QString dialString = "T" + QString("0123456789").repeated(9).left(89);
        const QStringList pieces{dialString.left(78) + ";", dialString.mid(78)};
        p.dial(pieces);
        QVERIFY(p.waitFor("handleConnected", 15000));
        QVERIFY(p.rec.errors().isEmpty());
        const QStringList dials = p.sim.log().filter(QRegularExpression("^ATD"));
        QCOMPARE(
            dials,
            QStringList({"ATD" + dialString.mid(0, 38) + ";", "ATDT" + dialString.mid(38, 37) + ";",
                         "ATDT" + dialString.mid(75, 3) + ";", "ATD" + dialString.mid(78)}));
        QCOMPARE(p.call().piecesLeft(), 1);
        p.line.dropCall();
        QTRY_VERIFY(p.rec.has("processCallRequest"));
    }

    // Dialing takes as long as the line needs: ten pulse digits and the
    // billing tone's pause are no dead modem.
    void slowDialsEndNormally()
    {
        // A modem answering in digits, with echo on.
        ModemSettings settings = SimModem::fastSettings();
        settings.initString = "ATZ";
        Program p({"--numeric"}, settings);
        options().select(OptionsStore::optMode2);
        QVERIFY(p.line.open(LineUse::DialOnly));
        p.dial({"P1111111111"});
        QVERIFY(p.waitFor("handleConnected", 20000));
        QVERIFY(p.rec.errors().isEmpty());
        p.line.dropCall();
        QTRY_VERIFY(p.rec.has("processCallRequest"));
        p.rec.calls.clear();
        p.dial({"T1$2"});
        QVERIFY(p.waitFor("handleConnected", 10000));
        QVERIFY(p.rec.errors().isEmpty());
        const QStringList log = p.sim.log();
        QCOMPARE(log.filter(QRegularExpression("^ATD")),
                 QStringList({"ATDP1111111111;", "ATDT1,,2;"}));
        QCOMPARE(log.count("ATZ"), 1); // the port was never given up
    }

    // A dial that outlasts its time is abandoned, and its answer awaited:
    // the next command gets its own answer, not the abandoned dial's.
    void abandonedDialLeavesNoStaleAnswer()
    {
        TestEnv env;
        SimModem sim({});
        AtPort port;
        QVERIFY(port.open(sim.device(), 115200));
        std::optional<AtPort::Reply> dial, query;
        port.send(
            "ATDT5551234;", [&](const AtPort::Reply& r) { dial = r; }, 300);
        port.send(
            "ATI3", [&](const AtPort::Reply& r) { query = r; }, 1000);
        QTRY_VERIFY_WITH_TIMEOUT(query.has_value(), 5000);
        QVERIFY(dial && dial->outcome == AtPort::Outcome::Timeout);
        QVERIFY(query->ok());
        QCOMPARE(query->lines, QStringList{"Telvaro Simulated Voice Modem"});
        QVERIFY(port.isOpen());
    }

    // The dial's answer says the modem will not dial: the user hears of it
    // and no call is reported, in data and voice mode, verbose or in digits,
    // with echo on and a RING in between.
    void refusedDials_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("init");
        QTest::addColumn<bool>("voice");
        QTest::newRow("delayed, data")
            << QStringList{"--refuse", "delayed"} << "ATZ|ATE0V1" << false;
        QTest::newRow("blacklisted, voice")
            << QStringList{"--refuse", "blacklisted"} << "ATZ|ATE0V1" << true;
        QTest::newRow("unknown answer, data")
            << QStringList{"--refuse", "CALL BARRED"} << "ATZ|ATE0V1" << false;
        QTest::newRow("numeric, echo, RING")
            << QStringList{"--refuse", "delayed", "--numeric", "--ring-in-command", "5"} << "ATZ"
            << false;
    }
    void refusedDials()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, init);
        QFETCH(bool, voice);
        ModemSettings settings = SimModem::fastSettings();
        settings.initString = init;
        Program p(args, settings);
        options().select(voice ? OptionsStore::optMode2 : OptionsStore::optMode1);
        QVERIFY(p.line.open(LineUse::Receive));
        p.dial({"T555"});
        QVERIFY(p.waitForError(10000));
        QCOMPARE(p.rec.errors(),
                 QStringList{"showCallError Modem error!|Not able to make a call."});
        QTest::qWait(600); // longer than a data call's acceptance
        QVERIFY(!p.rec.has("handleConnected"));
        QVERIFY(!p.call().placed);
    }
    void busyLeadsToRedial()
    {
        Program p({"--busy", "1"});
        QVERIFY(p.line.open(LineUse::DialOnly));
        p.dial({"T5551234"});
        QVERIFY(p.waitFor("handleBusy"));
        QVERIFY(p.call().busyDetected);
        QVERIFY(p.rec.errors().isEmpty());
        QCOMPARE(p.sim.log().constLast(), QStringLiteral("ATH0"));
        // The redial gets through.
        QTRY_VERIFY(p.call().idleSeen);
        p.rec.calls.clear();
        p.dial({"T5551234"});
        QVERIFY2(p.waitFor("handleConnected"),
                 qPrintable(p.rec.calls.join(",") + " / " + p.sim.log().join(",")));
        QVERIFY(!p.call().busyDetected);
    }

    void modemErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("error");
        QTest::newRow("no dial tone") << QStringList{"--no-dialtone"} << "1"
                                      << "showCallError Modem error!|No Dialtone";
        QTest::newRow("line in use")
            << QStringList{"--line-in-use"} << "1"
            << "showCallError Modem error!|The selected line is in use or it is not connected.";
        QTest::newRow("line in use, voice")
            << QStringList{"--line-in-use"} << "2"
            << "showCallError Modem error!|The selected line is in use or it is not connected.";
        QTest::newRow("silent") << QStringList{"--silent-after", "4"} << "2"
                                << "showCallError Modem error!|Not able to make a call.";
        QTest::newRow("garbage") << QStringList{"--garbage-after", "4"} << "1"
                                 << "showCallError Modem error!|Not able to make a call.";
    }
    void modemErrors()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, mode);
        QFETCH(QString, error);
        Program p(args);
        options().select(mode == "1" ? OptionsStore::optMode1 : OptionsStore::optMode2);
        QVERIFY(p.line.open(LineUse::DialOnly));
        QElapsedTimer t;
        t.start();
        p.dial({"T5551234"});
        QVERIFY(p.waitForError(10000));
        QVERIFY(t.elapsed() < 10000);
        QCOMPARE(p.rec.errors(), QStringList{error});
        QVERIFY(!p.call().placed);
        QCOMPARE(p.line.session().callHandle, 0u);
    }

    // A modem that answers nothing from the start: the dial fails within
    // seconds; the next dial tries the port again.
    void silentModem()
    {
        Program p({"--silent"});
        QVERIFY(p.line.open(LineUse::DialOnly));
        QElapsedTimer t;
        t.start();
        p.dial({"T5551234"});
        QVERIFY(p.waitForError(10000));
        QVERIFY(t.elapsed() < 10000);
        QCOMPARE(p.rec.errors(),
                 QStringList{"showCallError Modem error!|Not able to make a call."});
        const int before = int(p.sim.log().count("ATZ"));
        p.rec.calls.clear();
        p.dial({"T5551234"});
        QVERIFY(p.waitForError(10000));
        QCOMPARE(int(p.sim.log().count("ATZ")), before + 1);
    }

    void incomingCallReachesTheLog()
    {
        Program p({"--incoming", "60", "--first-call", "500", "--rings", "2", "--ring-interval",
                   "500", "--cid", "compact"});
        options().setChecked(OptionsStore::chkCallDisplay, true);
        QVERIFY(p.line.open(LineUse::Receive));
        QVERIFY(p.waitFor("showCallDisplay", 5000));
        QTRY_COMPARE(p.line.callerNumber(), QStringLiteral("5551234"));
        QCOMPARE(p.line.callerName(), QStringLiteral("JOHN DOE"));
        const auto log = calllog::readLog(
            calllog::logPath(CurrentProfile::untitled(), calllog::LogKind::Incoming),
            calllog::LogKind::Incoming);
        QCOMPARE(log.size(), 1);
        QCOMPARE(log.front().number, QStringLiteral("5551234"));
        // The caller gives up: the window goes with the call.
        QVERIFY(p.waitFor("closeCallDisplay", 6000));
    }

    void noModemConfigured()
    {
        TestEnv env;
        LineService line;
        LineRecorder rec{line};
        line.cleanUpStaleSession();
        line.initialize();
        QCOMPARE(line.session().lineDeviceCount, 0u);
        options().setLineDeviceNames({"as before"});
        line.fillDeviceList(options());
        QCOMPARE(options().lineDeviceNames(), QStringList{"as before"});
        line.close();
        line.shutdown();
        QVERIFY(!QFile::exists(sessionRecordFile()));
    }

    // A run that was killed left its session record and the port's lock: the
    // next start clears both and opens the modem; a normal exit leaves neither.
    void startAfterKilledRun()
    {
        TestEnv env;
        LineService line;
        LineRecorder rec{line};
        SimModem sim({});
        QProcess killed;
        killed.start("sleep", {"30"});
        QVERIFY(killed.waitForStarted());
        const QByteArray pid = QByteArray::number(killed.processId());
        const QString lock = UucpLock::lockFileFor(sim.device());
        TestEnv::writeFile(lock, pid.rightJustified(10) + "\n");
        TestEnv::writeFile(sessionRecordFile(), "hTapi=4097\npid=" + pid + "\n");
        killed.kill();
        killed.waitForFinished();

        line.cleanUpStaleSession();
        QVERIFY(!QFile::exists(lock));
        QVERIFY(!QFile::exists(sessionRecordFile()));
        line.initialize();
        QVERIFY(QFile::exists(sessionRecordFile()));
        (void)line.queryDevice(0);
        QVERIFY(line.open(LineUse::Receive));
        QVERIFY(QFile::exists(lock));
        line.close();
        line.shutdown();
        QVERIFY(!QFile::exists(lock));
        QVERIFY(!QFile::exists(sessionRecordFile()));

        // A session shut down with its line open (a profile switch) leaves
        // no line taken for open: the next session opens its own.
        line.initialize();
        (void)line.queryDevice(0);
        QVERIFY(line.open(LineUse::Receive));
        line.shutdown();
        QVERIFY(!line.isOpen());
        QCOMPARE(line.session().lineHandle, 0u);
        QVERIFY(!QFile::exists(lock));
        line.initialize();
        (void)line.queryDevice(0);
        QVERIFY(line.open(LineUse::DialOnly));
        QVERIFY(QFile::exists(lock));
        line.close();
        line.shutdown();
    }
};

QTEST_GUILESS_MAIN(TestModemCalls)
#include "test_modemcalls.moc"
