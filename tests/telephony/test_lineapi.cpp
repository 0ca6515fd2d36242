// SPDX-License-Identifier: GPL-3.0-or-later
// The line layer driven through a real pseudo-terminal against telvaro-modemsim.

#include "SimModem.h"

#include "core/telephony/lineapi/LineApi.h"
#include "core/telephony/lineapi/ModemProvider.h"
#include "core/telephony/lineapi/UucpLock.h"
#include "settings/Paths.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>

using namespace telvaro;
using namespace telvaro::test;

namespace {

// A registration with the line layer for one test.
struct Session
{
    EventLog events;
    HLINEAPP app = 0;
    quint32 devices = 0;
    HLINE line = 0;
    LineResult init = lineInitialize(&app, events.callback(), "Telvaro", &devices);
    ~Session() { lineShutdown(app); }

    LineResult open(quint32 privileges, quint32 media = LINEMEDIAMODE_INTERACTIVEVOICE)
    {
        return lineOpen(app, 0, &line, TAPI_VERSION_HIGH, 0, 0, privileges, media, nullptr);
    }
};

LineCallParams params(quint32 media, quint32 flags = LINECALLPARAMFLAGS_IDLE)
{
    LineCallParams p;
    p.mediaMode = media;
    p.callParamFlags = flags;
    return p;
}

constexpr quint32 kReceive = LINECALLPRIVILEGE_OWNER | LINECALLPRIVILEGE_MONITOR;

} // namespace

