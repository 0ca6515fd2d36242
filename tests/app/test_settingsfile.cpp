// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/TestEnv.h"
#include "settings/Cp1252.h"
#include "settings/SettingsFile.h"

#include <QDir>
#include <QtTest>

using namespace telvaro;
using telvaro::test::TestEnv;
namespace st = telvaro::settings;

namespace {

QByteArray header()
{
    return cp1252::encode(st::kHeader);
}

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void missingFileIsCreatedWithHeaderAndEmptyLine()
    {
        TestEnv env;
        QCOMPARE(st::checkFile().result, st::CheckResult::Created);
        QCOMPARE(TestEnv::readFile(env.settingsFile()), header() + "\r\n\r\n");
    }

    void fileWithTheHeaderIsLeftByteForByte()
    {
        TestEnv env;
        for (const QByteArray& content :
             {header() + "\r\n\r\n", header() + "\r\n\r\n[Speed Dial]\r\nName0101=Mum\r\n",
              header() + "\n\n[Profile]\nName=Home.tlx", header()}) {
            TestEnv::writeFile(env.settingsFile(), content);
            QCOMPARE(st::checkFile().result, st::CheckResult::Kept);
            QCOMPARE(TestEnv::readFile(env.settingsFile()), content);
        }
    }

    void firstLineOffByOneCharacterResetsAndKeepsTheOldFile()
    {
        TestEnv env;
        QByteArray changed = header();
        changed[4] = 'F'; // "The Following ..."
        for (const QByteArray& first :
             {changed, header() + " ", header().chopped(1), QByteArray()}) {
            const QByteArray old = first + "\r\n\r\n[Speed Dial]\r\nName0101=Mum\r\n";
            TestEnv::writeFile(env.settingsFile(), old);
            QCOMPARE(st::checkFile().result, st::CheckResult::Reset);
            QCOMPARE(TestEnv::readFile(env.settingsFile()), header() + "\r\n\r\n");
            QCOMPARE(TestEnv::readFile(st::discardedCopyPath()), old);
            // The shared settings object sees the reset at once.
            QCOMPARE(st::read("Speed Dial", "Name0101"), QString());
        }
    }

    void unusableSettingsFileIsReported()
    {
        TestEnv env;
        QDir().mkpath(env.settingsFile());
        const st::FileCheck check = st::checkFile();
        QCOMPARE(check.result, st::CheckResult::Failed);
        QVERIFY(check.error.contains("folder"));

        // A file of another program whose copy cannot be kept is left whole.
        TestEnv other;
        const QByteArray foreign = "[Speed Dial]\r\nName0101=Mum\r\n";
        TestEnv::writeFile(other.settingsFile(), foreign);
        QDir().mkpath(st::discardedCopyPath());
        const st::FileCheck kept = st::checkFile();
        QCOMPARE(kept.result, st::CheckResult::Failed);
        QVERIFY(!kept.error.isEmpty());
        QCOMPARE(TestEnv::readFile(other.settingsFile()), foreign);
    }

    void countEncoding()
    {
        QCOMPARE(st::countValue(u" 20"), 20);
        QCOMPARE(st::countValue(u"20"), 20);
        QCOMPARE(st::countValue(u"abc"), 0);
        QCOMPARE(st::countValue(u""), 0);
        QCOMPARE(st::countValue(u"3abc"), 3);
        QCOMPARE(st::countValue(u" 1 2"), 12); // blanks inside a number are skipped
        QCOMPARE(st::countValue(u"-4"), -4);
        QCOMPARE(st::countValue(u"2.5"), 2); // nearest integer, halves to even
        QCOMPARE(st::countValue(u"3.5"), 4);
        QCOMPARE(st::countValue(u"2.6"), 3);
        QCOMPARE(st::countValue(u"1e3"), 1000);
        QCOMPARE(st::countValue(u"1e"), 1);
        QCOMPARE(st::countValue(u"99999999999999999999"), std::numeric_limits<int>::max());
        QCOMPARE(st::countValue(u"-1e400"), std::numeric_limits<int>::min());
    }

    void oneAndCheckEncodings()
    {
        QCOMPARE(st::oneValue(u"1"), std::optional<bool>(true));
        QCOMPARE(st::oneValue(u" 1"), std::optional<bool>(true));
        QCOMPARE(st::oneValue(u"1.0"), std::optional<bool>(true));
        QCOMPARE(st::oneValue(u"0"), std::optional<bool>(false));
        QCOMPARE(st::oneValue(u"2"), std::optional<bool>(false));
        QCOMPARE(st::oneValue(u""), std::optional<bool>());
        QCOMPARE(st::oneValue(u"abc"), std::optional<bool>());
        QCOMPARE(st::oneValue(u"1x"), std::optional<bool>());

        QCOMPARE(st::checkValue(u"0"), std::optional<int>(0));
        QCOMPARE(st::checkValue(u"1"), std::optional<int>(1));
        QCOMPARE(st::checkValue(u"2"), std::optional<int>(2));
        QCOMPARE(st::checkValue(u" 1 "), std::optional<int>(1));
        QCOMPARE(st::checkValue(u"7"), std::optional<int>());
        QCOMPARE(st::checkValue(u"-1"), std::optional<int>());
        QCOMPARE(st::checkValue(u"yes"), std::optional<int>());
        QCOMPARE(st::checkValue(u""), std::optional<int>());
    }

