// SPDX-License-Identifier: GPL-3.0-or-later
// Dialing end to end: the pad and the call window driving the real line
// layer and its modem provider against telvaro-modemsim on a pseudo-terminal.

#include "common/TestEnv.h"
#include "core/calllog/CallLog.h"
#include "core/calllog/CallLogFile.h"
#include "core/common/Clock.h"
#include "core/common/CurrentProfile.h"
#include "core/dialing/Dialer.h"
#include "core/dialing/NumberTranslation.h"
#include "core/telephony/LineService.h"
#include "core/telephony/lineapi/ModemConfig.h"
#include "core/telephony/sip/SipPasswords.h"
#include "gui/dialing/DialPad.h"
#include "gui/dialing/FrmConnect.h"
#include "gui/telephony/locations/LineDialogs.h"
#include "gui/telephony/locations/ModemDialogs.h"
#include "settings/OptionsStore.h"

#include "common/ScriptedPrompter.h"
#include "dialing/DialTestSupport.h"
#include "dialing/DialWindowControls.h"
#include "locations/ModalHelper.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace telvaro;

namespace {

class WallClock final : public Clock
{
public:
    WallClock() { setClock(this); }
    ~WallClock() override { setClock(nullptr); }
    QDateTime now() const override { return QDateTime(QDate(2026, 5, 4), QTime(10, 11, 12)); }
    std::chrono::steady_clock::time_point monotonic() const override
    {
        return std::chrono::steady_clock::now();
    }
};

// telvaro-modemsim as modem 0 of the test's telephony configuration.
class Simulator
{
public:
    explicit Simulator(const QStringList& args)
    {
        qputenv("TELVARO_LOCK_DIR", QFile::encodeName(m_dir.path()));
        m_log = m_dir.path() + QStringLiteral("/commands.log");
        m_process.setProgram(test::buildDir() + QStringLiteral("/tools/modemsim/telvaro-modemsim"));
        m_process.setArguments(QStringList{QStringLiteral("--log"), m_log} + args);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
        if (!m_process.waitForStarted(5000))
            return;
        for (int i = 0; i < 50 && !m_process.canReadLine(); ++i)
            m_process.waitForReadyRead(100);
        m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
        ModemSettings m;
        m.name = QStringLiteral("Simulated Modem");
        m.port = m_device;
        m.commandTimeout = 800;
        m.dialTimeout = 10;
        QVERIFY(saveModems({m}));
    }
    ~Simulator()
    {
        m_process.kill();
        m_process.waitForFinished(3000);
        qunsetenv("TELVARO_LOCK_DIR");
    }
    bool started() const { return !m_device.isEmpty(); }
    QString device() const { return m_device; }
    int dials() const
    {
        QFile f(m_log);
        if (!f.open(QIODevice::ReadOnly))
            return 0;
        int n = 0;
        for (const QByteArray& line : f.readAll().split('\n'))
            if (line.trimmed().toUpper().startsWith("ATD"))
                ++n;
        return n;
    }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_log;
    QString m_device;
};

} // namespace

