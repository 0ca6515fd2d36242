// SPDX-License-Identifier: GPL-3.0-or-later
// Calls as the modem ends them, callers as they ring, and requests as other
// programs send them: the real main window, line layer and modem provider
// against telvaro-modemsim on a pseudo-terminal, with a private D-Bus.

#include "PrivateBus.h"
#include "SimModem.h"
#include "gui/directory/DirectoryView.h"
#include "gui/directory/FrmMemo.h"

#include "app/FrmDialer.h"
#include "app/ProgramParts.h"
#include "common/CountingEnder.h"
#include "common/ScriptedPrompter.h"
#include "common/TestEnv.h"
#include "core/calllog/CallLogFile.h"
#include "core/common/Clock.h"
#include "core/common/CurrentProfile.h"
#include "core/dialing/Dialer.h"
#include "core/telephony/LineService.h"
#include "dialing/DialTestSupport.h"
#include "directory/WindowParts.h"
#include "gui/dialing/DialPad.h"
#include "dialing/DialWindowControls.h"
#include "gui/dialing/FrmConnect.h"
#include "gui/telephony/FrmCallDisplay.h"
#include "settings/Cp1252.h"
#include "settings/OptionsStore.h"
#include "settings/SettingsFile.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace telvaro;
using namespace telvaro::test;
using calllog::LogKind;

namespace {

// Wall time that runs `factor` times faster from a fixed morning, so that
// seconds between a ring and its caller ID show in the log's stamps.
class MorningClock final : public Clock
{
public:
    explicit MorningClock(int factor) : m_factor(factor) { setClock(this); }
    ~MorningClock() override { setClock(nullptr); }
    QDateTime now() const override
    {
        const auto real = std::chrono::steady_clock::now() - m_start;
        return QDateTime(QDate(2026, 5, 4), QTime(9, 0, 0))
            .addMSecs(std::chrono::duration_cast<std::chrono::milliseconds>(real).count() *
                      m_factor);
    }
    std::chrono::steady_clock::time_point monotonic() const override
    {
        return std::chrono::steady_clock::now();
    }

private:
    int m_factor;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

QList<calllog::CallLogRow> logRows(LogKind kind)
{
    return calllog::readLog(calllog::logPath(CurrentProfile::untitled(), kind), kind);
}

QStringList names(const QList<calllog::CallLogRow>& rows)
{
    QStringList out;
    for (const auto& r : rows)
        out << r.name + u'/' + r.number;
    return out;
}

FrmCallDisplay* shownDisplay()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<FrmCallDisplay*>(w); d && d->isVisible())
            return d;
    }
    return nullptr;
}

FrmConnect* callWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* c = qobject_cast<FrmConnect*>(w); c && c->isVisible())
            return c;
    }
    return nullptr;
}

// The call window's heading and, after a bar, its label.
QString heading()
{
    FrmConnect* w = callWindow();
    return w ? ConnectControls(w).fra1->title() : QString();
}
QString shows()
{
    FrmConnect* w = callWindow();
    if (!w)
        return {};
    const ConnectControls c(w);
    return c.fra1->title() + u'|' + c.lbl1->text();
}

} // namespace

// Waits for the call window's heading; tells what it shows and what the modem
// was told when it does not come.
#define WAIT_FOR_HEADING(text, ms)                                                                 \
    QTRY_VERIFY2_WITH_TIMEOUT(heading() == (text),                                                 \
                              qPrintable(shows() + u' ' + sim->log().join(u' ')), ms)

