// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/telephony/lineapi/AtResponse.h"

#include <QTest>

using namespace telvaro;

Q_DECLARE_METATYPE(telvaro::AtResult)

class TestAtResponse : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void results_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<AtResult>("result");
        QTest::newRow("ok") << "OK" << AtResult::Ok;
        QTest::newRow("ok numeric") << "0" << AtResult::Ok;
        QTest::newRow("connect speed") << "CONNECT 33600/ARQ" << AtResult::Connect;
        QTest::newRow("busy") << "BUSY" << AtResult::Busy;
        QTest::newRow("busy numeric") << "7" << AtResult::Busy;
        QTest::newRow("no dialtone") << "NO DIALTONE" << AtResult::NoDialtone;
        QTest::newRow("no dial tone spaced") << "no dial tone" << AtResult::NoDialtone;
        QTest::newRow("no carrier") << " NO CARRIER " << AtResult::NoCarrier;
        QTest::newRow("no answer") << "NO ANSWER" << AtResult::NoAnswer;
        QTest::newRow("error") << "ERROR" << AtResult::Error;
        QTest::newRow("gsm error") << "+CME ERROR: 30" << AtResult::Error;
        QTest::newRow("delayed") << "DELAYED" << AtResult::Delayed;
        QTest::newRow("blacklisted numeric") << "32" << AtResult::Blacklisted;
        QTest::newRow("info line") << "56000" << AtResult::None;
        QTest::newRow("ring is no result") << "RING" << AtResult::None;
        QTest::newRow("okay is no result") << "OKAY" << AtResult::None;
    }
    void results()
    {
        QFETCH(QString, line);
        QFETCH(AtResult, result);
        QCOMPARE(parseResult(line), result);
    }

    void callerIdLines()
    {
        auto n = parseCallerIdLine(u"NMBR = 5551234");
        QVERIFY(n);
        QCOMPARE(n->field, CallerIdLine::Number);
        QCOMPARE(n->value, QStringLiteral("5551234"));

        n = parseCallerIdLine(u"NAME=JOHN  DOE");
        QVERIFY(n);
        QCOMPARE(n->field, CallerIdLine::Name);
        QCOMPARE(n->value, QStringLiteral("JOHN  DOE"));

        n = parseCallerIdLine(u"NMBR = P");
        QVERIFY(n && n->withheld && n->value.isEmpty());
        n = parseCallerIdLine(u"NMBR=O");
        QVERIFY(n && n->unavailable && n->value.isEmpty());
        n = parseCallerIdLine(u"DATE = 0321");
        QVERIFY(n && n->field == CallerIdLine::Date);

        n = parseCallerIdLine(u"+CLIP: \"+4930123456\",145,\"\",,\"Anna, Berlin\",0");
        QVERIFY(n);
        QCOMPARE(n->value, QStringLiteral("+4930123456"));
        QCOMPARE(n->name.value_or(QString()), QStringLiteral("Anna, Berlin"));
        n = parseCallerIdLine(u"+CLIP: \"\",128,,,,1");
        QVERIFY(n && n->withheld);
        // Names in Windows-1252 bytes are kept; control characters are noise.
        n = parseCallerIdLine(QString::fromLatin1("NAME = M\xdcLLER \x8a"));
        QVERIFY(n);
        QCOMPARE(n->value, QStringLiteral("MÜLLER Š"));
        QVERIFY(!parseCallerIdLine(QString::fromLatin1("NAME=\x01\xff")));
        // A whole message in hexadecimal: date and time, number, name.
        n = parseCallerIdLine(u"MESG = 80 16 01 08 30 33 32 31 31 34 30 35 02 03 35 35 35 "
                              u"07 05 43 4C 41 49 52 5A");
        QVERIFY(n);
        QCOMPARE(n->field, CallerIdLine::Number);
        QCOMPARE(n->value, QStringLiteral("555"));
        QCOMPARE(n->name.value_or(QString()), QStringLiteral("CLAIR"));
        n = parseCallerIdLine(u"MESG=0409303332313134303550");
        QVERIFY(n && n->withheld && n->value.isEmpty());
        n = parseCallerIdLine(u"MESG = FAULTY");
        QVERIFY(n && n->field == CallerIdLine::Message);

        // The answer to the query is no report, nor are ordinary lines.
        QVERIFY(!parseCallerIdLine(u"+CLIP: 1,1"));
        QVERIFY(!parseCallerIdLine(u"OK"));
        QVERIFY(!parseCallerIdLine(u"S7=50"));
    }

    void garbage()
    {
        QVERIFY(isGarbage(QString::fromLatin1("\x01\xff\x80")));
        QVERIFY(!isGarbage(u"U.S. Robotics 56K FAX EXT\tV1.2"));
    }
};

QTEST_GUILESS_MAIN(TestAtResponse)
#include "test_atresponse.moc"
