// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/TestEnv.h"
#include "core/directory/DirectoryRules.h"
#include "core/directory/DirectoryStore.h"
#include "directory/DirectoryTestStore.h"
#include "settings/IniFile.h"
#include "settings/Paths.h"

#include <QFile>
#include <QtTest>

using namespace telvaro;
using namespace telvaro::directory;
using telvaro::test::directoryStore;
using telvaro::test::TestEnv;

namespace {

const QChar kThorn(0xDE);

// A settings file as the Windows-era program leaves it: Windows-1252 bytes,
// CR LF, mixed-case keys, note logs ending in byte DE, a header line and an
// empty line before the first section.
const QByteArray kWindowsFile = "[Telvaro Settings File]\r\n"
                                "\r\n"
                                "[Preferences]\r\n"
                                "Mode=1\r\n"
                                "[Speed Dial]\r\n"
                                "Name0101=M\xFCller, J\xFCrgen\r\n"
                                "Number0101=XX0049 89 123456\r\n"
                                "name0102=Caf\xE9 \x80 Bar\r\n"
                                "NUMBER0102=555-0102\r\n"
                                "Nname0501=Stra\xDF"
                                "e Team\r\n"
                                "Nnumber0501=\"notepad.exe c:\\todo.txt\r\n"
                                "Name26996=Last slot\r\n"
                                "Number26996=(212) 555-0199\r\n"
                                "[TabName]\r\n"
                                "01=Fam\xEDlia\r\n"
                                "05=Work & Co\r\n"
                                "[MemoLog]\r\n"
                                "Log0101=Called 03-04-1999@@Wants a quote \x93soon\x94\xDE\r\n"
                                "llog0501=line one@@line two@@\xDE\r\n"
                                "Log0102=no terminator here\r\n";

} // namespace

class TestDirectoryStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void entryKeysAndKeyNames()
    {
        QCOMPARE(entryKey(1, 1), QString("0101"));
        QCOMPARE(entryKey(3, 12), QString("0312"));
        QCOMPARE(entryKey(1, 99), QString("0199"));
        QCOMPARE(entryKey(1, 100), QString("01100"));
        QCOMPARE(entryKey(12, 100), QString("12100"));
        QCOMPARE(entryKey(26, 996), QString("26996"));
        QCOMPARE(entryKey(2, 1, 3), QString("0215")); // page 2 (1), button 3
        QCOMPARE(slotOfKey("01100"), 100);
        QCOMPARE(slotOfKey("0312"), 12);
        QCOMPARE(slotOfKey("0"), 0);
        QCOMPARE(tabOfKey("12100"), 12);
        QCOMPARE(nameKey(false, "0207"), QString("Name0207"));
        QCOMPARE(numberKey(true, "0207"), QString("NNumber0207"));
        QCOMPARE(logKey(true, "0207"), QString("LLog0207"));
        QCOMPARE(logKey(false, "0207"), QString("Log0207"));
    }

    void numberMarkers()
    {
        QVERIFY(ignoresDialingProperties("XX5551234"));
        QCOMPARE(withoutIgnoreMarker("XX5551234"), QString("5551234"));
        QCOMPARE(withoutIgnoreMarker("5551234"), QString("5551234"));
        QVERIFY(isCommand("\"xterm"));
        QVERIFY(!isCommand("XX\"xterm")); // "XX" in front is never a command
    }

    void noteLogEncoding()
    {
        QCOMPARE(encodeNoteLog("Call back\r\nTuesday"), QString("Call back@@Tuesday") + kThorn);
        QCOMPARE(decodeNoteLog(QString("Call back@@Tuesday") + kThorn),
                 QString("Call back\r\nTuesday"));
        // What the user typed as "@@" comes back as a line break; one "@" stays.
        QCOMPARE(decodeNoteLog(encodeNoteLog("mail a@b.com, see @@ here")),
                 QString("mail a@b.com, see \r\n here"));
        // No terminator: an empty log. Anything after the terminator is dropped.
        QCOMPARE(decodeNoteLog("no terminator"), QString());
        QCOMPARE(decodeNoteLog(QString("kept") + kThorn + "dropped"), QString("kept"));
        QCOMPARE(decodeNoteLog(QString(kThorn)), QString());
        // Line breaks of Qt's text boxes (LF) are stored the same as CR LF.
        QCOMPARE(encodeNoteLog("a\nb\rc"), QString("a@@b@@c") + kThorn);
        // A thorn inside the text would cut the log on reading: the rest survives.
        const QString icelandic = QString("Met ") + kThorn + "ora, then called";
        QCOMPARE(decodeNoteLog(encodeNoteLog(icelandic)),
                 QString("Met ") + QChar(0xFE) + "ora, then called");
    }

    void storeReadsWritesAndRemoves()
    {
        TestEnv env;
        DirectoryStore& store = directoryStore();
        QCOMPARE(store.readEntry(false, "0101").name, QString()); // no file: empty
        QVERIFY(store.writeEntryName(false, "0101", "  Anna  "));
        QVERIFY(store.writeEntryNumber(false, "0101", "XX555 0101"));
        QVERIFY(store.writeEntryName(true, "0101", "Subject Anna"));
        QVERIFY(store.writeNoteLog(false, "0101", encodeNoteLog("note")));
        QVERIFY(store.writeTabTitle(3, "Friends"));

        // The two directories never see each other's keys.
        QCOMPARE(store.readName(true, "0101"), QString("Subject Anna"));
        QCOMPARE(store.readNumber(true, "0101"), QString());
        QCOMPARE(store.readNumber(false, "0101"), QString("XX555 0101"));
        QCOMPARE(store.readTabTitle(3), QString("Friends"));

        // Deleting an entry keeps its note log for whatever is saved there next.
        QVERIFY(store.deleteEntry(false, "0101"));
        QVERIFY(store.readEntry(false, "0101").isEmpty());
        QCOMPARE(decodeNoteLog(store.readNoteLog(false, "0101")), QString("note"));
        QVERIFY(store.deleteTabTitle(3));
        QCOMPARE(store.readTabTitle(3), QString());

        const QByteArray file = TestEnv::readFile(env.settingsFile());
        QVERIFY(!file.contains("\nName0101"));
        QVERIFY(!file.contains("\nNumber0101"));
        QVERIFY(file.contains("NName0101=Subject Anna\r\n"));
        QVERIFY(file.contains("[MemoLog]\r\nLog0101=note\xDE\r\n"));
    }

    void limitsOfValuesAndLogs()
    {
        TestEnv env;
        DirectoryStore& store = directoryStore();
        QVERIFY(store.writeEntryName(false, "0101", QString(1200, 'n')));
        QCOMPARE(store.readName(false, "0101").size(), 999);
        // The longest log the memo pad stores reads back whole.
        const QString log(5997, 'x');
        const QString encoded = encodeNoteLog(log);
        QCOMPARE(encoded.size(), 5998);
        QVERIFY(store.writeNoteLog(false, "0102", encoded));
        QCOMPARE(decodeNoteLog(store.readNoteLog(false, "0102")), log);
        // A longer stored value is cut at 5999 characters: no terminator, empty.
        QVERIFY(store.writeNoteLog(false, "0103", QString(6500, 'y') + kThorn));
        QCOMPARE(store.readNoteLog(false, "0103").size(), 5999);
        QCOMPARE(decodeNoteLog(store.readNoteLog(false, "0103")), QString());
    }

    void valuesThatWouldNotComeBackAreKeptWhole()
    {
        TestEnv env;
        DirectoryStore& store = directoryStore();
        // A command line ending in a quoted argument keeps its command marker.
        const QString command = "\"gedit \"my notes.txt\"";
        QVERIFY(store.writeEntryNumber(false, "0101", command));
        QCOMPARE(store.readNumber(false, "0101"), command);
        QVERIFY(store.writeTabTitle(1, "'quoted'"));
        QCOMPARE(store.readTabTitle(1), QString("'quoted'"));
        // Quotes with blanks around them survive the next start too.
        QVERIFY(store.writeEntryName(false, "0104", " \"Bob\""));
        QVERIFY(store.writeTabTitle(2, "\"Work\" "));
        IniFile again(env.settingsFile());
        QCOMPARE(again.read(u"Speed Dial", u"Name0104"), QString("\"Bob\""));
        QCOMPARE(again.read(u"TabName", u"02"), QString("\"Work\""));
        // A line break in a name cannot plant another key in the file.
        QVERIFY(store.writeEntryName(false, "0102", "Eve\r\nNumber0103=900123\nx"));
        QCOMPARE(store.readName(false, "0102"), QString("Eve Number0103=900123 x"));
        QCOMPARE(store.readNumber(false, "0103"), QString());
    }

    void windowsEraFileLoadsAndRoundTrips()
    {
        TestEnv env;
        TestEnv::writeFile(env.settingsFile(), kWindowsFile);
        DirectoryStore& store = directoryStore();

        QCOMPARE(store.readName(false, "0101"), QString::fromUtf8("Müller, Jürgen"));
        QCOMPARE(store.readNumber(false, "0101"), QString("XX0049 89 123456"));
        QCOMPARE(store.readName(false, "0102"), QString::fromUtf8("Café € Bar"));
        QCOMPARE(store.readNumber(false, "0102"), QString("555-0102"));
        // "Nname" in the file is the subject key "NName".
        QCOMPARE(store.readName(true, "0501"), QString::fromUtf8("Straße Team"));
        QCOMPARE(store.readNumber(true, "0501"), QString("\"notepad.exe c:\\todo.txt"));
        QCOMPARE(store.readName(false, "26996"), QString("Last slot"));
        QCOMPARE(store.readTabTitle(1), QString::fromUtf8("Família"));
        QCOMPARE(store.readTabTitle(5), QString("Work & Co"));
        QCOMPARE(decodeNoteLog(store.readNoteLog(false, "0101")),
                 QString::fromUtf8("Called 03-04-1999\r\nWants a quote “soon”"));
        QCOMPARE(decodeNoteLog(store.readNoteLog(true, "0501")),
                 QString("line one\r\nline two\r\n"));
        QCOMPARE(decodeNoteLog(store.readNoteLog(false, "0102")), QString());

        // Writing keys in place changes only their own lines.
        QVERIFY(store.writeEntryName(true, "0501", QString::fromUtf8("Straße Team 2")));
        QVERIFY(store.writeNoteLog(false, "0101",
                                   encodeNoteLog(decodeNoteLog(store.readNoteLog(false, "0101")))));
        QByteArray expected = kWindowsFile;
        expected.replace("Nname0501=Stra\xDF"
                         "e Team\r\n",
                         "Nname0501=Stra\xDF"
                         "e Team 2\r\n");
        QCOMPARE(TestEnv::readFile(env.settingsFile()), expected);

        // A new key lands after the last key of its section; all else stays.
        QVERIFY(store.writeEntryName(false, "0103", "New"));
        expected.replace("Number26996=(212) 555-0199\r\n",
                         "Number26996=(212) 555-0199\r\nName0103=New\r\n");
        QCOMPARE(TestEnv::readFile(env.settingsFile()), expected);
    }

    void followsTheSettingsFolderAndReportsFailedWrites()
    {
        QString firstFile;
        {
            TestEnv env;
            QVERIFY(directoryStore().writeEntryName(false, "0101", "First"));
            firstFile = env.settingsFile();
        }
        TestEnv env;
        QVERIFY(env.settingsFile() != firstFile);
        QCOMPARE(directoryStore().readName(false, "0101"), QString());
        QVERIFY(directoryStore().writeEntryName(false, "0101", "Second"));
        QFile::setPermissions(env.settingsFile(), QFile::ReadOwner | QFile::ReadGroup);
        QVERIFY(!directoryStore().writeEntryName(false, "0101", "Third"));
        QVERIFY(!directoryStore().lastError().isEmpty());
        QCOMPARE(directoryStore().readName(false, "0101"), QString("Second"));
    }

    void pageTextsAndKeypadLetters()
    {
        QStringList page1;
        for (int b = 1; b <= 12; ++b)
            page1 << slotLabelCaption(0, b);
        QCOMPARE(page1, QStringList({" &1.", " &2.", " &3.", " &4.", " &5.", " &6.", " &7.", " &8.",
                                     " &9.", "1&0.", "11&.", "12&:"}));
        QCOMPARE(slotLabelCaption(1, 1), QString("1&3."));
        QCOMPARE(slotLabelCaption(1, 11), QString("23&."));
        QCOMPARE(slotLabelCaption(8, 1), QString("  9&7."));
        QCOMPARE(slotLabelCaption(8, 3), QString("  9&9."));
        QCOMPARE(slotLabelCaption(8, 4), QString("10&0."));
        QCOMPARE(slotLabelCaption(8, 12), QString("108&:"));
        QCOMPARE(slotLabelCaption(82, 11), QString("995&."));
        QCOMPARE(slotLabelCaption(82, 12), QString("996&:"));
        QCOMPARE(pageNumberText(8), QString(" 9"));
        QCOMPARE(pageNumberText(9), QString("10"));
        QCOMPARE(pageNumberText(82), QString("83"));

        QString typed;
        for (QChar c : QString("FLOWERS+/!\"$%&':;<=>?@[\\]^_`{|}~ 0#()*,-.qz"))
            if (auto k = filterNumberKey(c))
                typed += *k;
        QCOMPARE(typed, QString("3569377 0#()*,-.79"));
        QVERIFY(!filterNumberKey(QChar(0x1B)));
        QCOMPARE(*filterNumberKey(QChar('\b')), QChar('\b'));
    }

    void memoStampAndCapacity()
    {
        const QDateTime when(QDate(2026, 2, 3), QTime(7, 5, 9));
        QCOMPARE(memoDateStamp(when), QString("02-03-2026          07:05:09\r\n"));
        QCOMPARE(memoDateStamp(when).size(), 30);
        QCOMPARE(memoCapacity(5899).verdict, MemoCapacity::Store);
        const MemoCapacity warn = memoCapacity(5900);
        QCOMPARE(warn.verdict, MemoCapacity::StoreWithWarning);
        QCOMPARE(warn.title, QString("Memo Pad full"));
        QCOMPARE(warn.text, QString("Memo Pad is almost fully utilized.\nYou can safely store "
                                    "additional 98 characters"));
        QVERIFY(memoCapacity(5997).text.endsWith("additional 1 characters"));
        const MemoCapacity refuse = memoCapacity(5998);
        QCOMPARE(refuse.verdict, MemoCapacity::Refuse);
        QCOMPARE(refuse.title, QString("Text exceeds capacity"));
        QCOMPARE(refuse.text,
                 QString("Memo cannot save this entry.\nThere are too many 1 characters"));
        QVERIFY(memoCapacity(6000).text.endsWith("too many 3 characters"));
    }
};

QTEST_GUILESS_MAIN(TestDirectoryStore)
#include "test_directory_store.moc"
