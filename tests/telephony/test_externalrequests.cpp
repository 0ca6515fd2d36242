// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers from other programs: make-call requests over D-Bus (a private
// dbus-daemon, never the user's session bus) reaching the real main window,
// its dial procedure and telvaro-modemsim, and the outside-number rules.

#include "PrivateBus.h"
#include "SimModem.h"

#include "app/FrmDialer.h"
#include "app/ProgramParts.h"
#include "common/CountingEnder.h"
#include "common/ScriptedPrompter.h"
#include "common/TestEnv.h"
#include "core/calllog/CallLogFile.h"
#include "core/common/CommandLine.h"
#include "core/common/CurrentProfile.h"
#include "core/dialing/Dialer.h"
#include "core/dialing/ExternalRequests.h"
#include "core/telephony/LineService.h"
#include "dialing/DialTestSupport.h"
#include "directory/WindowParts.h"
#include "gui/dialing/DialPad.h"
#include "dialing/DialWindowControls.h"
#include "settings/Cp1252.h"
#include "settings/OptionsStore.h"
#include "settings/SettingsFile.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

#include <atomic>
#include <thread>

using namespace telvaro;
using namespace telvaro::test;

namespace {

int dials(const SimModem& sim)
{
    return int(sim.log().filter(QRegularExpression("^ATD")).size());
}

} // namespace

