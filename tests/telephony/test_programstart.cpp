// SPDX-License-Identifier: GPL-3.0-or-later
// Telvaro itself, started and stopped as a user would, as far as its
// telephony session goes.

#include "SimModem.h"

#include "settings/Cp1252.h"
#include "settings/SettingsFile.h"
#include "platform/SingleInstance.h"
#include "common/TestEnv.h"
#include "core/telephony/lineapi/UucpLock.h"
#include "core/telephony/locations/LocationStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using telvaro::test::SimModem;
using telvaro::test::TestEnv;

class TestProgramStart : public QObject
{
    Q_OBJECT

    static QProcessEnvironment environment(const TestEnv& env, const QString& locks)
    {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert("TELVARO_CONFIG_DIR", env.configDir());
        e.insert("TELVARO_DATA_DIR", env.dataDir());
        e.insert("TELVARO_RUNTIME_DIR", env.runtimeDir());
        e.insert("TELVARO_LOCK_DIR", locks);
        e.insert("QT_QPA_PLATFORM", "offscreen");
        return e;
    }

    static qint64 deadPid()
    {
        QProcess p;
        p.start("sleep", {"30"});
        p.waitForStarted();
        const qint64 pid = p.processId();
        p.kill();
        p.waitForFinished();
        return pid;
    }

    static QString program() { return telvaro::test::buildDir() + "/telvaro"; }

    // A later start handing `argument` over; its exit status and time taken.
    static std::pair<int, qint64> laterStart(const QString& argument)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        QElapsedTimer t;
        t.start();
        p.start(program(), {argument});
        if (!p.waitForFinished(10000))
            return {-1, t.elapsed()};
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, t.elapsed()};
    }

    // The simulator's dial commands, once `count` of them came.
    static QStringList dialsOf(const SimModem& sim, int count)
    {
        QElapsedTimer t;
        t.start();
        QStringList dials;
        while (t.elapsed() < 10000) {
            dials = sim.log().filter(QRegularExpression("^ATD"));
            if (dials.size() >= count)
                break;
            QTest::qWait(50);
        }
        return dials;
    }

    // Telvaro running with the simulated modem, accepting outside numbers.
    struct Running
    {
        TestEnv env;
        SimModem sim{{}};
        QProcess telvaro;
        explicit Running(const std::function<void()>& prepare = {})
        {
            if (prepare)
                prepare();
            TestEnv::writeFile(env.settingsFile(),
                               telvaro::cp1252::encode(telvaro::settings::kHeader) +
                                   "\r\n\r\n[Preferences]\r\nUseModem=1\r\nCommand "
                                   "Line=1\r\n");
            telvaro.setProcessChannelMode(QProcess::ForwardedChannels);
            telvaro.start(program(), {});
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(telvaro::SingleInstance::socketPath()), 15000);
        }
        ~Running()
        {
            telvaro.terminate();
            telvaro.waitForFinished(15000);
        }
    };