class TestLineApi : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void noModemConfigured()
    {
        TestEnv env;
        Session s;
        QCOMPARE(s.init, 0);
        QCOMPARE(s.devices, 0u);
        QCOMPARE(s.open(LINECALLPRIVILEGE_NONE), LINEERR_BADDEVICEID);
        quint32 v = 0;
        LINEEXTENSIONID ext;
        QCOMPARE(lineNegotiateAPIVersion(s.app, 0, 0x00010003, 0x00030000, &v, &ext),
                 LINEERR_BADDEVICEID);
        QCOMPARE(lineShutdown(s.app), 0);
        QCOMPARE(lineShutdown(s.app), LINEERR_UNINITIALIZED);
        s.app = 0;
    }

    void versionsAndPrivileges()
    {
        TestEnv env;
        SimModem sim({});
        QVERIFY(sim.started());
        Session s;
        QCOMPARE(s.devices, 1u);
        quint32 v = 0;
        LINEEXTENSIONID ext;
        QCOMPARE(lineNegotiateAPIVersion(s.app, 0, 0x00010003, 0x00030000, &v, &ext), 0);
        QCOMPARE(v, 0x00030000u);
        QCOMPARE(lineNegotiateAPIVersion(s.app, 0, 0x00010003, 0x00020000, &v, &ext), 0);
        QCOMPARE(v, 0x00020000u);
        QCOMPARE(lineNegotiateAPIVersion(s.app, 0, 0x00040000, 0x00050000, &v, &ext),
                 LINEERR_INCOMPATIBLEAPIVERSION);
        LineDevCaps caps;
        QCOMPARE(lineGetDevCaps(s.app, 0, 0x00030000, 0, &caps), 0);
        QCOMPARE(caps.lineName, QStringLiteral("Simulated Modem"));
        QVERIFY(caps.usedSize > 0);

        // Privileges 0, as the dial procedure passes them, fail; so does owner
        // without a media mode.
        QCOMPARE(s.open(0, 0), LINEERR_INVALPRIVSELECT);
        QCOMPARE(s.open(kReceive, 0), LINEERR_INVALMEDIAMODE);
        QCOMPARE(s.open(kReceive, LINEMEDIAMODE_DATAMODEM), 0);
        QCOMPARE(lineClose(s.line), 0);
        QCOMPARE(lineClose(s.line), LINEERR_INVALLINEHANDLE);
        // Closing released the port and its lock.
        QVERIFY(!QFile::exists(UucpLock::lockFileFor(sim.device())));
    }

    void voiceCallAndHangUp()
    {
        TestEnv env;
        SimModem sim({});
        Session s;
        QCOMPARE(s.open(LINECALLPRIVILEGE_NONE), 0);
        QVERIFY(QFile::exists(UucpLock::lockFileFor(sim.device())));
        HCALL call = 0;
        const LineCallParams p = params(LINEMEDIAMODE_INTERACTIVEVOICE);
        const LineResult req = lineMakeCall(s.line, &call, "T555-1234", 0, &p);
        QVERIFY(req > 0);
        QVERIFY(call != 0);
        // Nothing arrives from inside the request.
        QVERIFY(s.events.events.empty());
        QVERIFY(s.events.waitFor(LINE_CALLSTATE, LINECALLSTATE_PROCEEDING) >= 0);
        const int reply = s.events.find(LINE_REPLY, quintptr(req));
        QVERIFY(reply >= 0);
        QCOMPARE(s.events.events[size_t(reply)].p2, quintptr(0));
        QCOMPARE(s.events.callStates(),
                 QList<quint32>({LINECALLSTATE_DIALING, LINECALLSTATE_PROCEEDING}));

        const LineResult drop = lineDrop(call);
        QVERIFY(drop > 0);
        QVERIFY(s.events.waitFor(LINE_CALLSTATE, LINECALLSTATE_IDLE) >= 0);
        QVERIFY(s.events.find(LINE_REPLY, quintptr(drop)) >= 0);
        QCOMPARE(lineDeallocateCall(call), 0);
        QCOMPARE(lineGetCallInfo(call, nullptr), LINEERR_INVALCALLHANDLE);
        QCOMPARE(sim.log(),
                 QStringList({"ATZ", "ATE0V1", "ATX4", "ATL1M1", "ATDT5551234;", "ATH0"}));
    }

    // The data-mode results of the modem as call states and disconnect modes.
    void dataCallResults_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<quint32>("mode");
        QTest::newRow("busy") << QStringList{"--busy", "1"} << LINEDISCONNECTMODE_BUSY;
        QTest::newRow("no dial tone")
            << QStringList{"--no-dialtone"} << LINEDISCONNECTMODE_NODIALTONE;
        QTest::newRow("no carrier")
            << QStringList{"--carrier-wait", "600"} << LINEDISCONNECTMODE_NORMAL;
    }
    void dataCallResults()
    {
        QFETCH(QStringList, args);
        QFETCH(quint32, mode);
        TestEnv env;
        SimModem sim(args);
        Session s;
        QCOMPARE(s.open(LINECALLPRIVILEGE_NONE), 0);
        HCALL call = 0;
        const LineCallParams p = params(LINEMEDIAMODE_DATAMODEM);
        const LineResult req = lineMakeCall(s.line, &call, "T5551234", 0, &p);
        QVERIFY(req > 0);
        const int i = s.events.waitFor(LINE_CALLSTATE, LINECALLSTATE_DISCONNECTED);
        QVERIFY(i >= 0);
        QCOMPARE(quint32(s.events.events[size_t(i)].p2), mode);
        // The reply came first and said yes.
        const int reply = s.events.find(LINE_REPLY, quintptr(req));
        QVERIFY(reply >= 0 && reply < i);
        QCOMPARE(s.events.events[size_t(reply)].p2, quintptr(0));
        QCOMPARE(s.events.callStates().first(), LINECALLSTATE_DIALING);
        QVERIFY(sim.log().contains("ATDT5551234")); // no ";" in data mode
        QVERIFY(lineDrop(call) > 0);
        QVERIFY(s.events.waitFor(LINE_CALLSTATE, LINECALLSTATE_IDLE) >= 0);
        QCOMPARE(sim.log().constLast(), QStringLiteral("ATH0"));
    }

    // ERROR to a dial: the line is in use (the request fails).
    void lineInUse()
    {
        TestEnv env;
        SimModem sim({"--line-in-use"});
        Session s;
        QCOMPARE(s.open(LINECALLPRIVILEGE_NONE), 0);
        for (quint32 media : {LINEMEDIAMODE_DATAMODEM, LINEMEDIAMODE_INTERACTIVEVOICE}) {
            HCALL call = 0;
            const LineCallParams p = params(media);
            const LineResult req = lineMakeCall(s.line, &call, "T5551234", 0, &p);
            const size_t from = s.events.events.size();
            const int i = s.events.waitFor(LINE_REPLY, quintptr(req), 5000, from);
            QVERIFY(i >= 0);
            QCOMPARE(LineResult(quint32(s.events.events[size_t(i)].p2)), LINEERR_CALLUNAVAIL);
            QVERIFY(lineDrop(call) > 0);
            QVERIFY(s.events.waitFor(LINE_CALLSTATE, LINECALLSTATE_IDLE, 5000, from) >= 0);
            QCOMPARE(lineDeallocateCall(call), 0);
        }
    }

    void concealedIdentityAndUnsafeDialStrings()
    {
        TestEnv env;
        SimModem sim({});
        Session s;
        QCOMPARE(s.open(LINECALLPRIVILEGE_NONE), 0);
        HCALL call = 0;
        // A line end or a second command in the address never reaches the modem.
        LineCallParams p = params(LINEMEDIAMODE_INTERACTIVEVOICE);
        QCOMPARE(lineMakeCall(s.line, &call, "T555\rATH1", 0, &p), LINEERR_INVALADDRESS);
        QCOMPARE(lineMakeCall(s.line, &call, "T555;ATZ", 0, &p), LINEERR_INVALADDRESS);
        QCOMPARE(lineMakeCall(s.line, &call, "", 0, &p), LINEERR_INVALADDRESS);

        p.callParamFlags = LINECALLPARAMFLAGS_IDLE | LINECALLPARAMFLAGS_BLOCKID;
        p.blockCallerIdCode = QStringLiteral("*31#");
        QVERIFY(lineMakeCall(s.line, &call, "P11", 0, &p) > 0);
        QVERIFY(s.events.waitFor(LINE_CALLSTATE, LINECALLSTATE_PROCEEDING, 10000) >= 0);
        QVERIFY(sim.log().contains("ATDP*31#11;"));
        QCOMPARE(callerIdBlockCode(LineCallParams{}), QStringLiteral("*67,"));
    }

    // A drop while the modem is still dialing abandons the dial, then hangs up.
    void dropWhileDialing()
    {
        TestEnv env;
        SimModem sim({"--dial-delay", "3000"});
        Session s;
        QCOMPARE(s.open(LINECALLPRIVILEGE_NONE), 0);
        HCALL call = 0;
        const LineCallParams p = params(LINEMEDIAMODE_INTERACTIVEVOICE);
        const LineResult req = lineMakeCall(s.line, &call, "T5551234", 0, &p);
        QVERIFY(s.events.waitFor(LINE_CALLSTATE, LINECALLSTATE_DIALING) >= 0);
        QElapsedTimer t;
        t.start();
        const LineResult drop = lineDrop(call);
        QVERIFY(s.events.waitFor(LINE_CALLSTATE, LINECALLSTATE_IDLE) >= 0);
        QVERIFY(t.elapsed() < 2500); // did not wait for the dial to finish
        // The make-call request is answered too, as failed.
        const int r = s.events.find(LINE_REPLY, quintptr(req));
        QVERIFY(r >= 0);
        QCOMPARE(LineResult(quint32(s.events.events[size_t(r)].p2)), LINEERR_OPERATIONFAILED);
        QVERIFY(s.events.find(LINE_REPLY, quintptr(drop)) >= 0);
        QCOMPARE(sim.log().constLast(), QStringLiteral("ATH0"));
    }

    // Incoming calls with caller ID in each report style.
    void incoming_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("name");
        QTest::addColumn<quint32>("flags");
        const quint32 both = LINECALLPARTYID_ADDRESS | LINECALLPARTYID_NAME;
        QTest::newRow("spaced") << QStringList{"--cid", "spaced"} << "5551234"
                                << "JOHN DOE" << both;
        QTest::newRow("compact") << QStringList{"--cid", "compact", "--cid-name", "ANNA"}
                                 << "5551234"
                                 << "ANNA" << both;
        QTest::newRow("clip") << QStringList{"--cid", "clip", "--cid-number", "+4930123"}
                              << "+4930123"
                              << "JOHN DOE" << both;
        QTest::newRow("private") << QStringList{"--cid-number", "P", "--cid-name", "P"} << ""
                                 << "" << LINECALLPARTYID_BLOCKED;
        QTest::newRow("unavailable")
            << QStringList{"--cid", "compact", "--cid-number", "O", "--cid-name", ""} << ""
            << "" << LINECALLPARTYID_OUTOFAREA;
        QTest::newRow("clip private")
            << QStringList{"--cid", "clip", "--cid-number", "P", "--cid-name", ""} << ""
            << "" << LINECALLPARTYID_BLOCKED;
    }
    void incoming()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, number);
        QFETCH(QString, name);
        QFETCH(quint32, flags);
        TestEnv env;
        SimModem sim(args + QStringList{"--incoming", "60", "--first-call", "700", "--rings", "2",
                                        "--ring-interval", "600"});
        Session s;
        QCOMPARE(s.open(kReceive), 0);
        const int offering = s.events.waitFor(LINE_CALLSTATE, LINECALLSTATE_OFFERING);
        QVERIFY(offering >= 0);
        const HCALL call = s.events.events[size_t(offering)].device;
        const int info = s.events.waitFor(LINE_CALLINFO, LINECALLINFOSTATE_CALLERID);
        QVERIFY(info > offering);
        LineCallInfo ci;
        QCOMPARE(lineGetCallInfo(call, &ci), 0);
        QCOMPARE(ci.callerID, number);
        QCOMPARE(ci.callerIDName, name);
        QCOMPARE(ci.callerIDFlags, flags);
        QCOMPARE(ci.origin, LINECALLORIGIN_INBOUND);
        // The caller gives up: no more RINGs end the offering.
        const int idle = s.events.waitFor(LINE_CALLSTATE, LINECALLSTATE_IDLE, 6000);
        QVERIFY(idle > info);
        // One report per call, even where the modem repeats it after every RING.
        int infos = 0;
        for (const auto& e : s.events.events)
            infos += e.msg == LINE_CALLINFO ? 1 : 0;
        QCOMPARE(infos, 1);
        QCOMPARE(s.events.callStates(),
                 QList<quint32>(
                     {LINECALLSTATE_OFFERING, LINECALLSTATE_DISCONNECTED, LINECALLSTATE_IDLE}));
        const QStringList log = sim.log();
        QVERIFY(log.contains("AT+VCID=1") || log.contains("AT%CCID=1"));
    }

    void incomingNeedsReceivePrivileges()
    {
        TestEnv env;
        SimModem sim({"--incoming", "60", "--first-call", "500", "--rings", "1"});
        Session s;
        QCOMPARE(s.open(LINECALLPRIVILEGE_NONE, LINEMEDIAMODE_DATAMODEM), 0);
        QTest::qWait(1000);
        QVERIFY(s.events.events.empty());
        // No caller ID switch either.
        for (const QString& c : sim.log())
            QVERIFY2(!c.contains("CID") && !c.contains("CLIP"), qPrintable(c));
    }

    void callerIdSwitchKeepsFirstAccepted()
    {
        TestEnv env;
        SimModem sim({"--cid-accept", "AT%CCID=1"});
        Session s;
        QCOMPARE(s.open(kReceive), 0);
        QTRY_VERIFY(sim.log().contains("AT%CCID=1"));
        QTest::qWait(200);
        const QStringList log = sim.log();
        QCOMPARE(log.mid(log.indexOf("AT+VCID=1")),
                 QStringList({"AT+VCID=1", "AT#CID=1", "AT%CCID=1"}));
    }

    // A modem that falls silent, babbles or vanishes fails the call quickly.
    void failingModem_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("silent") << QStringList{"--silent"};
        QTest::newRow("silent at dial") << QStringList{"--silent-after", "4"};
        QTest::newRow("garbage") << QStringList{"--garbage"};
        QTest::newRow("garbage at dial") << QStringList{"--garbage-after", "4"};
        QTest::newRow("vanishes at dial") << QStringList{"--vanish-after", "4"};
    }
    void failingModem()
    {
        QFETCH(QStringList, args);
        TestEnv env;
        SimModem sim(args);
        Session s;
        QCOMPARE(s.open(LINECALLPRIVILEGE_NONE), 0);
        HCALL call = 0;
        const LineCallParams p = params(LINEMEDIAMODE_INTERACTIVEVOICE);
        QElapsedTimer t;
        t.start();
        const LineResult req = lineMakeCall(s.line, &call, "T5551234", 0, &p);
        QVERIFY(req > 0);
        // A voice dial may take its dial-tone wait and each digit's time.
        const int i = s.events.waitFor(LINE_REPLY, quintptr(req), 12000);
        QVERIFY(i >= 0);
        QVERIFY(t.elapsed() < 12000);
        QCOMPARE(LineResult(quint32(s.events.events[size_t(i)].p2)), LINEERR_OPERATIONFAILED);
        // Dropping the call ends it; the modem that failed is let go of (one
        // that fell silent while dialing when its hang-up gets no answer).
        QVERIFY(lineDrop(call) > 0);
        QVERIFY(s.events.waitFor(LINE_CALLSTATE, LINECALLSTATE_IDLE) >= 0);
        QVERIFY(!QFile::exists(UucpLock::lockFileFor(sim.device())));
        QCOMPARE(lineDeallocateCall(call), 0);
    }

    // A modem that went away during a data call ends it with the device's
    // failure; the next call reopens the port, or is refused while it is gone.
    void modemVanishesDuringCall()
    {
        TestEnv env;
        SimModem sim({"--carrier-wait", "60000"});
        Session s;
        QCOMPARE(s.open(LINECALLPRIVILEGE_NONE), 0);
        HCALL call = 0;
        const LineCallParams p = params(LINEMEDIAMODE_DATAMODEM);
        QVERIFY(lineMakeCall(s.line, &call, "T5551234", 0, &p) > 0);
        QVERIFY(s.events.waitFor(LINE_CALLSTATE, LINECALLSTATE_PROCEEDING) >= 0);
        sim.kill();
        const int i = s.events.waitFor(LINE_CALLSTATE, LINECALLSTATE_DISCONNECTED, 10000);
        QVERIFY(i >= 0);
        QCOMPARE(quint32(s.events.events[size_t(i)].p2), LINEDISCONNECTMODE_UNAVAIL);
        QVERIFY(lineDrop(call) > 0);
        QVERIFY(s.events.waitFor(LINE_CALLSTATE, LINECALLSTATE_IDLE) >= 0);
        QCOMPARE(lineDeallocateCall(call), 0);
        HCALL next = 0;
        QCOMPARE(lineMakeCall(s.line, &next, "T5551234", 0, &p), LINEERR_RESOURCEUNAVAIL);
    }

    void portLocks()
    {
        TestEnv env;
        SimModem sim({});
        const QString lock = UucpLock::lockFileFor(sim.device());
        // A lock left by a process that is gone does not stand in the way.
        TestEnv::writeFile(lock, "    999999\n");
        {
            Session s;
            QCOMPARE(s.open(LINECALLPRIVILEGE_NONE), 0);
            QCOMPARE(UucpLock::ownerOf(lock), QCoreApplication::applicationPid());
        }
        QVERIFY(!QFile::exists(lock));
        // One held by a running program does: the line cannot be opened.
        QProcess holder;
        holder.start("sleep", {"30"});
        QVERIFY(holder.waitForStarted());
        TestEnv::writeFile(lock, QByteArray::number(holder.processId()).rightJustified(10) + "\n");
        {
            Session s;
            QCOMPARE(s.open(LINECALLPRIVILEGE_NONE), LINEERR_ALLOCATED);
        }
        holder.kill();
        holder.waitForFinished();
        QFile::remove(lock);
    }

    void requestsFromOtherPrograms()
    {
        TestEnv env;
        Session s;
        QCOMPARE(tapiRequestMakeCall("5551234", "x", "Anna", ""), TAPIERR_NOREQUESTRECIPIENT);
        QCOMPARE(lineRegisterRequestRecipient(s.app, 7, LINEREQUESTMODE_MAKECALL, 1), 0);
        QCOMPARE(tapiRequestMakeCall("5551234", "x", "Anna", ""), 0);
        QVERIFY(s.events.events.empty());
        QVERIFY(s.events.waitFor(LINE_REQUEST, LINEREQUESTMODE_MAKECALL) >= 0);
        LineReqMakeCall r;
        QCOMPARE(lineGetRequest(s.app, LINEREQUESTMODE_MAKECALL, &r), 0);
        QCOMPARE(r.destAddress, QStringLiteral("5551234"));
        QCOMPARE(r.calledParty, QStringLiteral("Anna"));
        QCOMPARE(lineGetRequest(s.app, LINEREQUESTMODE_MAKECALL, &r), LINEERR_NOREQUEST);
        // Names are cut to the record at whole characters.
        const QString name = QString(38, u'a') + QString::fromUtf8("\xF0\x9F\x98\x80");
        QCOMPARE(tapiRequestMakeCall("5551234", name, name, ""), 0);
        QCOMPARE(lineGetRequest(s.app, LINEREQUESTMODE_MAKECALL, &r), 0);
        QCOMPARE(r.appName, QString(38, u'a'));
        // A destination is never cut: one too long for the record is refused.
        QCOMPARE(tapiRequestMakeCall(QString(80, u'5'), "x", "", ""), TAPIERR_INVALDESTADDRESS);
        QCOMPARE(tapiRequestMakeCall(QString(79, u'5'), "x", "", ""), 0);

        // A profile reload ends the session and starts the next: the waiting
        // request is announced to the new one and taken there.
        lineShutdown(s.app);
        Session next;
        QCOMPARE(lineRegisterRequestRecipient(next.app, 0, LINEREQUESTMODE_MAKECALL, 1), 0);
        QVERIFY(next.events.waitFor(LINE_REQUEST, LINEREQUESTMODE_MAKECALL) >= 0);
        QCOMPARE(lineGetRequest(next.app, LINEREQUESTMODE_MAKECALL, &r), 0);
        QCOMPARE(r.destAddress, QString(79, u'5'));
    }

    void dialStrings()
    {
        QCOMPARE(modemDialString("T1 (800) 555-1234").value_or("x"),
                 QStringLiteral("T18005551234"));
        QCOMPARE(modemDialString("9,w*70#;").value_or("x"), QStringLiteral("9,W*70#;"));
        // A calling card's wait for the user pauses; its billing tone wait is dialed.
        QCOMPARE(modemDialString("T10,555$1234?9").value_or("x"), QStringLiteral("T10,555$1234,9"));
        QVERIFY(!modemDialString("T555+1"));
        QVERIFY(!modemDialString("T;"));
        QVERIFY(!modemDialString("5551234\n"));
    }
};

QTEST_GUILESS_MAIN(TestLineApi)
#include "test_lineapi.moc"
