// Telvaro itself, started and stopped as a user would, as far as its
// telephony session goes.

#include "common/TestEnv.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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

private Q_SLOTS:
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