private Q_SLOTS:
    // A later start hands its number over and ends at once; the running
    // Telvaro dials it. A link's parameters are not dialed; a number too
    // long to hand over whole is refused; a Telvaro that does not answer
    // gives status 1.
    void laterStartsHandTheirNumbersOver()
    {
        {
            Running r;
            QVERIFY(r.sim.started());
            const auto [status, ms] = laterStart("/5551234");
            QCOMPARE(status, 0);
            QVERIFY2(ms < 1000, qPrintable(QString::number(ms)));
            const QStringList dials = dialsOf(r.sim, 1);
            QCOMPARE(dials.size(), 1);
            QVERIFY2(dials[0].endsWith("5551234;") || dials[0].endsWith("5551234"),
                     qPrintable(dials[0]));
        }
        {
            Running r;
            QCOMPARE(laterStart(QString(300, u'5')).first, 2);
            QCOMPARE(laterStart("tel:+1-555-555-1234;ext=12").first, 0);
            const QStringList dials = dialsOf(r.sim, 1);
            QCOMPARE(dials.size(), 1);
            QString digits = dials[0];
            digits.remove(QRegularExpression("[^0-9]"));
            QVERIFY2(digits.endsWith("5555551234"), qPrintable(dials[0]));
            QTest::qWait(500);
            QCOMPARE(r.sim.log().filter(QRegularExpression("^ATD")).size(), 1);
        }
        {
            // "+" is international: from Chicago, London is 011 44 ...
            Running r([] {
                telvaro::TelephonyLocations locations = telvaro::loadLocations();
                locations.locations.at(0).countryId = 1;
                locations.locations.at(0).areaCode = "312";
                QVERIFY(telvaro::saveLocations(locations));
            });
            QCOMPARE(laterStart("tel:+44-20-7946-0000").first, 0);
            const QStringList dials = dialsOf(r.sim, 1);
            QCOMPARE(dials.size(), 1);
            QString digits = dials[0];
            digits.remove(QRegularExpression("[^0-9]"));
            QCOMPARE(digits, QStringLiteral("011442079460000"));
        }
        {
            TestEnv env;
            QLocalServer silent; // takes the connection, never answers
            QVERIFY(silent.listen(telvaro::SingleInstance::socketPath()));
            QCOMPARE(laterStart("5551234").first, 1);
        }
    }

    // SIGTERM while start-up waits in a message box (an unusable settings
    // file): Telvaro ends through its exit sequence instead of running on.
    void terminationDuringStartUpEndsTheProgram()
    {
        TestEnv env;
        QVERIFY(QDir().mkpath(env.settingsFile())); // a folder where the file belongs
        QProcess telvaro;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.remove("XDG_RUNTIME_DIR"); // Telvaro's own runtime folder stands in, without a warning
        e.insert("DBUS_SESSION_BUS_ADDRESS", "disabled:");
        telvaro.setProcessEnvironment(e);
        telvaro.start(program(), {});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(telvaro::SingleInstance::socketPath()), 15000);
        QTest::qWait(1000); // start-up reaches its message box
        ::kill(pid_t(telvaro.processId()), SIGTERM);
        QVERIFY(telvaro.waitForFinished(10000));
        QCOMPARE(telvaro.exitCode(), 0);
        QVERIFY(!QFile::exists(telvaro::SingleInstance::socketPath()));
        QVERIFY(!QFile::exists(env.runtimeDir() + "/telephony.session"));
        const QByteArray errors = telvaro.readAllStandardError();
        QVERIFY2(!errors.contains("XDG_RUNTIME_DIR"), errors.constData());
        // No session bus: said once, and Telvaro runs on.
        QCOMPARE(errors.count("requests from other programs are off"), 1);
    }

    // SIGTERM while a number is being dialed: Telvaro ends through its exit
    // sequence, and the modem's port lock and the session record go with it.
    void terminationDuringADialReleasesThePort()
    {
        TestEnv env;
        SimModem sim({"--dial-delay", "60000"});
        QVERIFY(sim.started());
        TestEnv::writeFile(env.settingsFile(),
                           telvaro::cp1252::encode(telvaro::settings::kHeader) +
                               "\r\n\r\n[Preferences]\r\nUseModem=1\r\nCommand Line=1\r\n");
        QProcess telvaro;
        telvaro.setProcessEnvironment(environment(env, sim.lockDir()));
        telvaro.setProcessChannelMode(QProcess::ForwardedChannels);
        telvaro.start(program(), {});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(telvaro::SingleInstance::socketPath()), 15000);
        QCOMPARE(laterStart("5551234").first, 0);
        QCOMPARE(dialsOf(sim, 1).size(), 1);
        const QString lock = telvaro::UucpLock::lockFileFor(sim.device());
        QCOMPARE(telvaro::UucpLock::ownerOf(lock), telvaro.processId());

        ::kill(pid_t(telvaro.processId()), SIGTERM);
        QVERIFY(telvaro.waitForFinished(15000));
        QCOMPARE(telvaro.exitStatus(), QProcess::NormalExit);
        QCOMPARE(telvaro.exitCode(), 0);
        QVERIFY(!QFile::exists(lock));
        QVERIFY(!QFile::exists(env.runtimeDir() + "/telephony.session"));
    }

    // No modem configured, and a killed run's session record and port lock
    // left behind: the start clears them, the exit leaves nothing.
    void startAfterKilledRunWithoutModem()
    {
        TestEnv env;
        QTemporaryDir locks;
        const QByteArray dead = QByteArray::number(deadPid());
        const QString record = env.runtimeDir() + "/telephony.session";
        const QString lock = locks.path() + "/LCK..ttyACM0";
        TestEnv::writeFile(record, "hTapi=4097\npid=" + dead + "\n");
        TestEnv::writeFile(lock, dead.rightJustified(10) + "\n");

        QProcess telvaro;
        telvaro.setProcessEnvironment(environment(env, locks.path()));
        telvaro.setProcessChannelMode(QProcess::ForwardedChannels);
        telvaro.start(telvaro::test::buildDir() + "/telvaro", {});
        QVERIFY(telvaro.waitForStarted());
        // The running program's own record replaces the stale one.
        QTRY_VERIFY_WITH_TIMEOUT(
            TestEnv::readFile(record).contains("pid=" + QByteArray::number(telvaro.processId())),
            15000);
        QVERIFY(!QFile::exists(lock));

        telvaro.terminate();
        QVERIFY(telvaro.waitForFinished(15000));
        QCOMPARE(telvaro.exitStatus(), QProcess::NormalExit);
        QCOMPARE(telvaro.exitCode(), 0);
        QVERIFY(!QFile::exists(record));
    }
};

QTEST_GUILESS_MAIN(TestProgramStart)
#include "test_programstart.moc"