class TestExternalRequests : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> env;
    std::unique_ptr<ScriptedPrompter> prompts;
    std::unique_ptr<PrivateBus> bus;
    std::unique_ptr<DialRequestService> service;
    std::unique_ptr<ProgramParts> parts;
    std::unique_ptr<FrmDialer> window;

    // The first start with numbers from other applications accepted.
    void startTelvaro(const QByteArray& preferences, const QByteArray& sections = {},
                      SoundPlayer* sound = nullptr)
    {
        TestEnv::writeFile(env->settingsFile(), cp1252::encode(settings::kHeader) + "\r\n" +
                                                    sections + "\r\n[Preferences]\r\n" +
                                                    preferences + "Busy Delay Timer=1\r\n");
        parts = std::make_unique<ProgramParts>(nullptr, PartDoubles{nullptr, nullptr, sound, prompts.get()});
        static test::CountingEnder ender;
        window = std::make_unique<FrmDialer>(parts.get(), profiles::ProfileOperation::None, &ender);
        window->formLoad(QString());
    }

    static QPushButton* callWindowButton(const char* name)
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("FrmConnect") && w->isVisible())
                return w->findChild<QPushButton*>(QLatin1String(name));
        return nullptr;
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnv>();
        prompts = std::make_unique<ScriptedPrompter>();
        test::resetProgram();
        bus = std::make_unique<PrivateBus>();
        if (bus->address.isEmpty()) {
            // make deps installs it; CI must run these tests.
            if (qEnvironmentVariableIsSet("CI"))
                QFAIL("dbus-daemon did not start");
            QSKIP("dbus-daemon is not installed");
        }
        service = std::make_unique<DialRequestService>();
        const Result started = service->start(bus->connect("service"));
        QVERIFY2(started, qPrintable(started.error));
    }

    void cleanup()
    {
        if (window) {
            window->parts().line().close();
            window->parts().line().shutdown();
        }
        window.reset();
        parts.reset();
        service.reset();
        bus.reset();
        prompts.reset();
        env.reset();
    }

    // The option on: the caller has its answer before the call, which follows
    // about a second later; a second request waits for the first call's OK
    // and is logged with its called party and no directory entry.
    void requestsAreQueuedAndDialedOneAfterTheOther()
    {
        SimModem sim({});
        QVERIFY(sim.started());
        startTelvaro("UseModem=1\r\nCommand Line=1\r\n");
        const LineService& line = window->parts().line();
        const QDBusConnection client = bus->connect("client");

        auto first = request(client, QStringLiteral("555-0101"), QStringLiteral("Ann\nLee"));
        QTRY_COMPARE_WITH_TIMEOUT(dials(sim), 1, 10000);
        const auto dialed = std::chrono::steady_clock::now();
        QVERIFY(first->done);
        QCOMPARE(first->error, QString());
        QVERIFY(dialed - first->at >= std::chrono::milliseconds(900));
        // Taken: its redials and later calls wait no more.
        QVERIFY(!line.session().requestSignalled && !line.session().requestTaken);
        QVERIFY(sim.log().filter("ATD").constFirst().contains("5550101"));

        QTRY_VERIFY_WITH_TIMEOUT(
            callWindowButton("CmdOK") && callWindowButton("CmdOK")->isVisible(), 10000);
        auto second = request(client, QStringLiteral("tel:555-0102%0A"), QStringLiteral("Bob"));
        QTRY_VERIFY(second->done);
        QCOMPARE(second->error, QString());
        QTest::qWait(1500);
        QCOMPARE(dials(sim), 1);

        QTest::mouseClick(callWindowButton("CmdOK"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(dials(sim), 2, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(
            callWindowButton("CmdOK") && callWindowButton("CmdOK")->isVisible(), 10000);
        QTest::mouseClick(callWindowButton("CmdOK"), Qt::LeftButton);

        const auto rows = calllog::readLog(
            calllog::logPath(CurrentProfile::untitled(), calllog::LogKind::Outgoing),
            calllog::LogKind::Outgoing);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].name, QStringLiteral("AnnLee"));
        QCOMPARE(rows[0].number, QStringLiteral("5550101"));
        QCOMPARE(rows[0].entryKey, QStringLiteral("0"));
        QCOMPARE(rows[1].name, QStringLiteral("Bob"));
        QCOMPARE(rows[1].number, QStringLiteral("5550102"));
        QCOMPARE(rows[1].entryKey, QStringLiteral("0"));
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY(w->objectName() != QLatin1String("FrmMemo") || !w->isVisible());

        // The user's own call afterwards goes out without the moment a
        // request's call waits (the window would freeze for it).
        QTRY_COMPARE_WITH_TIMEOUT(line.session().callHandle, 0u, 10000);
        auto* pad = window->findChild<DialPad*>();
        QVERIFY(pad);
        child<QLineEdit>(pad, "txtDial")->setText(QStringLiteral("5550103"));
        QElapsedTimer click;
        click.start();
        QTest::mouseClick(child<QPushButton>(pad, "CmdDial"), Qt::LeftButton);
        QVERIFY2(click.elapsed() < 900, qPrintable(QString::number(click.elapsed())));
        QTRY_COMPARE_WITH_TIMEOUT(dials(sim), 3, 10000);
    }

    // Refusals, and a queue that keeps moving when requests place no call.
    void refusedRequestsAndCallsWithoutAModem()
    {
        RecordingPlayer player;
        FastClock fast(20); // the tones' waits pass quickly
        startTelvaro("UseModem=0\r\nCommand Line=0\r\n",
                     "[Speed Dial]\r\nName0101=Ann Lee\r\nNumber0101=5550111\r\n", &player);
        const QDBusConnection client = bus->connect("client");

        // The interface file shipped for programmers is the one the service has.
        QString live;
        std::atomic<bool> answered{false};
        std::thread asker([&live, &answered, client] {
            const QDBusMessage answer = QDBusConnection(client).call(
                QDBusMessage::createMethodCall(kDBusServiceName, kDBusObjectPath,
                                               "org.freedesktop.DBus.Introspectable", "Introspect"),
                QDBus::Block, 5000);
            live = answer.arguments().value(0).toString();
            answered = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(answered, 10000);
        asker.join();
        const QString shipped = QString::fromUtf8(TestEnv::readFile(
            sourceDir() + "/resources/org.telvaro.Telvaro.AssistedTelephony.xml"));
        QRegularExpression arg(R"re(<arg name="(\w+)" type="(\w+)" direction="(\w+)"/>)re");
        auto args = [&arg](const QString& xml) {
            const qsizetype from = xml.indexOf("org.telvaro.Telvaro.AssistedTelephony");
            const QString ours = xml.mid(from, xml.indexOf("</interface>", from) - from);
            QStringList out;
            for (const auto& m : arg.globalMatch(ours))
                out << m.captured(0);
            return out;
        };
        QVERIFY(live.contains(R"(<interface name="org.telvaro.Telvaro.AssistedTelephony">)"));
        QVERIFY(live.contains(R"(<method name="RequestMakeCall">)"));
        QCOMPARE(args(live), args(shipped));
        QCOMPARE(args(live).size(), 4);

        auto off = request(client, QStringLiteral("5550101"), QString());
        QTRY_VERIFY(off->done);
        QCOMPARE(off->error, kErrorNoRequestRecipient);

        options().setChecked(OptionsStore::chkCommand, true);
        for (const QString& bad :
             {QString(80, u'5'), QString(), QStringLiteral("555\r0101"), QStringLiteral("   ")}) {
            auto refused = request(client, bad, QString());
            QTRY_VERIFY(refused->done);
            QCOMPARE(refused->error, kErrorInvalidDestAddress);
        }

        // Nothing to dial, then two numbers played as tones: all three taken.
        auto nothing = request(client, QStringLiteral("callto:someuser"), QString());
        auto a = request(client, QStringLiteral("5551234"), QStringLiteral("A"));
        auto b = request(client, QString(79, u'7'), QStringLiteral("B"));
        QTRY_VERIFY(nothing->done && a->done && b->done);
        QCOMPARE(b->error, QString());
        QTRY_COMPARE_WITH_TIMEOUT(player.events.size(), qsizetype(7 + 79), 10000);

        // A later start's number with nothing to dial leaves the window where
        // the user can reach it; after a directory call, a number takes no
        // directory entry or name along.
        QTest::mouseClick(part<QPushButton>(window.get(), "CmdS1"), Qt::LeftButton);
        const DialRequest& made = window->parts().dialer().request();
        QCOMPARE(made.entryKey, QStringLiteral("0101"));
        QTRY_COMPARE_WITH_TIMEOUT(player.events.size(), qsizetype(7 + 79 + 7), 10000);
        window->receiveFromOtherInstance(3, QStringLiteral("someuser"));
        QVERIFY(!window->isHidden());
        window->receiveFromOtherInstance(3, QStringLiteral("5550101"));
        QCOMPARE(made.entryKey, QStringLiteral("0"));
        QVERIFY(made.name.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(player.events.size(), qsizetype(7 + 79 + 14), 10000);
    }

    // Outside numbers: links, control characters, and "+" as international.
    void outsideNumbers()
    {
        QCOMPARE(parseCommandLine({"tel:+1-555-555-1234;ext=12"}).number,
                 QStringLiteral("+1-555-555-1234"));
        QCOMPARE(parseCommandLine({"callto:555%2D0199?subject=x"}).number,
                 QStringLiteral("555-0199"));
        QCOMPARE(parseCommandLine({"5\x01"
                                   "55\t1234"})
                     .number,
                 QStringLiteral("5551234"));

        FakeTranslation location; // Toronto
        QCOMPARE(dialableOutsideNumber("+44-20-7946-0000", location),
                 QStringLiteral("011442079460000"));
        QCOMPARE(dialableOutsideNumber("+1 (416) 555-0101", location),
                 QStringLiteral("14165550101"));
        QCOMPARE(dialableOutsideNumber("555-0101", location), QStringLiteral("555-0101"));
        options().setChecked(OptionsStore::chkIgnore, true);
        QCOMPARE(dialableOutsideNumber("+44 20", location), QStringLiteral("0114420"));
    }
};

QTEST_MAIN(TestExternalRequests)
#include "test_externalrequests.moc"
