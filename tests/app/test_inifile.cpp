// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/IniFile.h"
#include "common/TestEnv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using telvaro::IniFile;
using telvaro::test::TestEnv;

namespace {

// Bytes of a literal, NULs included.
template <size_t N> QByteArray bytesOf(const char (&literal)[N])
{
    return QByteArray(literal, N - 1);
}

} // namespace

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
        // A file reached through a link: the link stays, its target changes.
        QDir().mkpath(env.root() + "/kept");
        TestEnv::writeFile(env.root() + "/kept/e.ini", "[S]\r\nk=old\r\n");
        QVERIFY(QFile::link("kept/e.ini", env.root() + "/e.ini"));
        IniFile linked(env.root() + "/e.ini");
        QVERIFY(linked.write(u"S", u"k", u"new"));
        QVERIFY(QFileInfo(env.root() + "/e.ini").isSymLink());
        QCOMPARE(TestEnv::readFile(env.root() + "/kept/e.ini"), QByteArray("[S]\r\nk=new\r\n"));
        IniFile missingFolder(env.root() + "/no/such/folder/d.ini");
        QVERIFY(!missingFolder.write(u"S", u"k", u"v"));
        QCOMPARE(missingFolder.read(u"S", u"k"), QString());
    }

    void badBytesAndOddLinesAreReadAndKept()
    {
        TestEnv env;
        const QString path = env.root() + "/odd.ini";
        // NUL bytes, bytes without a glyph, a CR-only line end, LF-only ends,
        // a key line before any section, a last line without an end.
        const QByteArray original = bytesOf("hdr\0x\r\nstray=1\n[S]\r\na=\x81\x8D\0\xFF\r\n"
                                            "b=1\rc=2\n=novalue\n[T]\nlast=9");
        TestEnv::writeFile(path, original);
        IniFile ini(path);
        QCOMPARE(ini.read(u"S", u"a"), QString(QChar(0x81)) + QChar(0x8D) + QChar(0) + QChar(0xFF));
        QCOMPARE(ini.read(u"S", u"stray"), QString());
        QCOMPARE(ini.read(u"T", u"last"), QString("9"));
        QVERIFY(ini.write(u"T", u"new", u"x"));
        const QByteArray bytes = TestEnv::readFile(path);
        // Every other line keeps its bytes and place; line ends become CR LF.
        QCOMPARE(bytes, bytesOf("hdr\0x\r\nstray=1\r\n[S]\r\na=\x81\x8D\0\xFF\r\n"
                                "b=1\rc=2\r\n=novalue\r\n[T]\r\nlast=9\r\nnew=x\r\n"));
        IniFile again(path);
        QCOMPARE(again.read(u"S", u"a"), ini.read(u"S", u"a"));

        // A carriage return that ends the file is a byte of the last line.
        TestEnv::writeFile(path, "[S]\r\nk=v\r");
        IniFile cr(path);
        QVERIFY(cr.write(u"T", u"x", u"1"));
        QCOMPARE(TestEnv::readFile(path), QByteArray("[S]\r\nk=v\r\r\n[T]\r\nx=1\r\n"));
    }

    void hugeAndManyLinesStayFast()
    {
        TestEnv env;
        const QString path = env.root() + "/big.ini";
        QByteArray data =
            "[Long]\r\nk=" + QByteArray(1 << 20, 'x') + "\r\n" + QByteArray(1 << 20, 'y');
        data += "\r\n";
        for (int i = 0; i < 100000; ++i)
            data += "[S" + QByteArray::number(i) + "]\r\nk=" + QByteArray::number(i) + "\r\n";
        data += QByteArray(1 << 20, '='); // a last line of a megabyte, no end
        TestEnv::writeFile(path, data);
        QElapsedTimer t;
        t.start();
        IniFile ini(path);
        QCOMPARE(ini.read(u"long", u"K", 1 << 21).size(), 1 << 20);
        QCOMPARE(ini.read(u"long", u"K").size(), 999);
        QCOMPARE(ini.read(u"S99999", u"k"), QString("99999"));
        QCOMPARE(ini.sectionNames().size(), 100001);
        QVERIFY(ini.write(u"S50000", u"k", u"changed"));
        QCOMPARE(IniFile(path).read(u"S50000", u"k"), QString("changed"));
        QVERIFY2(t.elapsed() < 10000, qPrintable(QString::number(t.elapsed())));
    }

    void duplicateKeysAndSections()
    {
        TestEnv env;
        const QString path = env.root() + "/dup.ini";
        TestEnv::writeFile(path, "[S]\r\nk=1\r\nK=2\r\n[s]\r\nk=3\r\n");
        IniFile ini(path);
        QCOMPARE(ini.read(u"S", u"k"), QString("1"));
        QCOMPARE(ini.keyNames(u"S"), QStringList({"k"}));
        QVERIFY(ini.write(u"S", u"k", u"one"));
        QCOMPARE(TestEnv::readFile(path), QByteArray("[S]\r\nk=one\r\nK=2\r\n[s]\r\nk=3\r\n"));
        QVERIFY(ini.removeKey(u"S", u"K"));
        QCOMPARE(ini.read(u"S", u"k"), QString("2")); // the next duplicate shows
        QVERIFY(ini.removeSection(u"S"));
        QCOMPARE(ini.read(u"S", u"k"), QString("3")); // and the next section
        QCOMPARE(TestEnv::readFile(path), QByteArray("[s]\r\nk=3\r\n"));

        // One name three times among others: each removal shows the next.
        TestEnv::writeFile(path, "[S]\r\na=1\r\nx=0\r\nA=2\r\ny=0\r\na=3\r\n");
        IniFile more(path);
        for (const char* next : {"1", "2", "3", ""}) {
            QCOMPARE(more.read(u"S", u"a"), QString(next));
            QCOMPARE(more.read(u"S", u"y"), QString("0"));
            QVERIFY(more.removeKey(u"S", u"a"));
        }
        QCOMPARE(TestEnv::readFile(path), QByteArray("[S]\r\nx=0\r\ny=0\r\n"));
    }

    void brokenSectionHeadersAsWindowsReadsThem()
    {
        TestEnv env;
        const QString path = env.root() + "/hdr.ini";
        // "[Speed Dial" is no header: its keys stay in the section before it.
        // A header's name runs to its last "]".
        TestEnv::writeFile(path, "[Prefs]\r\na=1\r\n[Speed Dial\r\nb=2\r\n[x=3\r\n"
                                 "[[A]]\r\nc=4\r\n [ B ] ] tail\r\nd=5\r\n");
        IniFile ini(path);
        QCOMPARE(ini.sectionNames(), QStringList({"Prefs", "[A]", "B ]"}));
        QCOMPARE(ini.keyNames(u"Prefs"), QStringList({"a", "b", "[x"}));
        QCOMPARE(ini.read(u"Prefs", u"b"), QString("2"));
        QCOMPARE(ini.read(u"Speed Dial", u"b"), QString());
        QCOMPARE(ini.read(u"[a]", u"c"), QString("4"));
        QCOMPARE(ini.read(u"B ]", u"d"), QString("5"));
        QVERIFY(ini.write(u"Speed Dial", u"e", u"6"));
        QCOMPARE(IniFile(path).read(u"Speed Dial", u"e"), QString("6"));
        QCOMPARE(ini.read(u"Prefs", u"b"), QString("2"));
    }

    void quotedValuesReadBackAsWritten()
    {
        TestEnv env;
        const QString path = env.root() + "/q.ini";
        IniFile ini(path);
        // What is read back: the value without the blanks around it.
        const QList<std::pair<QString, QString>> cases = {{"\"\"", "\"\""},
                                                          {"''", "''"},
                                                          {"\"Bob\"", "\"Bob\""},
                                                          {"'''   ", "'''"},
                                                          {" \"Bob\"", "\"Bob\""},
                                                          {"\"Work\" ", "\"Work\""},
                                                          {"\t'x'\t", "'x'"},
                                                          {"\"prog \"file\"", "\"prog \"file\""},
                                                          {"\"", "\""},
                                                          {"'a\"", "'a\""},
                                                          {" plain ", "plain"},
                                                          {"\"\"\"\"", "\"\"\"\""}};
        for (qsizetype i = 0; i < cases.size(); ++i) {
            const QString key = QString("k%1").arg(i);
            QVERIFY(ini.write(u"S", key, cases[i].first));
            QCOMPARE(ini.read(u"S", key), cases[i].second);
            QCOMPARE(IniFile(path).read(u"S", key), cases[i].second);
        }
        // Only a value read as quoted gets the extra pair; a value stored with
        // one by earlier versions still reads the same.
        const QByteArray bytes = TestEnv::readFile(path);
        QVERIFY(bytes.contains("\r\nk2=\"\"Bob\"\"\r\n"));
        QVERIFY(bytes.contains("\r\nk4=\"\"Bob\"\"\r\n"));
        QVERIFY(bytes.contains("\r\nk8=\"\r\n"));
        QVERIFY(bytes.contains("\r\nk10= plain \r\n"));
        TestEnv::writeFile(path, "[S]\r\nold=\"\"prog \"file\"\"\r\n");
        QCOMPARE(ini.read(u"S", u"old"), QString("\"prog \"file\""));
    }

    void removalsAmongManyKeysKeepEveryLookupRight()
    {
        TestEnv env;
        IniFile ini(env.root() + "/many.ini");
        QMap<QString, QString> expected;
        IniFile::Batch batch(ini);
        for (int i = 0; i < 4000; ++i) {
            const QString key = QString("Key%1").arg(i);
            ini.write(u"S", key, QString::number(i));
            expected[key] = QString::number(i);
        }
        QRandomGenerator random(7);
        for (int round = 0; round < 3; ++round) {
            for (int n = 0; n < 1500; ++n) {
                const QString key = QString("key%1").arg(random.bounded(4000));
                QVERIFY(ini.removeKey(u"S", key));
                expected.remove("K" + key.mid(1));
            }
            for (int i = 0; i < 4000; ++i) {
                const QString key = QString("Key%1").arg(i);
                QCOMPARE(ini.read(u"S", key), expected.value(key));
            }
            for (int i = round; i < 4000; i += 7) {
                ini.write(u"S", QString("KEY%1").arg(i), u"again");
                expected[QString("Key%1").arg(i)] = "again";
            }
        }
        QVERIFY(batch.commit());
        QCOMPARE(ini.keyNames(u"S").size(), expected.size());
    }

    void missingFileAndFolderInItsPlace()
    {
        TestEnv env;
        IniFile missing(env.root() + "/missing.ini");
        QCOMPARE(missing.read(u"S", u"k"), QString());
        QVERIFY(missing.sectionNames().isEmpty());

        const QString folder = env.root() + "/folder.ini";
        QDir().mkpath(folder);
        IniFile ini(folder);
        QCOMPARE(ini.read(u"S", u"k"), QString());
        QVERIFY(!ini.write(u"S", u"k", u"v"));
        QVERIFY(ini.lastError().contains("folder"));
        QCOMPARE(ini.read(u"S", u"k"), QString());
        QVERIFY(QFileInfo(folder).isDir());
    }

    void textsThatWouldNotReadBackAreRefused()
    {
        TestEnv env;
        const QString path = env.root() + "/refuse.ini";
        const QByteArray original = "[S]\r\nk=1\r\n";
        TestEnv::writeFile(path, original);
        IniFile ini(path);
        const QList<std::array<QString, 3>> bad = {
            {"S", "k", "two\r\nlines"}, {"S", "k", "lf\nonly"}, {"S", "a=b", "v"},
            {"S", "[T]", "v"},          {"S", " ", "v"},        {"S]x", "k", "v"},
            {"S\n[T]", "k", "v"},       {"S", "k\r", "v"}};
        for (const auto& [section, key, value] : bad) {
            QVERIFY2(!ini.write(section, key, value), qPrintable(section + "/" + key));
            QVERIFY(!ini.lastError().isEmpty());
        }
        QCOMPARE(TestEnv::readFile(path), original);
        QCOMPARE(ini.read(u"S", u"k"), QString("1"));
        QVERIFY(ini.write(u"S", u"k", u"ok"));
        QVERIFY(ini.lastError().isEmpty());
    }

    void batchWritesOnceAndAFailedCommitKeepsTheDiskState()
    {
        TestEnv env;
        const QString path = env.root() + "/batch.ini";
        TestEnv::writeFile(path, "[S]\r\nk=old\r\n");
        IniFile ini(path);
        {
            IniFile::Batch batch(ini);
            for (int i = 0; i < 1000; ++i)
                ini.write(u"S", QString("k%1").arg(i), QString::number(i));
            QCOMPARE(TestEnv::readFile(path), QByteArray("[S]\r\nk=old\r\n"));
            QCOMPARE(ini.read(u"S", u"k999"), QString("999"));
            QVERIFY(batch.commit());
        }
        QCOMPARE(IniFile(path).read(u"S", u"k999"), QString("999"));

        QFile::setPermissions(path, QFileDevice::ReadOwner);
        {
            IniFile::Batch batch(ini);
            ini.write(u"S", u"k", u"new");
            ini.removeSection(u"S");
            QVERIFY(!batch.commit());
        }
        QVERIFY(!ini.lastError().isEmpty());
        QCOMPARE(ini.read(u"S", u"k"), QString("old"));
        QCOMPARE(ini.read(u"S", u"k5"), QString("5"));
    }

    void killAtAnyMomentLeavesOldOrNewFile()
    {
        TestEnv env;
        const QString path = env.root() + "/kill.ini";
        const QByteArray padding = "[Pad]\r\nnote=" + QByteArray(200000, 'p') + "\r\n";
        TestEnv::writeFile(path, padding + "[S]\r\nk=0\r\n");
        auto* rng = QRandomGenerator::global();
        int lastSeen = 0;
        for (int round = 0; round < 12; ++round) {
            const pid_t child = ::fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                IniFile ini(path);
                for (int i = lastSeen + 1;; ++i)
                    ini.write(u"S", u"k", QString::number(i));
            }
            ::usleep(rng->bounded(2000, 40000));
            ::kill(child, SIGKILL);
            int status = 0;
            ::waitpid(child, &status, 0);
            const QByteArray bytes = TestEnv::readFile(path);
            QVERIFY(bytes.startsWith(padding + "[S]\r\nk="));
            const QByteArray tail = bytes.mid(padding.size() + 7);
            QVERIFY2(tail.endsWith("\r\n"), tail.constData());
            bool ok = false;
            const int value = tail.chopped(2).toInt(&ok);
            QVERIFY2(ok && value >= lastSeen, tail.constData());
            lastSeen = value;
        }
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "test_inifile.moc"