class TestCallOutcomes : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> env;
    std::unique_ptr<ScriptedPrompter> prompts;
    std::unique_ptr<RecordingPlayer> sound;
    std::unique_ptr<PrivateBus> bus;
    std::unique_ptr<DialRequestService> service;
    std::unique_ptr<SimModem> sim;
    std::unique_ptr<ProgramParts> parts;
    std::unique_ptr<FrmDialer> window;
    QStringList headings; // every heading the call window showed, once per change

    // The program started on a settings file with these preferences (calls
    // received, numbers from other programs taken, a delay timer of 1 s).
    bool start(const QStringList& simArgs, const QByteArray& preferences = {},
               ModemSettings settings = SimModem::fastSettings())
    {
        sim = std::make_unique<SimModem>(simArgs, settings);
        if (!sim->started())
            return false;
        TestEnv::writeFile(env->settingsFile(),
                           cp1252::encode(settings::kHeader) +
                               "\r\n\r\n[Preferences]\r\nUseModem=1\r\nCommand Line=1\r\n"
                               "Call Display=1\r\nBusy Delay Timer=1\r\n" +
                               preferences);
        parts = std::make_unique<ProgramParts>(nullptr, PartDoubles{nullptr, nullptr, sound.get(), prompts.get()});
        static test::CountingEnder ender;
        window = std::make_unique<FrmDialer>(parts.get(), profiles::ProfileOperation::None, &ender);
        window->formLoad(QString());
        Dialer& dialer = window->parts().dialer();
        connect(&dialer, &Dialer::connectWindowChanged, this, [this, &dialer] {
            const QString h = dialer.connectWindow().frameCaption;
            if (dialer.connectWindow().visible && (headings.isEmpty() || headings.last() != h))
                headings << h;
        });
        return true;
    }

    void dialFromThePad(const QString& number)
    {
        auto* pad = window->findChild<DialPad*>();
        QVERIFY(pad);
        child<QLineEdit>(pad, "txtDial")->setText(number);
        QTest::mouseClick(child<QPushButton>(pad, "CmdDial"), Qt::LeftButton);
    }

    // A button of the call window; the call it closes is let go of (the
    // modem hung up) before the test goes on.
    void click(const char* button)
    {
        FrmConnect* w = callWindow();
        QVERIFY(w);
        QTest::mouseClick(w->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(window->parts().line().session().callHandle, 0u, 5000);
    }

    int dials() const { return int(sim->log().filter(QRegularExpression("^ATD")).size()); }

    QDBusConnection client() const { return bus->connect(QStringLiteral("client")); }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnv>();
        prompts = std::make_unique<ScriptedPrompter>();
        sound = std::make_unique<RecordingPlayer>();
        resetProgram();
        headings.clear();
        bus = std::make_unique<PrivateBus>();
        if (bus->address.isEmpty()) {
            if (qEnvironmentVariableIsSet("CI"))
                QFAIL("dbus-daemon did not start");
            QSKIP("dbus-daemon is not installed");
        }
        service = std::make_unique<DialRequestService>();
        const Result started = service->start(bus->connect(QStringLiteral("service")));
        QVERIFY2(started, qPrintable(started.error));
    }

    void cleanup()
    {
        if (window)
            window->exitProgram(FrmDialer::ExitMode::NoQuestions);
        window.reset();
        parts.reset();
        service.reset();
        bus.reset();
        sim.reset();
        sound.reset();
        prompts.reset();
        env.reset();
    }

    // A call the modem ends before the delay timer does (or refuses, or a
    // modem gone silent) shows how it ended, never "Connected": no beep, no
    // record. The next call gets through and is the only one logged.
    void callsEndedBeforeTheDelay_data()
    {
        QTest::addColumn<bool>("voice");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("shown");
        QTest::newRow("voice: OK, then NO ANSWER") << true << "ok+noanswer"
                                                   << "No Answer";
        QTest::newRow("voice: NO ANSWER at once") << true << "noanswer"
                                                  << "No Answer";
        QTest::newRow("voice: OK, then NO CARRIER") << true << "ok+nocarrier"
                                                    << "No Carrier";
        QTest::newRow("voice: NO CARRIER at once") << true << "nocarrier"
                                                   << "No Carrier";
        QTest::newRow("data: NO CARRIER") << false << "nocarrier"
                                          << "No Carrier";
        QTest::newRow("data: DELAYED once dialed") << false << "delayed"
                                                   << "Modem error!";
        QTest::newRow("data: the modem went silent") << false << "silent"
                                                     << "Modem error!";
    }
    void callsEndedBeforeTheDelay()
    {
        QFETCH(bool, voice);
        QFETCH(QString, outcome);
        QFETCH(QString, shown);
        const bool silent = outcome == QLatin1String("silent");
        QVERIFY2(start({"--outcomes", silent ? QString() : outcome + ",ok", "--busy-detect", "400"},
                       voice ? "Dialing Mode=0\r\n" : "Dialing Mode=1\r\n"),
                 "the modem simulator did not start");
        QCOMPARE(options().isSelected(OptionsStore::optMode2), voice);
        if (silent) {
            QTRY_VERIFY_WITH_TIMEOUT(sim->log().join(u' ').contains("CID=1"), 5000);
            sim->tell(QStringLiteral("silent"));
        }
        dialFromThePad(QStringLiteral("5550101"));
        WAIT_FOR_HEADING(shown, 15000);
        shoot(callWindow(), QStringLiteral("call-ended-") + QTest::currentDataTag());
        QTest::qWait(2500); // longer than the delay timer
        QCOMPARE(heading(), shown);
        QVERIFY2(!headings.contains(QStringLiteral("Connected")), qPrintable(headings.join('|')));
        QVERIFY(!sound->events.contains(QStringLiteral("beep")));
        click("cmdCancel");
        QVERIFY(!callWindow());
        QVERIFY(logRows(LogKind::Outgoing).isEmpty());
        if (silent)
            return;

        dialFromThePad(QStringLiteral("5550102"));
        WAIT_FOR_HEADING(QStringLiteral("Connected"), 15000);
        click("CmdOK");
        QCOMPARE(names(logRows(LogKind::Outgoing)), QStringList{"/5550102"});
        QCOMPARE(dials(), 2);
    }

    // What modems of other makes say: a numeric CONNECT with the speed (ATV0)
    // is a connection that hangs up ("+++" first), VCON a voice connection,
    // +CRING a ring, and a UTF-8 name a name.
    void modemDialects()
    {
        ModemSettings settings = SimModem::fastSettings();
        settings.initString = QStringLiteral("ATZ|ATE0|AT+FCLASS=8|AT+CRC=1");
        QVERIFY2(
            start({"--numeric", "--outcomes", "connect,connect,ok", "--vcon", "--cid", "clip",
                   "--cid-utf8", "--cid-delay", "300", "--rings", "2", "--ring-interval", "1000"},
                  "Dialing Mode=1\r\n", settings),
            "the modem simulator did not start");
        for (const char* number : {"5550101", "5550102"}) {
            dialFromThePad(QString::fromLatin1(number));
            WAIT_FOR_HEADING(QStringLiteral("Connected"), 15000);
            const int commands = int(sim->log().size());
            click("CmdOK");
            // The modem took the hang-up as a command, not as data.
            QVERIFY(sim->log().mid(commands).contains("ATH0"));
        }
        options().select(OptionsStore::optMode2);
        dialFromThePad(QStringLiteral("5550103"));
        WAIT_FOR_HEADING(QStringLiteral("Connected"), 15000);
        QVERIFY(!headings.contains(QStringLiteral("Modem error!")));
        click("CmdOK");
        QCOMPARE(logRows(LogKind::Outgoing).size(), 3);

        sim->tell(QStringLiteral("ring 5550199 MÜLLER Łukasz"));
        QTRY_VERIFY_WITH_TIMEOUT(shownDisplay(), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(child<QLabel>(shownDisplay(), "lbl1")->text(),
                                  QStringLiteral("5550199          MÜLLER Łukasz"), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(logRows(LogKind::Incoming).size(), 1, 8000);
        QCOMPARE(logRows(LogKind::Incoming)[0].name, QStringLiteral("MÜLLER ?ukasz"));
    }

    // Callers: the record of each call is stamped with the time it rang,
    // the display's OK keeps the caller ID that comes later, two callers
    // one after the other are two calls, and Hang Up on an old error window
    // leaves a ringing call alone.
    void callersAsTheyRing()
    {
        MorningClock clock(10);
        ModemSettings settings = SimModem::fastSettings();
        settings.ringTimeout = 4000;
        QVERIFY2(start({"--outcomes", "error", "--cid-delay", "1500", "--rings", "3",
                        "--ring-interval", "1000"},
                       {}, settings),
                 "the modem simulator did not start");
        QTRY_VERIFY_WITH_TIMEOUT(sim->log().join(u' ').contains("CID=1"), 5000);

        // The caller ID comes 1.5 s (15 s on this clock) after the ring.
        sim->tell(QStringLiteral("ring 5550001 ANN"));
        QTRY_VERIFY_WITH_TIMEOUT(shownDisplay(), 5000);
        const QDateTime rang = clock.now();
        QTRY_COMPARE_WITH_TIMEOUT(logRows(LogKind::Incoming).size(), 1, 5000);
        const QDateTime stamped = QDateTime::fromString(logRows(LogKind::Incoming)[0].dateTime,
                                                        QStringLiteral("MM-dd-yyyy  hh:mm:ss"));
        QVERIFY2(std::abs(stamped.secsTo(rang)) <= 6,
                 qPrintable(stamped.toString() + " / " + rang.toString()));
        QTRY_VERIFY_WITH_TIMEOUT(!shownDisplay(), 15000);

        // OK before the caller ID.
        sim->tell(QStringLiteral("ring 5550002 BOB"));
        QTRY_VERIFY_WITH_TIMEOUT(shownDisplay(), 5000);
        QTest::mouseClick(child<QPushButton>(shownDisplay(), "CmdOK"), Qt::LeftButton);
        QVERIFY(!shownDisplay());
        QTRY_COMPARE_WITH_TIMEOUT(logRows(LogKind::Incoming).size(), 2, 5000);
        QTest::qWait(6000); // the call rings out
        QCOMPARE(names(logRows(LogKind::Incoming)), QStringList({"ANN/5550001", "BOB/5550002"}));

        // Two callers close together.
        sim->tell(QStringLiteral("ring 5550003 CAROL"));
        QTRY_COMPARE_WITH_TIMEOUT(logRows(LogKind::Incoming).size(), 3, 5000);
        sim->tell(QStringLiteral("ring 5550004 DAVE"));
        QTRY_COMPARE_WITH_TIMEOUT(shownDisplay() ? child<QLabel>(shownDisplay(), "lbl1")->text()
                                                 : QString(),
                                  QStringLiteral("5550004          DAVE"), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(logRows(LogKind::Incoming).size(), 4, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!shownDisplay(), 15000);

        // An error window left open, then a caller: Hang Up closes the
        // window of the failed call only.
        dialFromThePad(QStringLiteral("5550105"));
        WAIT_FOR_HEADING(QStringLiteral("Modem error!"), 10000);
        sim->tell(QStringLiteral("ring 5550005 EVE"));
        QTRY_COMPARE_WITH_TIMEOUT(shownDisplay() ? child<QLabel>(shownDisplay(), "lbl1")->text()
                                                 : QString(),
                                  QStringLiteral("5550005          EVE"), 5000);
        const int commands = int(sim->log().size());
        click("cmdCancel");
        QTest::qWait(500);
        QVERIFY(shownDisplay());
        QCOMPARE(sim->log().size(), commands);
        QTRY_VERIFY_WITH_TIMEOUT(!shownDisplay(), 15000);
        QCOMPARE(names(logRows(LogKind::Incoming)),
                 QStringList({"ANN/5550001", "BOB/5550002", "CAROL/5550003", "DAVE/5550004",
                              "EVE/5550005"}));
    }

    // A second start and a request during a directory call: the call keeps
    // its name and key (its record and memo pad), the request waits its turn.
    void outsideNumbersDuringACall()
    {
        QVERIFY2(start({"--outcomes", "ok,ok"},
                       "\r\n[Speed Dial]\r\nName0105=Dr. Bo\r\nNumber0105=XX4165550199\r\n"),
                 "the modem simulator did not start");
        QTest::mouseClick(part<QPushButton>(window.get(), "CmdS5"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(callWindow(), 5000);
        window->receiveFromOtherInstance(3, QStringLiteral("5550177"));
        auto queued = request(client(), QStringLiteral("555-0188"), QStringLiteral("Zed"));
        QTRY_VERIFY_WITH_TIMEOUT(queued->done, 10000);
        WAIT_FOR_HEADING(QStringLiteral("Connected"), 15000);
        QCOMPARE(dials(), 1);
        click("CmdOK");
        const FrmMemo* memo = window->findChild<DirectoryView*>()->memoPad();
        QVERIFY(memo);
        QCOMPARE(memo->entryKey(), QStringLiteral("0105"));
        const auto rows = logRows(LogKind::Outgoing);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].name, QStringLiteral("Dr. Bo"));
        QCOMPARE(rows[0].number, QStringLiteral("4165550199"));
        QCOMPARE(rows[0].entryKey, QStringLiteral("0105"));

        // The memo pad closed, the request is dialed, once.
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == QLatin1String("FrmMemo") && w->isVisible())
                w->close();
        }
        WAIT_FOR_HEADING(QStringLiteral("Connected"), 15000);
        click("CmdOK");
        QCOMPARE(dials(), 2);
        QCOMPARE(names(logRows(LogKind::Outgoing)),
                 QStringList({"Dr. Bo/4165550199", "Zed/5550188"}));
    }

    // A day of calls: a busy number redialed, a no-answer, a no-carrier, two
    // callers back to back, a caller ringing while another program asks for
    // a "+" number (dialing properties ignored) and the receive switch is
    // used. Both logs hold exactly the day's calls; every request is dialed
    // once.
    void aDayOfCalls()
    {
        ModemSettings settings = SimModem::fastSettings();
        settings.ringTimeout = 4000;
        QVERIFY2(start({"--outcomes", "busy,ok,noanswer,ok+nocarrier,ok", "--busy-detect", "400",
                        "--cid-delay", "500", "--rings", "4", "--ring-interval", "1000"},
                       "Dialing Mode=0\r\nRedial Enabled=1\r\nRedials Number=3\r\n"
                       "Interval Minutes=0\r\nInterval Seconds=1\r\n"
                       "Ignore Dialing Properties=1\r\n",
                       settings),
                 "the modem simulator did not start");
        FakeTranslation toronto;
        QTRY_VERIFY_WITH_TIMEOUT(sim->log().join(u' ').contains("CID=1"), 5000);

        dialFromThePad(QStringLiteral("5550101")); // busy, then the redial gets through
        WAIT_FOR_HEADING(QStringLiteral("Connected"), 20000);
        QVERIFY(headings.contains(QStringLiteral("Busy")));
        click("CmdOK");
        dialFromThePad(QStringLiteral("5550102"));
        WAIT_FOR_HEADING(QStringLiteral("No Answer"), 15000);
        click("cmdCancel");
        dialFromThePad(QStringLiteral("+1 (416) 555-0103")); // "+" typed, properties ignored
        WAIT_FOR_HEADING(QStringLiteral("No Carrier"), 15000);
        QCOMPARE(sim->log().filter(QRegularExpression("^ATD")).constLast(),
                 QStringLiteral("ATDT14165550103;"));
        click("cmdCancel");
        QCOMPARE(dials(), 4);

        sim->tell(QStringLiteral("ring 5550004 CAROL"));
        QTRY_COMPARE_WITH_TIMEOUT(logRows(LogKind::Incoming).size(), 1, 5000);
        sim->tell(QStringLiteral("ring 5550005 DAVE"));
        QTRY_COMPARE_WITH_TIMEOUT(logRows(LogKind::Incoming).size(), 2, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!shownDisplay(), 15000);

        sim->tell(QStringLiteral("ring 5550006 EVE"));
        QTRY_COMPARE_WITH_TIMEOUT(logRows(LogKind::Incoming).size(), 3, 5000);
        part<QAction>(window.get(), "mnuReceive")->trigger(); // Manual Receive while EVE rings
        auto web = request(client(), QStringLiteral("tel:+1-555-555-1234"), QStringLiteral("Web"));
        QTRY_VERIFY_WITH_TIMEOUT(web->done, 10000);
        QCOMPARE(web->error, QString());
        WAIT_FOR_HEADING(QStringLiteral("Connected"), 20000);
        QCOMPARE(sim->log().filter(QRegularExpression("^ATD")).constLast(),
                 QStringLiteral("ATDT15555551234;"));
        click("CmdOK");
        part<QAction>(window.get(), "mnuReceive")->trigger(); // Automatic Receive again

        QTest::qWait(3000);
        QCOMPARE(dials(), 5);
        QCOMPARE(names(logRows(LogKind::Outgoing)), QStringList({"/5550101", "Web/15555551234"}));
        QCOMPARE(names(logRows(LogKind::Incoming)),
                 QStringList({"CAROL/5550004", "DAVE/5550005", "EVE/5550006"}));
    }
};

QTEST_MAIN(TestCallOutcomes)
#include "test_calloutcomes.moc"
