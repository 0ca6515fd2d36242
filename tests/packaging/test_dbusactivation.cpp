// SPDX-License-Identifier: GPL-3.0-or-later
// The session bus starts Telvaro for the first request of another program:
// the D-Bus service file as `cmake --install` stages it, in the service
// folder of a private dbus-daemon (never the user's session bus), starting
// the built program with the test's folders and the modem simulator.

#include "SimModem.h"

#include "common/TestEnv.h"
#include "core/dialing/ExternalRequests.h"
#include "settings/Cp1252.h"
#include "settings/SettingsFile.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using telvaro::test::SimModem;
using telvaro::test::TestEnv;

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Running: neither gone nor a zombie waiting for the bus to reap it.
bool processRunning(qint64 pid)
{
    const QByteArray stat = readFile(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype end = stat.lastIndexOf(')');
    return pid > 0 && end > 0 && stat.mid(end + 2, 1) != "Z";
}

// The program the bus started: ended with SIGTERM by the test, SIGKILL if
// it does not go.
struct Started
{
    qint64 pid = 0;
    bool stop(int waitMs)
    {
        if (pid <= 0)
            return true;
        ::kill(pid_t(pid), SIGTERM);
        for (int waited = 0; waited < waitMs && processRunning(pid); waited += 50)
            QTest::qWait(50);
        const bool ended = !processRunning(pid);
        if (!ended)
            ::kill(pid_t(pid), SIGKILL);
        pid = 0;
        return ended;
    }
    ~Started() { stop(0); }
};

} // namespace

class TestDBusActivation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // With "Accept dialing numbers from other applications" on and Telvaro
    // not running, a program's RequestMakeCall starts Telvaro through the
    // bus, gets its plain answer, and the number is dialed and kept.
    void firstRequestStartsTelvaroAndIsDialed()
    {
        TestEnv env;
        SimModem sim({});
        QVERIFY(sim.started());
        TestEnv::writeFile(env.settingsFile(),
                           telvaro::cp1252::encode(telvaro::settings::kHeader) +
                               "\r\n\r\n[Preferences]\r\nUseModem=1\r\nCommand Line=1\r\n");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());

        // The service file as installed under /usr/local names that program.
        QProcess install;
        QProcessEnvironment installEnv = QProcessEnvironment::systemEnvironment();
        installEnv.insert("DESTDIR", dir.filePath("stage"));
        install.setProcessEnvironment(installEnv);
        install.start(QStringLiteral(TELVARO_CMAKE_COMMAND),
                      {"--install", telvaro::test::buildDir(), "--component", "dbus-service",
                       "--prefix", "/usr/local"});
        QVERIFY(install.waitForFinished(30000));
        QCOMPARE(install.exitCode(), 0);
        QByteArray service = readFile(dir.filePath("stage/usr/local/share/dbus-1/services/"
                                                   "org.telvaro.Telvaro.service"));
        QVERIFY2(service.startsWith("[D-BUS Service]\n"), service.constData());
        QVERIFY2(service.contains("\nName=org.telvaro.Telvaro\n"), service.constData());
        QVERIFY2(service.contains("\nExec=/usr/local/bin/telvaro\n"), service.constData());
        // Here the bus starts the built one.
        service.replace("Exec=/usr/local/bin/telvaro",
                        "Exec=" + QFile::encodeName(telvaro::test::buildDir() + "/telvaro"));
        QVERIFY(QDir().mkpath(dir.filePath("services")));
        TestEnv::writeFile(dir.filePath("services/org.telvaro.Telvaro.service"), service);

        const QString address = "unix:path=" + dir.filePath("bus");
        TestEnv::writeFile(
            dir.filePath("bus.conf"),
            "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
            " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
            "<busconfig>\n  <type>session</type>\n  <listen>" +
                address.toUtf8() + "</listen>\n  <servicedir>" + dir.filePath("services").toUtf8() +
                "</servicedir>\n"
                "  <policy context=\"default\">\n"
                "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                "    <allow eavesdrop=\"true\"/>\n    <allow own=\"*\"/>\n"
                "  </policy>\n</busconfig>\n");

        // The bus hands its environment to the programs it starts: the
        // test's folders, the simulator's locks, a home of the test's own.
        QVERIFY(QDir().mkpath(dir.filePath("home/run")));
        QFile::setPermissions(dir.filePath("home/run"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment busEnv = QProcessEnvironment::systemEnvironment();
        busEnv.insert("DBUS_SESSION_BUS_ADDRESS", address);
        busEnv.insert("HOME", dir.filePath("home"));
        busEnv.insert("XDG_CONFIG_HOME", dir.filePath("home/.config"));
        busEnv.insert("XDG_DATA_HOME", dir.filePath("home/.local/share"));
        busEnv.insert("XDG_RUNTIME_DIR", dir.filePath("home/run"));
        busEnv.insert("QT_QPA_PLATFORM", "offscreen");
        QProcess daemon;
        daemon.setProcessEnvironment(busEnv);
        daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        daemon.start("dbus-daemon", {"--config-file=" + dir.filePath("bus.conf"), "--nofork",
                                     "--print-address=1"});
        QVERIFY2(daemon.waitForStarted(5000), "dbus-daemon did not start");
        QVERIFY(daemon.waitForReadyRead(5000));

        Started telvaro;
        {
            QDBusConnection client = QDBusConnection::connectToBus(address, "client");
            QVERIFY(client.isConnected());
            QVERIFY(!client.interface()->isServiceRegistered(telvaro::kDBusServiceName));
            QDBusMessage call =
                QDBusMessage::createMethodCall(telvaro::kDBusServiceName, telvaro::kDBusObjectPath,
                                               telvaro::kDBusInterface, "RequestMakeCall");
            call << QStringLiteral("555-1234") << QStringLiteral("test") << QStringLiteral("Ann")
                 << QString();
            const QDBusMessage answer = client.call(call, QDBus::Block, 30000);
            // Known first, so that a failing check still ends it.
            const QDBusReply<uint> pid = client.interface()->servicePid(telvaro::kDBusServiceName);
            QVERIFY2(pid.isValid(), "the bus did not start Telvaro");
            telvaro.pid = pid.value();
            QVERIFY2(answer.type() == QDBusMessage::ReplyMessage,
                     qPrintable(answer.errorName() + ": " + answer.errorMessage()));
        }
        QDBusConnection::disconnectFromBus("client");

        QTRY_VERIFY_WITH_TIMEOUT(!sim.log().filter(QRegularExpression("^ATD.*5551234")).isEmpty(),
                                 15000);
        QVERIFY(telvaro.stop(15000));
        // Kept among the recent numbers when Telvaro ended.
        const QByteArray settings = readFile(env.settingsFile());
        QVERIFY2(settings.contains("\r\nLast Dialed No 0=5551234\r\n"), settings.constData());

        daemon.terminate();
        daemon.waitForFinished(3000);
    }
};

QTEST_GUILESS_MAIN(TestDBusActivation)
#include "test_dbusactivation.moc"