class TestDialingModem : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestEnv> env;
    std::unique_ptr<Simulator> sim;
    // The program's line service (its own modem provider) and dialer.
    std::unique_ptr<LineService> line;
    std::unique_ptr<LineLayerTranslation> translation;
    test::RecordingPlayer quiet; // no sound card here
    std::unique_ptr<Dialer> dialer;
    std::unique_ptr<DialPad> padWidget;
    std::unique_ptr<FrmConnect> window;
    std::optional<test::PadControls> pad;
    std::optional<test::ConnectControls> call;
    std::unique_ptr<WallClock> wall;
    QStringList memos;
    CurrentProfile profile;
    calllog::CallLogWriter logs;
    CallLog log{profile, logs};
    QStringList labels;   // every text the window's label showed
    QStringList captions; // every heading, once per change

    bool start(const QStringList& simArgs)
    {
        sim = std::make_unique<Simulator>(simArgs);
        if (!sim->started())
            return false;
        line->initialize();
        (void)line->queryDevice(0); // negotiates the line's API version, as start-up does
        return line->session().lineApp != 0;
    }
    void dial(const QString& number, const QString& name, const QString& key)
    {
        dialer->dial(DialRequest{number, name, key, DialOrigin::Directory});
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<test::TestEnv>();
        wall = std::make_unique<WallClock>();
        test::resetProgram();
        line = std::make_unique<LineService>();
        translation = std::make_unique<LineLayerTranslation>(*line);
        dialer = std::make_unique<Dialer>(*line, *translation, quiet);
        // The outgoing log gets the record of a call taken.
        connect(dialer.get(), &Dialer::callEnded, &log, &CallLog::recordOutgoing);
        memos.clear();
        labels.clear();
        captions.clear();
        connect(dialer.get(), &Dialer::memoRequested, this,
                [this](const QString& key) { memos.append(key); });
        options().setSelectedLineDevice(0);
        // Long enough for the simulator to dial and hear a busy line.
        options().setText(OptionsStore::txtDelayTimer, QStringLiteral("4"));
        options().setText(OptionsStore::txtMinutes, QStringLiteral("0"));
        options().setText(OptionsStore::txtSeconds, QStringLiteral("2"));
        options().setText(OptionsStore::TxtRedial, QStringLiteral("3"));
        padWidget = std::make_unique<DialPad>(*dialer, quiet);
        padWidget->show();
        pad.emplace(padWidget.get());
        window = std::make_unique<FrmConnect>(*dialer);
        call.emplace(window.get());
        connect(dialer.get(), &Dialer::connectWindowChanged, window.get(), [this] {
            const ConnectWindowState& w = dialer->connectWindow();
            if (labels.isEmpty() || labels.last() != w.label)
                labels.append(w.label);
            if (captions.isEmpty() || captions.last() != w.frameCaption)
                captions.append(w.frameCaption);
        });
    }
    void cleanup()
    {
        line->shutdown();
        call.reset();
        window.reset();
        pad.reset();
        padWidget.reset();
        dialer.reset();
        translation.reset();
        line.reset();
        sim.reset();
        wall.reset();
        env.reset();
    }

    void busyTwiceThenConnectedFromThePad()
    {
        if (!start({QStringLiteral("--busy"), QStringLiteral("2")}))
            QFAIL("the modem simulator did not start");
        QTest::keyClicks(pad->txtDial, QStringLiteral("555-1234"));
        QTest::mouseClick(pad->CmdDial, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(call->fra1->title(), QStringLiteral("Connected"), 20000);

        QCOMPARE(sim->dials(), 3);
        QCOMPARE(call->lbl1->text(), QStringLiteral("  Lift the handset up and press OK"));
        QVERIFY(labels.contains(QStringLiteral("   Busy. Redial in :   2 seconds")));
        QVERIFY(labels.contains(QStringLiteral("   Busy. Redial in :   1 seconds")));
        QVERIFY(labels.contains(QStringLiteral("5551234\n   Busy. Redialing  x 2")));
        QCOMPARE(captions.count(QStringLiteral("Busy")), 2);
        QCOMPARE(captions.count(QStringLiteral("Connected")), 1);
        QVERIFY(!pad->cmdOK->isHidden() && pad->CmdDial->isHidden());

        QTest::mouseClick(call->CmdOK, Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QVERIFY(memos.isEmpty());
        const auto rows = calllog::readLog(
            calllog::logPath(CurrentProfile::untitled(), calllog::LogKind::Outgoing),
            calllog::LogKind::Outgoing);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0], (calllog::CallLogRow{QString(), QStringLiteral("5551234"),
                                               QStringLiteral("05-04-2026  10:11:12"),
                                               QStringLiteral("0")}));
        QCOMPARE(pad->CmbDial->itemText(0), QStringLiteral("5551234"));
        QTest::qWait(500);
        QCOMPARE(sim->dials(), 3);
    }

    void directoryCallOpensTheMemoOnOk()
    {
        if (!start({}))
            QFAIL("the modem simulator did not start");
        dial(QStringLiteral("XX4165550199"), QStringLiteral("Dr. Bo"), QStringLiteral("0105"));
        QTRY_COMPARE_WITH_TIMEOUT(call->fra1->title(), QStringLiteral("Connected"), 10000);
        QCOMPARE(captions.first(), QStringLiteral("Dialing:  Dr. Bo"));
        QTest::mouseClick(pad->cmdOK, Qt::LeftButton);
        QCOMPARE(memos, QStringList{QStringLiteral("0105")});
        const auto rows = calllog::readLog(
            calllog::logPath(CurrentProfile::untitled(), calllog::LogKind::Outgoing),
            calllog::LogKind::Outgoing);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].entryKey, QStringLiteral("0105"));
        QCOMPARE(rows[0].number, QStringLiteral("4165550199"));
    }

    void fourthBusyEndsTheRedials()
    {
        if (!start({QStringLiteral("--busy"), QStringLiteral("100")}))
            QFAIL("the modem simulator did not start");
        options().setText(OptionsStore::txtSeconds, QStringLiteral("1"));
        dial(QStringLiteral("XX5551234"), {}, QStringLiteral("0"));
        QTRY_COMPARE_WITH_TIMEOUT(call->fra1->title(), QStringLiteral("Disconnected"), 20000);
        QCOMPARE(call->lbl1->text(), QStringLiteral("Redialed   3 times. To increase No.of "
                                                    "redials: change settings in Tools/Options"));
        QCOMPARE(call->cmdCancel->text(), QStringLiteral("OK"));
        QCOMPARE(sim->dials(), 4);
        QTest::mouseClick(call->cmdCancel, Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QVERIFY(!QFile::exists(
            calllog::logPath(CurrentProfile::untitled(), calllog::LogKind::Outgoing)));
    }

    void hangUpDuringTheCountdownDialsNoMore()
    {
        if (!start({QStringLiteral("--busy"), QStringLiteral("100")}))
            QFAIL("the modem simulator did not start");
        bool pressed = false;
        connect(dialer.get(), &Dialer::connectWindowChanged, window.get(), [&] {
            if (!pressed && call->lbl1->text().startsWith(QStringLiteral("   Busy. Redial in"))) {
                pressed = true;
                QTimer::singleShot(100, padWidget.get(),
                                   [this] { QTest::mouseClick(pad->cmdCancel, Qt::LeftButton); });
            }
        });
        QTest::keyClicks(pad->txtDial, QStringLiteral("5551234"));
        QTest::mouseClick(pad->CmdDial, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(pressed && !window->isVisible(), 10000);
        QTest::qWait(3000); // longer than the redial interval
        QCOMPARE(sim->dials(), 1);
        QVERIFY(!pad->CmdDial->isHidden());
    }

    // A modem that reports call progress says BUSY after the voice dial's
    // OK: the redial countdown runs and the redial gets through.
    void busyAfterTheVoiceDialsOkRedials()
    {
        if (!start({QStringLiteral("--progress"), QStringLiteral("--busy"), QStringLiteral("1")}))
            QFAIL("the modem simulator did not start");
        options().select(OptionsStore::optMode2);
        QTest::keyClicks(pad->txtDial, QStringLiteral("555"));
        QTest::mouseClick(pad->CmdDial, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(call->fra1->title(), QStringLiteral("Connected"), 20000);
        QVERIFY(labels.contains(QStringLiteral("   Busy. Redial in :   1 seconds")));
        QCOMPARE(captions.count(QStringLiteral("Connected")), 1);
        QCOMPARE(sim->dials(), 2);
        QTest::mouseClick(call->CmdOK, Qt::LeftButton);
    }

    // The modem will not dial the number (a redialer's limit): the user sees
    // an error, never "Connected", and nothing is logged.
    void refusedDialIsAnError()
    {
        if (!start({QStringLiteral("--refuse"), QStringLiteral("delayed")}))
            QFAIL("the modem simulator did not start");
        QTest::keyClicks(pad->txtDial, QStringLiteral("555"));
        QTest::mouseClick(pad->CmdDial, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(call->fra1->title(), QStringLiteral("Modem error!"), 5000);
        QCOMPARE(call->lbl1->text(), QStringLiteral("Not able to make a call."));
        QTest::qWait(4500); // the whole delay timer
        QVERIFY(!captions.contains(QStringLiteral("Connected")));
        QVERIFY(call->CmdOK->isHidden());
        QTest::mouseClick(call->cmdCancel, Qt::LeftButton);
        QVERIFY(!QFile::exists(
            calllog::logPath(CurrentProfile::untitled(), calllog::LogKind::Outgoing)));
    }

    // A new user starts without a modem and adds one in System Modems: the
    // next dial reaches it without a restart.
    void firstModemAddedWhileRunning()
    {
        sim = std::make_unique<Simulator>(QStringList{});
        QVERIFY(sim->started());
        QVERIFY(saveModems({}));
        test::ScriptedPrompter prompts;
        SipPasswords passwords;
        LineDialogs dialogs(*line, passwords, prompts);
        line->initialize();
        (void)line->queryDevice(0);
        QCOMPARE(line->session().lineDeviceCount, 0u);

        test::onModal<SystemModemsDialog>([this](SystemModemsDialog* dialog) {
            test::onModal<AddModemDialog>([this](AddModemDialog* add) {
                test::child<QComboBox>(add, "cmbPort")->setCurrentText(sim->device());
                add->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            });
            test::child<QPushButton>(dialog, "cmdAdd")->click();
            dialog->reject();
        });
        dialogs.showSystemModems(nullptr);
        QCOMPARE(loadModems().size(), size_t(1));

        QTest::keyClicks(pad->txtDial, QStringLiteral("555"));
        QTest::mouseClick(pad->CmdDial, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(call->fra1->title(), QStringLiteral("Connected"), 10000);
        QCOMPARE(sim->dials(), 1);
        QVERIFY(prompts.messages.isEmpty());
        QTest::mouseClick(call->CmdOK, Qt::LeftButton);
    }
};

QTEST_MAIN(TestDialingModem)
#include "test_dialing_modem.moc"
