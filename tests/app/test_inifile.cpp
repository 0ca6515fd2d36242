#include "app/IniFile.h"
#include "common/TestEnv.h"

#include <QFile>
#include <QtTest>

using telvaro::IniFile;
using telvaro::test::TestEnv;

class TestIniFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsWithPrivateProfileRules()
    {
        TestEnv env;
        const QString path = env.root() + "/a.ini";
        TestEnv::writeFile(path, "header line\r\n\r\n[Prefs]\r\n  Mode  =  1  \r\nq=\"abc\"\r\n"
                                 "h=\"abc\r\nmode=2\r\nnoequals\r\n[prefs]\r\nother=x\r\n"
                                 "[Lat]\nkey=\xDE\xE9\n");
        IniFile ini(path);
        QCOMPARE(ini.read(u"PREFS", u"mode"), QString("1"));
        QCOMPARE(ini.read(u"Prefs", u"q"), QString("abc"));
        QCOMPARE(ini.read(u"Prefs", u"h"), QString("\"abc"));
        QCOMPARE(ini.read(u"Prefs", u"noequals"), QString());
        QCOMPARE(ini.read(u"Prefs", u"other"), QString()); // later duplicate section not searched
        QCOMPARE(ini.read(u"lat", u"KEY"), QString(QChar(0xDE)) + QChar(0xE9));
        QCOMPARE(ini.read(u"Prefs", u"Mode", 1), QString());
        QCOMPARE(ini.read(u"Prefs", u"q", 3), QString("ab"));
    }

    void writesInPlaceAppendsAndRemoves()
    {
        TestEnv env;
        const QString path = env.root() + "/b.ini";
        const QByteArray original = "header\r\n\r\n[S]\r\nA = 1\r\n; note\r\n[T]\r\nx=y";
        TestEnv::writeFile(path, original);
        IniFile ini(path);
        QVERIFY(ini.write(u"s", u"a", u" 2"));
        QCOMPARE(TestEnv::readFile(path),
                 QByteArray("header\r\n\r\n[S]\r\nA = 2\r\n; note\r\n[T]\r\nx=y"));
        QVERIFY(ini.write(u"S", u"b", u"3"));
        QCOMPARE(TestEnv::readFile(path),
                 QByteArray("header\r\n\r\n[S]\r\nA = 2\r\nb=3\r\n; note\r\n[T]\r\nx=y"));
        QVERIFY(ini.write(u"New", u"k", u"v"));
        QCOMPARE(TestEnv::readFile(path),
                 QByteArray("header\r\n\r\n[S]\r\nA = 2\r\nb=3\r\n; note\r\n"
                            "[T]\r\nx=y\r\n[New]\r\nk=v\r\n"));
        QVERIFY(ini.removeKey(u"S", u"A"));
        QVERIFY(ini.removeSection(u"t"));
        QCOMPARE(TestEnv::readFile(path),
                 QByteArray("header\r\n\r\n[S]\r\nb=3\r\n; note\r\n[New]\r\nk=v\r\n"));
    }

    void seesChangesOnDiskAndReportsFailedWrites()
    {
        TestEnv env;
        const QString path = env.root() + "/c.ini";
        IniFile ini(path);
        QCOMPARE(ini.read(u"S", u"k"), QString());
        TestEnv::writeFile(path, "[S]\r\nk=outside\r\n");
        QCOMPARE(ini.read(u"S", u"k"), QString("outside"));
        QFile::setPermissions(path, QFileDevice::ReadOwner);
        QVERIFY(!ini.write(u"S", u"k", u"mine"));
        QVERIFY(!ini.lastError().isEmpty());
        QCOMPARE(ini.read(u"S", u"k"), QString("outside"));
        IniFile missingFolder(env.root() + "/no/such/folder/d.ini");
        QVERIFY(!missingFolder.write(u"S", u"k", u"v"));
        QCOMPARE(missingFolder.read(u"S", u"k"), QString());
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "test_inifile.moc"