    void profileNameFromTheSettingsFile()
    {
        QCOMPARE(st::profileNameFromFileName("Home.tlx"), QString("Home"));
        QCOMPARE(st::profileNameFromFileName(""), QString("Untitled"));
        QCOMPARE(st::profileNameFromFileName("abc"), QString("abc")); // too short for an extension
        QCOMPARE(st::profileNameFromFileName("abcd"), QString("abcd"));
        QCOMPARE(st::profileNameFromFileName("My Calls 2.tlx"), QString("My Calls 2"));
        // Never a way out of the data folder.
        QCOMPARE(st::profileNameFromFileName("../../etc/passwd.tlx"), QString("passwd"));
        QCOMPARE(st::profileNameFromFileName("C:\\Profiles\\Work.tlx"), QString("Work"));
        QCOMPARE(st::profileNameFromFileName("/abs/path/x.tlx"), QString("x"));
        QCOMPARE(st::profileNameFromFileName("...tlx"), QString("Untitled"));
        QCOMPARE(st::profileNameFromFileName("../.tlx"), QString("Untitled"));
        QCOMPARE(st::profileNameFromFileName("dir/.tlx"), QString("Untitled"));
        QCOMPARE(st::profileNameFromFileName(QString("a\tb\x01.tlx")), QString("ab"));
        QCOMPARE(st::profileNameFromFileName("a..b.tlx"), QString("a..b"));
    }

    void recentNumbersAreReadUpToCount()
    {
        TestEnv env;
        IniFile& ini = st::file();
        auto put = [&](const QByteArray& body) {
            TestEnv::writeFile(env.settingsFile(),
                               header() + "\r\n\r\n[Last Dialed Numbers]\r\n" + body);
        };
        put("Count= 3\r\nLast Dialed No 0=555\r\nLast Dialed No 2=777\r\nLast Dialed No 3=888\r\n");
        QCOMPARE(st::readRecentNumbers(ini), QStringList({"555", "", "777"}));

        put("Count=abc\r\nLast Dialed No 0=555\r\n");
        QCOMPARE(st::readRecentNumbers(ini), QStringList());
        put("Count=-2\r\nLast Dialed No 0=555\r\n");
        QCOMPARE(st::readRecentNumbers(ini), QStringList());
        put("Last Dialed No 0=555\r\n");
        QCOMPARE(st::readRecentNumbers(ini), QStringList());

        QByteArray many = "Count= 20\r\n";
        for (int i = 0; i < 30; ++i)
            many += "Last Dialed No " + QByteArray::number(i) + "=" + QByteArray::number(1000 + i) +
                    "\r\n";
        put(many);
        QStringList got = st::readRecentNumbers(ini);
        QCOMPARE(got.size(), 20);
        QCOMPARE(got.first(), QString("1000"));
        QCOMPARE(got.last(), QString("1019"));
        // A count the program never writes is held to the list's length.
        put(many.replace("Count= 20", "Count=1000000000"));
        QCOMPARE(st::readRecentNumbers(ini).size(), 20);
    }

    void recentNumbersAreWrittenAtMostTwenty()
    {
        TestEnv env;
        TestEnv::writeFile(env.settingsFile(), header() +
                                                   "\r\n\r\n[Last Dialed Numbers]\r\nCount= 22\r\n"
                                                   "Last Dialed No 21=old\r\n");
        IniFile& ini = st::file();
        QStringList numbers;
        for (int i = 0; i < 25; ++i)
            numbers << QString::number(5550000 + i);
        QVERIFY(st::writeRecentNumbers(ini, numbers));
        const QByteArray bytes = TestEnv::readFile(env.settingsFile());
        QVERIFY(bytes.contains("\r\nCount= 20\r\n"));
        QVERIFY(bytes.contains("\r\nLast Dialed No 0=5550000\r\n"));
        QVERIFY(bytes.contains("\r\nLast Dialed No 19=5550019\r\n"));
        QVERIFY(!bytes.contains("Last Dialed No 20="));
        QVERIFY(bytes.contains("Last Dialed No 21=old")); // older keys stay, never read
        QCOMPARE(st::readRecentNumbers(ini), numbers.mid(0, 20));

        QVERIFY(st::writeRecentNumbers(ini, {}));
        QVERIFY(TestEnv::readFile(env.settingsFile()).contains("\r\nCount= 0\r\n"));
        QCOMPARE(st::readRecentNumbers(ini), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "test_settingsfile.moc"
