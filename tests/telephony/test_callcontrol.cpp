// SPDX-License-Identifier: GPL-3.0-or-later
// Line session and call control against a line device the test answers.

#include "FakeProvider.h"
#include "LineRecorder.h"
#include "common/TestEnv.h"
#include "core/calllog/CallLogFile.h"
#include "core/common/CurrentProfile.h"
#include "core/telephony/Call.h"
#include "core/telephony/LineService.h"
#include "core/telephony/lineapi/UucpLock.h"
#include "settings/OptionsStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

using namespace telvaro;
using namespace telvaro::test;

namespace {

// A line service with a started session on the fake devices.
struct Fixture
{
    TestEnv env;
    FakeLineLog line;
    FakeDevices devices;
    CurrentProfile profile;
    LineService service;
    LineRecorder rec{service};

    explicit Fixture(const QStringList& names = {"Modem A"})
        : devices(names, &line), service(&devices, nullptr, &profile)
    {
        service.initialize();
        (void)service.queryDevice(0);
    }
    ~Fixture()
    {
        service.close();
        service.shutdown();
    }
    Call& call() { return service.call(); }

    // The dial procedure's part: pieces, then makeCall.
    void dial(const QStringList& pieces)
    {
        call().start({}, pieces.join(QString()), {}, pieces);
        service.makeCall(pieces.first());
    }
    // The device answers the last request.
    void reply(LineResult result = 0)
    {
        line.sink->reply(line.lastRequest, result);
        QCoreApplication::processEvents();
    }
    void callState(quint32 s, quint32 mode = 0)
    {
        line.sink->callState(line.lastCall, s, mode);
        QCoreApplication::processEvents();
    }
};

} // namespace

