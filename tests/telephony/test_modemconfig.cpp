// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/TestEnv.h"

#include "settings/IniFile.h"
#include "settings/Paths.h"
#include "core/telephony/lineapi/ModemConfig.h"
#include "core/telephony/lineapi/UucpLock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

using namespace telvaro;
using telvaro::test::TestEnv;

class TestModemConfig : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void missingFileHasNoModems()
    {
        TestEnv env;
        QVERIFY(loadModems().empty());
    }

    void roundTripKeepsOtherSections()
    {
        TestEnv env;
        // Sections of the dialing locations live in the same file and must survive.
        TestEnv::writeFile(paths::telephonyConfigFile(),
                           "[Locations]\r\nCurrentID=2\r\n[Modems]\r\nCount=3\r\n"
                           "[Modem2]\r\nPort=/dev/old\r\n");
        ModemSettings a;
        a.name = QStringLiteral("Voice Modem");
        a.port = QStringLiteral("/dev/ttyACM0");
        a.speed = 57600;
        a.initString = QStringLiteral("ATZ|AT&F");
        a.dialTimeout = 45;
        a.commandTimeout = 800;
        a.speakerVolume = 3;
        a.speakerMode = 2;
        a.waitForDialTone = false;
        a.callerIdCommand = QStringLiteral("AT#CID=1");
        a.maxCommandLength = 56;
        a.billingToneWait = true;
        ModemSettings b;
        b.port = QStringLiteral("/dev/ttyUSB1");
        b.initString.clear();
        const Result saved = saveModems({a, b});
        QVERIFY2(saved, qPrintable(saved.error));

        const auto loaded = loadModems();
        QCOMPARE(loaded.size(), size_t(2));
        QCOMPARE(loaded[0], a);
        QCOMPARE(loaded[1], b); // an empty init string stays empty
        QCOMPARE(loaded[1].displayName(), QStringLiteral("Modem on ttyUSB1"));

        IniFile ini(paths::telephonyConfigFile());
        QCOMPARE(ini.read(u"Locations", u"CurrentID"), QStringLiteral("2"));
        QVERIFY(!ini.sectionNames().contains(QStringLiteral("Modem2"), Qt::CaseInsensitive));
    }

    void handEditedValuesAreBroughtIntoRange()
    {
        TestEnv env;
        TestEnv::writeFile(paths::telephonyConfigFile(),
                           "[Modems]\nCount=99999\n[Modem0]\nPort= /dev/ttyS0 \nSpeed=12345\n"
                           "SpeakerVolume=9\nSpeakerMode=-1\nCommandTimeout=abc\nDialTimeout=0\n"
                           "[Modem1]\nPort=/dev/ttyS1\n");
        const auto m = loadModems();
        // A count beyond reason is cut; sections that are missing read as defaults.
        QCOMPARE(m.size(), size_t(256));
        QCOMPARE(m[0].port, QStringLiteral("/dev/ttyS0"));
        QCOMPARE(m[0].speed, 115200);
        QCOMPARE(m[0].speakerVolume, 3);
        QCOMPARE(m[0].speakerMode, 0);
        QCOMPARE(m[0].commandTimeout, 3000);
        QCOMPARE(m[0].dialTimeout, 1);
        QCOMPARE(m[1].initCommands(), QStringList({"ATZ", "ATE0V1"}));
        QVERIFY(m[2].port.isEmpty());
    }

    void lockFilesFollowUucpConvention()
    {
        QTemporaryDir dir;
        qputenv("TELVARO_LOCK_DIR", QFile::encodeName(dir.path()));
        const QString dev = QStringLiteral("/dev/pts/7");
        QCOMPARE(UucpLock::lockFileFor(dev), dir.path() + "/LCK..pts_7");
        QCOMPARE(UucpLock::lockFileFor("/dev/ttyACM0"), dir.path() + "/LCK..ttyACM0");

        {
            UucpLock lock;
            QCOMPARE(lock.acquire(dev), UucpLock::Result::Locked);
            const QByteArray content = TestEnv::readFile(UucpLock::lockFileFor(dev));
            QCOMPARE(
                content,
                QByteArray::number(QCoreApplication::applicationPid()).rightJustified(10, ' ') +
                    '\n');
            // A second lock of the same port, even from this process, is refused.
            UucpLock second;
            qint64 owner = 0;
            QCOMPARE(second.acquire(dev, &owner), UucpLock::Result::Busy);
            QCOMPARE(owner, QCoreApplication::applicationPid());
        }
        QVERIFY(!QFile::exists(UucpLock::lockFileFor(dev)));

        // A lock of a live foreign process stays; one of a dead process is taken over.
        QProcess sleeper;
        sleeper.start("sleep", {"30"});
        QVERIFY(sleeper.waitForStarted());
        TestEnv::writeFile(UucpLock::lockFileFor(dev),
                           QByteArray::number(sleeper.processId()).rightJustified(10, ' ') + '\n');
        UucpLock lock;
        QCOMPARE(lock.acquire(dev), UucpLock::Result::Busy);
        QVERIFY(!UucpLock::removeStale(dev));
        const qint64 deadPid = sleeper.processId();
        sleeper.kill();
        sleeper.waitForFinished();
        QVERIFY(!UucpLock::processAlive(deadPid));
        QCOMPARE(lock.acquire(dev), UucpLock::Result::Locked);
        lock.release();
        qunsetenv("TELVARO_LOCK_DIR");
    }
};

QTEST_GUILESS_MAIN(TestModemConfig)
#include "test_modemconfig.moc"