class TestCallControl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void errorKindsShowTheirTexts_data()
    {
        QTest::addColumn<CallOutcome>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        QTest::newRow("1") << CallOutcome::LineInUse << "Modem error!"
                           << "The selected line is in use or it is not connected.";
        QTest::newRow("2") << CallOutcome::NoDialTone << "Modem error!"
                           << "No Dialtone";
        QTest::newRow("3") << CallOutcome::CallFailed << "Modem error!"
                           << "Not able to make a call.";
    }
    void errorKindsShowTheirTexts()
    {
        QFETCH(CallOutcome, kind);
        QFETCH(QString, caption);
        QFETCH(QString, text);
        Fixture f;
        QVERIFY(f.service.open(LineUse::DialOnly));
        QSignalSpy ended(&f.call(), &Call::ended);
        f.dial({"T5551234"});
        if (kind == CallOutcome::LineInUse) {
            f.reply(LINEERR_CALLUNAVAIL);
        } else {
            f.reply();
            f.callState(LINECALLSTATE_DIALING);
            f.callState(LINECALLSTATE_DISCONNECTED, kind == CallOutcome::NoDialTone
                                                        ? LINEDISCONNECTMODE_NODIALTONE
                                                        : LINEDISCONNECTMODE_UNAVAIL);
        }
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended[0][0].value<CallOutcome>(), kind);
        QCOMPARE(f.call().state(), CallState::Failed);
        QCOMPARE(f.rec.errors(), QStringList{"showCallError " + caption + "|" + text});
        // The call was dropped and let go of.
        QCOMPARE(f.line.requests.mid(1), QStringList({"drop", "release"}));
        QCOMPARE(f.service.session().callHandle, 0u);
        QVERIFY(!f.call().placed);
    }

    // The replies to the make-call request, first matching rule wins.
    void replies_data()
    {
        QTest::addColumn<LineResult>("result");
        QTest::addColumn<QString>("error");
        QTest::newRow("ok") << LineResult(0) << "";
        QTest::newRow("in use") << LINEERR_CALLUNAVAIL
                                << "showCallError Modem error!|The selected line is in use or "
                                   "it is not connected.";
        QTest::newRow("failed") << LINEERR_OPERATIONFAILED
                                << "showCallError Modem error!|Not able to make a call.";
        // Another failure leaves the call to its states.
        QTest::newRow("other") << LINEERR_RESOURCEUNAVAIL << "";
    }
    void replies()
    {
        QFETCH(LineResult, result);
        QFETCH(QString, error);
        Fixture f;
        QVERIFY(f.service.open(LineUse::DialOnly));
        f.dial({"T5551234"});
        QVERIFY(f.call().placed);
        QVERIFY(f.rec.has("showConnectWindow"));
        f.reply(result);
        QCOMPARE(f.rec.errors(), error.isEmpty() ? QStringList() : QStringList{error});
        // An answered request is no longer waited for.
        if (error.isEmpty())
            QCOMPARE(f.service.session().makeCallRequestId, LineResult(0));
        else
            QVERIFY(!f.call().placed);
    }

    void longDialStringGoesOutPieceByPiece()
    {
        Fixture f;
        QVERIFY(f.service.open(LineUse::DialOnly));
        const QString a = "T" + QString(77, '1') + ";";
        const QString b = QString(78, '2') + ";";
        const QString c = "3333";
        f.dial({a, b, c});
        QCOMPARE(f.line.requests.size(), 1);
        // Each piece only after the reply to the one before.
        f.reply();
        QCOMPARE(f.line.requests.size(), 2);
        QCOMPARE(f.line.requests.at(1), "dial " + b);
        f.reply();
        QCOMPARE(f.line.requests.at(2), "dial " + c);
        f.reply();
        QCOMPARE(f.line.requests.size(), 3);
        QCOMPARE(f.call().piecesLeft(), 1);
        QVERIFY(f.rec.errors().isEmpty());
    }

    void callParameters_data()
    {
        QTest::addColumn<bool>("blockId");
        QTest::addColumn<bool>("mode2");
        QTest::addColumn<QString>("request");
        QTest::newRow("mode 1") << false << false << "makeCall T1 media=16 flags=2";
        QTest::newRow("mode 2, concealed") << true << true << "makeCall T1 media=4 flags=6";
    }
    void callParameters()
    {
        QFETCH(bool, blockId);
        QFETCH(bool, mode2);
        QFETCH(QString, request);
        Fixture f;
        options().setChecked(OptionsStore::chkBlockID, blockId);
        options().select(mode2 ? OptionsStore::optMode2 : OptionsStore::optMode1);
        QVERIFY(f.service.open(LineUse::DialOnly));
        f.dial({"T1"});
        QCOMPARE(f.line.requests.value(0), request);
    }

    void busyStartsTheRedialOnlyWhenNotStopped()
    {
        for (const bool stopped : {false, true}) {
            Fixture f;
            QVERIFY(f.service.open(LineUse::DialOnly));
            f.dial({"T5551234"});
            f.reply();
            f.callState(LINECALLSTATE_DIALING);
            f.callState(LINECALLSTATE_PROCEEDING);
            QCOMPARE(f.rec.count("handleConnected"), 1);
            f.call().stopRequested = stopped;
            f.callState(LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_BUSY);
            QCOMPARE(f.call().busyDetected, !stopped);
            QVERIFY(!f.call().placed);
            if (stopped) {
                QVERIFY(!f.line.requests.contains("drop"));
                continue;
            }
            // The busy call is dropped; its reply starts HandleBusy.
            QCOMPARE(f.line.requests.constLast(), QStringLiteral("drop"));
            QVERIFY(!f.rec.has("handleBusy"));
            f.reply();
            QCOMPARE(f.rec.count("handleBusy"), 1);
            // The idle state of the dropped call: released, and a waiting
            // request is not served while the redial is pending.
            f.callState(LINECALLSTATE_IDLE);
            QVERIFY(f.call().idleSeen);
            QCOMPARE(f.service.session().callHandle, 0u);
            QVERIFY(!f.rec.has("processCallRequest"));
        }
    }

    void idleServesWaitingRequests()
    {
        Fixture f;
        QVERIFY(f.service.open(LineUse::DialOnly));
        f.dial({"T5551234"});
        f.reply();
        f.callState(LINECALLSTATE_DIALING);
        f.service.dropCall();
        f.reply();
        f.callState(LINECALLSTATE_IDLE);
        QCOMPARE(f.rec.count("processCallRequest"), 1);
        QVERIFY(f.line.requests.contains("release") == false); // idle calls need no hang-up
    }

    void noDialToneAndModemFailureAreErrors()
    {
        for (const quint32 mode : {LINEDISCONNECTMODE_NODIALTONE, LINEDISCONNECTMODE_UNAVAIL}) {
            Fixture f;
            QVERIFY(f.service.open(LineUse::DialOnly));
            f.dial({"T5551234"});
            f.reply();
            f.callState(LINECALLSTATE_DIALING);
            f.callState(LINECALLSTATE_PROCEEDING);
            f.callState(LINECALLSTATE_DISCONNECTED, mode);
            QCOMPARE(f.rec.errors(),
                     QStringList{mode == LINEDISCONNECTMODE_NODIALTONE
                                     ? "showCallError Modem error!|No Dialtone"
                                     : "showCallError Modem error!|Not able to make a call."});
            QCOMPARE(f.call().error(), mode == LINEDISCONNECTMODE_NODIALTONE
                                           ? CallOutcome::NoDialTone
                                           : CallOutcome::CallFailed);
        }
    }

    void makeCallRefusedAtOnce()
    {
        Fixture f;
        // The line was never opened: the request is refused at once.
        f.dial({"T5551234"});
        QCOMPARE(f.rec.errors(), QStringList{"showCallError Modem error!|Not able to make a "
                                             "call.\r\nModem may not be turned on or it is "
                                             "misconfigured."});
        QVERIFY(!f.call().placed);
    }

    void offeredCall()
    {
        Fixture f;
        options().setChecked(OptionsStore::chkCallDisplay, true);
        QVERIFY(f.service.open(LineUse::Receive));
        QVERIFY(f.line.receiving);
        const HCALL call = f.line.sink->incomingCall(LINEMEDIAMODE_INTERACTIVEVOICE);
        QVERIFY(call);
        f.line.sink->callState(call, LINECALLSTATE_OFFERING);
        QCoreApplication::processEvents();
        QCOMPARE(f.rec.calls.mid(f.rec.calls.indexOf("logIncomingCall")),
                 QStringList({"logIncomingCall", "showCallDisplay"}));
        QVERIFY(f.call().displayShown);
        QVERIFY(f.service.incomingCallLive(call));
        f.line.sink->callerId(call, LINECALLPARTYID_ADDRESS, "5551234", "", "", "");
        QCoreApplication::processEvents();
        QCOMPARE(f.rec.count("logIncomingCall"), 2);
        f.line.sink->callState(call, LINECALLSTATE_IDLE);
        QCoreApplication::processEvents();
        QVERIFY(f.rec.has("closeCallDisplay"));
    }

    // OK of the caller display lets go of its own call only; a call whose
    // information cannot be read shows no earlier caller and is logged once.
    void callDisplayOkAndUnreadableCallers()
    {
        Fixture f;
        QVERIFY(f.service.open(LineUse::Receive));
        const auto log = [&f] {
            return calllog::readLog(calllog::logPath(f.profile.name(), calllog::LogKind::Incoming),
                                    calllog::LogKind::Incoming);
        };
        const auto callerInfo = [&f](HCALL call) {
            f.service.lineEvent(call, LINE_CALLINFO, LINECALLINFOSTATE_CALLERID, 0);
        };
        const HCALL gone = f.line.sink->incomingCall(LINEMEDIAMODE_INTERACTIVEVOICE);
        f.line.sink->callState(gone, LINECALLSTATE_OFFERING);
        f.line.sink->callerId(gone, LINECALLPARTYID_ADDRESS | LINECALLPARTYID_NAME, "5550000",
                              "EARLIER CALLER", "", "");
        QCoreApplication::processEvents();
        QCOMPARE(f.service.callerNumber(), QStringLiteral("5550000"));
        f.service.setCallDisplayCall(gone);
        // The caller gave up (a busy redial kept the window open).
        f.line.sink->callState(gone, LINECALLSTATE_IDLE);
        QCoreApplication::processEvents();
        QCOMPARE(log().size(), 1);
        callerInfo(gone); // late information for it is not a second call
        QCOMPARE(log().size(), 1);

        f.dial({"T5551234"}); // the user's own call
        f.reply();
        const qsizetype requests = f.line.requests.size();
        f.service.acknowledgeCallDisplay();
        QCOMPARE(f.line.requests.size(), requests);
        QVERIFY(f.call().placed);

        callerInfo(HCALL(9999)); // no such call: nothing can be read
        QVERIFY(f.service.callerNumber().isEmpty() && f.service.callerName().isEmpty());
        QCOMPARE(log().size(), 2);
        QCOMPARE(log().last().name, QStringLiteral("Unknown Caller"));

        // A call still unknown when the profile changes is logged where it rang.
        const HCALL ringing = f.line.sink->incomingCall(LINEMEDIAMODE_INTERACTIVEVOICE);
        callerInfo(ringing);
        f.profile.setName(QStringLiteral("Home"));
        f.service.close();
        QVERIFY(log().isEmpty()); // Home's log
        f.profile.setName(CurrentProfile::untitled());
        QCOMPARE(log().size(), 3); // where it rang
    }

    void openLineFallsBackToReceiving()
    {
        Fixture f;
        // Privileges 0, as the dial procedure opens the line, fail first; the
        // fallback opens it to receive, and the tray says so.
        QVERIFY(f.service.open(LineUse::Dial));
        QVERIFY(f.service.isReceiving());
        QVERIFY(f.line.receiving);
        QCOMPARE(f.rec.calls, QStringList{"trayModify open"});
        f.service.close();
        QVERIFY(!f.service.isOpen());
        QCOMPARE(f.rec.calls.constLast(), QStringLiteral("trayModify closed"));
        // Without receive privileges the tray is left alone.
        f.rec.calls.clear();
        QVERIFY(f.service.open(LineUse::DialOnly));
        QVERIFY(!f.line.receiving);
        QVERIFY(f.rec.calls.isEmpty());
        // A session that ends while receiving tells the tray too.
        f.service.close();
        QVERIFY(f.service.open(LineUse::Receive));
        f.rec.calls.clear();
        f.service.shutdown();
        QCOMPARE(f.rec.calls, QStringList{"trayModify closed"});
    }

    void openLineWithoutDevices()
    {
        Fixture f(QStringList{});
        QVERIFY(!f.service.open(LineUse::Dial));
        QVERIFY(!f.service.isOpen());
        QCOMPARE(f.call().error(), CallOutcome::LineOpenFailed);
        QCOMPARE(f.rec.errors(), QStringList{"showCallError Tapi: Error opening line!|Modem may "
                                             "not be installed or it is misconfigured.\r\n"
                                             "Please reinstall modem."});
    }

    void deviceList()
    {
        {
            Fixture f({"Modem A", "", "Modem C"});
            options().setLineDeviceNames({"old"});
            f.service.fillDeviceList(options());
            QCOMPARE(options().lineDeviceNames(),
                     QStringList({"Modem A", "Not Available", "Modem C"}));
            QCOMPARE(options().text(OptionsStore::cmbLineDevices), QStringLiteral("Modem A"));
            QCOMPARE(f.service.session().lineApiVersion, 0x00030000u);
        }
        {
            // No devices: the list stays as it was.
            Fixture f(QStringList{});
            options().setLineDeviceNames({"old"});
            options().setText(OptionsStore::cmbLineDevices, "old");
            f.service.fillDeviceList(options());
            QCOMPARE(options().lineDeviceNames(), QStringList{"old"});
            QCOMPARE(options().text(OptionsStore::cmbLineDevices), QStringLiteral("old"));
        }
    }

    void sessionRecord()
    {
        Fixture f;
        LineService& service = f.service;
        const QByteArray record = TestEnv::readFile(sessionRecordFile());
        QVERIFY(record.contains("pid=" + QByteArray::number(QCoreApplication::applicationPid())));
        const HLINEAPP lineApp = service.session().lineApp;
        QVERIFY(record.contains("hTapi=" + QByteArray::number(lineApp)));
        // The start-up running again in this process shuts the session down.
        service.cleanUpStaleSession();
        QVERIFY(!QFile::exists(sessionRecordFile()));
        QCOMPARE(lineShutdown(lineApp), LINEERR_UNINITIALIZED);

        // A record of a killed run: its port locks go with it, others stay.
        QTemporaryDir locks;
        qputenv("TELVARO_LOCK_DIR", QFile::encodeName(locks.path()));
        QProcess p;
        p.start("sleep", {"30"});
        QVERIFY(p.waitForStarted());
        const QByteArray live = QByteArray::number(p.processId());
        QProcess q;
        q.start("sleep", {"30"});
        QVERIFY(q.waitForStarted());
        const QByteArray dead = QByteArray::number(q.processId());
        q.kill();
        q.waitForFinished();
        TestEnv::writeFile(locks.path() + "/LCK..ttyACM0", dead.rightJustified(10) + "\n");
        TestEnv::writeFile(locks.path() + "/LCK..ttyS0", live.rightJustified(10) + "\n");
        TestEnv::writeFile(sessionRecordFile(), "hTapi=4097\npid=" + dead + "\n");
        service.cleanUpStaleSession();
        QVERIFY(!QFile::exists(sessionRecordFile()));
        QVERIFY(!QFile::exists(locks.path() + "/LCK..ttyACM0"));
        QVERIFY(QFile::exists(locks.path() + "/LCK..ttyS0"));
        // A record of a running Telvaro is left alone.
        TestEnv::writeFile(sessionRecordFile(), "hTapi=4097\npid=" + live + "\n");
        service.cleanUpStaleSession();
        QVERIFY(QFile::exists(sessionRecordFile()));
        p.kill();
        p.waitForFinished();
        qunsetenv("TELVARO_LOCK_DIR");
    }
};

QTEST_GUILESS_MAIN(TestCallControl)
#include "test_callcontrol.moc"
