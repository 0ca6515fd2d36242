// SPDX-License-Identifier: GPL-3.0-or-later
// Number translation: the canonical form turned into dial and display strings
// with the location's rules, access codes, call-waiting code and calling card.
#include "core/telephony/locations/Countries.h"
#include "core/telephony/locations/LineTranslate.h"
#include "core/telephony/locations/LocationStore.h"

#include <QTest>

using namespace telvaro;

namespace {

DialingLocation newYork()
{
    DialingLocation l;
    l.id = 1;
    l.name = QStringLiteral("New York office");
    l.countryId = 1;
    l.areaCode = QStringLiteral("212");
    return l;
}

DialingLocation berlin()
{
    DialingLocation l;
    l.id = 2;
    l.name = QStringLiteral("Berlin");
    l.countryId = 49;
    l.areaCode = QStringLiteral("30");
    return l;
}

CallingCard travelCard()
{
    CallingCard c;
    c.id = 1;
    c.name = QStringLiteral("Travel card");
    c.accountNumber = QStringLiteral("123456789");
    c.pin = QStringLiteral("4321");
    c.longDistanceAccessNumber = QStringLiteral("18002255288");
    c.internationalAccessNumber = QStringLiteral("18002255288");
    c.sameAreaRule = QStringLiteral("G");
    c.longDistanceRule = QStringLiteral("J,K,H,1FG");
    c.internationalRule = QStringLiteral("J$K,H,011EFG");
    return c;
}

struct Setup
{
    DialingLocation location;
    bool withCard = false;
};

} // namespace

Q_DECLARE_METATYPE(telvaro::DialingLocation)

class TestTranslation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void translates_data();
    void translates();
    void cardPinIsDialedButNeverShown();
    void malformedNumbersAreRefused_data();
    void malformedNumbersAreRefused();
    void rulesCannotSmuggleCommandsIntoTheDialString();
    void forcedKindsAndConflicts();
    void countryTableIsComplete();
};

void TestTranslation::translates_data()
{
    QTest::addColumn<DialingLocation>("location");
    QTest::addColumn<QString>("address");
    QTest::addColumn<uint>("options");
    QTest::addColumn<QString>("dialable");
    QTest::addColumn<QString>("displayable");
    QTest::addColumn<uint>("kind");

    const uint local = LINETRANSLATERESULT_CANONICAL | LINETRANSLATERESULT_LOCAL;
    const uint ld = LINETRANSLATERESULT_CANONICAL | LINETRANSLATERESULT_LONGDISTANCE;
    const uint intl = LINETRANSLATERESULT_CANONICAL | LINETRANSLATERESULT_INTERNATIONAL;

    // Local numbers in the location's own area.
    QTest::newRow("local in own area") << newYork() << "+1 (212) 5551234" << 0u << "T5551234"
                                       << "5551234" << local;
    QTest::newRow("local, no area code") << newYork() << "+1 5551234" << 0u << "T5551234"
                                         << "5551234" << local;
    QTest::newRow("local, empty brackets") << newYork() << "+1 () 555-1234" << 0u << "T5551234"
                                           << "555-1234" << local;
    DialingLocation pbx = newYork();
    pbx.localAccess = QStringLiteral("9,");
    pbx.longDistanceAccess = QStringLiteral("8,");
    QTest::newRow("local with outside line") << pbx << "+1 (212) 5551234" << 0u << "T9,5551234"
                                             << "9 5551234" << local;

    // Long distance.
    QTest::newRow("long distance, NANP") << newYork() << "+1 (415) 5551234" << 0u << "T14155551234"
                                         << "1 415 5551234" << ld;
    QTest::newRow("long distance with access code")
        << pbx << "+1 (415) 555 1234" << 0u << "T8,14155551234"
        << "8 1 415 555 1234" << ld;
    QTest::newRow("long distance, trunk 0") << berlin() << "+49 (89) 1234567" << 0u << "T0891234567"
                                            << "0 89 1234567" << ld;
    DialingLocation madrid;
    madrid.countryId = 34;
    madrid.areaCode = QStringLiteral("91");
    QTest::newRow("long distance, area code in the number")
        << madrid << "+34 (93) 1234567" << 0u << "T931234567"
        << "93 1234567" << ld;

    // International. The empty area code stays as an empty part of the
    // displayable string so the shape "code area number" holds.
    QTest::newRow("international from NANP, 011")
        << newYork() << "+44 (20) 71234567" << 0u << "T011442071234567"
        << "011 44 20 71234567" << intl;
    QTest::newRow("international from 00 location")
        << berlin() << "+1 (212) 5551234" << 0u << "T0012125551234"
        << "00 1 212 5551234" << intl;
    QTest::newRow("international without area code")
        << berlin() << "+33 144556677" << 0u << "T0033144556677"
        << "00 33  144556677" << intl;
    QTest::newRow("international with access code")
        << pbx << "+49 (30) 1234" << 0u << "T8,01149301234"
        << "8 011 49 30 1234" << intl;
    DialingLocation sydney;
    sydney.countryId = 61;
    sydney.areaCode = QStringLiteral("2");
    QTest::newRow("international, 0011") << sydney << "+64 (9) 3001234" << 0u << "T00116493001234"
                                         << "0011 64 9 3001234" << intl;
    DialingLocation moscow;
    moscow.countryId = 7;
    moscow.areaCode = QStringLiteral("495");
    QTest::newRow("international, wait for dial tone")
        << moscow << "+49 (30) 1234" << 0u << "T8W1049301234"
        << "810 49 30 1234" << (intl | LINETRANSLATERESULT_DIALDIALTONE);
    DialingLocation toronto = newYork();
    toronto.countryId = 101; // Canada shares code 1 with the United States
    toronto.areaCode = QStringLiteral("416");
    QTest::newRow("NANP neighbours are long distance")
        << toronto << "+1 (212) 5551234" << 0u << "T12125551234"
        << "1 212 5551234" << ld;

    // Call waiting: the code leads only when the location disables it and
    // the caller asks for it.
    DialingLocation waiting = newYork();
    waiting.disableCallWaiting = true;
    waiting.callWaitingCode = QStringLiteral("*70,");
    const uint cancel = LINETRANSLATEOPTION_CANCELCALLWAITING;
    QTest::newRow("call waiting disabled")
        << waiting << "+1 (212) 5551234" << cancel << "T*70,5551234"
        << "*70 5551234" << local;
    QTest::newRow("call waiting, option not given")
        << waiting << "+1 (212) 5551234" << 0u << "T5551234"
        << "5551234" << local;
    DialingLocation notWaiting = waiting;
    notWaiting.disableCallWaiting = false;
    QTest::newRow("call waiting, location keeps it")
        << notWaiting << "+1 (212) 5551234" << cancel << "T5551234"
        << "5551234" << local;
    DialingLocation both = waiting;
    both.localAccess = QStringLiteral("9");
    QTest::newRow("call waiting before outside line")
        << both << "+1 (212) 5551234" << cancel << "T*70,95551234"
        << "*70 9 5551234" << local;

    // Pulse locations.
    DialingLocation pulse = newYork();
    pulse.pulse = true;
    QTest::newRow("pulse, local") << pulse << "+1 (212) 5551234" << 0u << "P5551234"
                                  << "5551234" << local;
    QTest::newRow("pulse, international") << pulse << "+44 (20) 7123" << 0u << "P01144207123"
                                          << "011 44 20 7123" << intl;

    // Numbers that are not canonical are dialed exactly as given.
    QTest::newRow("not canonical") << pbx << "555-1234" << cancel << "555-1234"
                                   << "555-1234" << 0u;
    QTest::newRow("not canonical, modem letters") << pulse << "T9,W5551234" << 0u << "T9,W5551234"
                                                  << "T9,W5551234" << 0u;

    // The subaddress and name parts are not dialed.
    QTest::newRow("subaddress and name")
        << newYork() << "+1 (212) 555-1234|22^Ann" << 0u << "T5551234"
        << "555-1234" << local;
    // A canonical number written without blanks after the country code.
    QTest::newRow("no blank after country code")
        << berlin() << "+442071234567" << 0u << "T00442071234567"
        << "00 44  2071234567" << intl;
}

void TestTranslation::translates()
{
    QFETCH(DialingLocation, location);
    QFETCH(QString, address);
    QFETCH(uint, options);
    QFETCH(QString, dialable);
    QFETCH(QString, displayable);
    QFETCH(uint, kind);

    const Country* country = findCountry(location.countryId);
    QVERIFY(country);
    LineTranslateOutput out;
    QCOMPARE(translateAddress(location, *country, nullptr, address, options, out), 0);
    QCOMPARE(out.dialableString, dialable);
    QCOMPARE(out.displayableString, displayable);
    QCOMPARE(out.translateResults, kind);
    QCOMPARE(out.currentCountry, country->code);
}

void TestTranslation::cardPinIsDialedButNeverShown()
{
    struct Case
    {
        const char* address;
        const char* dialable;
        const char* displayable;
    };
    const Case cases[] = {
        // Long distance: access number, account, PIN, then the number.
        {"+1 (415) 5551234", "T18002255288,123456789,4321,14155551234",
         "18002255288 123456789 [PIN] 1 415 5551234"},
        // International, waiting for the billing tone before the account.
        {"+44 (20) 71234567", "T18002255288$123456789,4321,011442071234567",
         "18002255288 123456789 [PIN] 011 44 20 71234567"},
        // The card's same-area rule has no PIN.
        {"+1 (212) 5551234", "T5551234", "5551234"},
    };
    const CallingCard card = travelCard();
    const Country* us = findCountry(1);
    for (const Case& c : cases) {
        LineTranslateOutput out;
        QCOMPARE(translateAddress(newYork(), *us, &card, QString::fromLatin1(c.address), 0, out),
                 0);
        QCOMPARE(out.dialableString, QString::fromLatin1(c.dialable));
        QCOMPARE(out.displayableString, QString::fromLatin1(c.displayable));
        QVERIFY2(!out.displayableString.contains(card.pin), c.address);
    }

    // A card whose rule for a kind of call is empty dials that kind directly.
    CallingCard partial = card;
    partial.longDistanceRule.clear();
    LineTranslateOutput out;
    QCOMPARE(translateAddress(newYork(), *us, &partial, u"+1 (415) 5551234"_qs, 0, out), 0);
    QCOMPARE(out.dialableString, u"T14155551234"_qs);

    // The billing-tone wait is reported.
    QCOMPARE(translateAddress(newYork(), *us, &card, u"+44 (20) 7123"_qs, 0, out), 0);
    QVERIFY(out.translateResults & LINETRANSLATERESULT_DIALBILLING);
}

void TestTranslation::malformedNumbersAreRefused_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("empty") << QString();
    QTest::newRow("blanks") << "   ";
    QTest::newRow("plus alone") << "+";
    QTest::newRow("no number") << "+1 (212) ";
    QTest::newRow("open bracket") << "+1 (212 5551234";
    QTest::newRow("letters in area") << "+1 (2a2) 5551234";
    QTest::newRow("semicolon") << "+1 (212) 555;ATZ";
    QTest::newRow("line end") << "+1 (212) 555\rATH";
    QTest::newRow("line end, not canonical") << "5551234\r\nATZ";
    QTest::newRow("unknown country, no blank") << "+8881234567";
}

void TestTranslation::malformedNumbersAreRefused()
{
    QFETCH(QString, address);
    LineTranslateOutput out;
    out.dialableString = QStringLiteral("stale");
    QCOMPARE(translateAddress(newYork(), *findCountry(1), nullptr, address, 0, out),
             LINEERR_INVALADDRESS);
    QVERIFY(out.dialableString.isEmpty());
    QVERIFY(out.displayableString.isEmpty());
}

void TestTranslation::rulesCannotSmuggleCommandsIntoTheDialString()
{
    CallingCard card = travelCard();
    card.longDistanceRule = QStringLiteral("J;\rATZ\r1FG");
    card.pin = QStringLiteral("43;21");
    DialingLocation here = newYork();
    here.longDistanceAccess = QStringLiteral("9\r\nAT&F");
    LineTranslateOutput out;
    QCOMPARE(translateAddress(here, *findCountry(1), &card, u"+1 (415) 5551234"_qs, 0, out), 0);
    QVERIFY(!out.dialableString.contains(u';'));
    QVERIFY(!out.dialableString.contains(u'\r'));
    QVERIFY(!out.dialableString.contains(u'\n'));
    QVERIFY(!out.dialableString.contains(u'&'));
}

void TestTranslation::forcedKindsAndConflicts()
{
    const Country* us = findCountry(1);
    LineTranslateOutput out;
    QCOMPARE(translateAddress(newYork(), *us, nullptr, u"+1 (212) 5551234"_qs,
                              LINETRANSLATEOPTION_FORCELD, out),
             0);
    QCOMPARE(out.dialableString, u"T12125551234"_qs);
    QCOMPARE(translateAddress(newYork(), *us, nullptr, u"+1 (415) 5551234"_qs,
                              LINETRANSLATEOPTION_FORCELOCAL, out),
             0);
    QCOMPARE(out.dialableString, u"T5551234"_qs);
    QCOMPARE(translateAddress(newYork(), *us, nullptr, u"+1 (415) 5551234"_qs,
                              LINETRANSLATEOPTION_FORCELOCAL | LINETRANSLATEOPTION_FORCELD, out),
             LINEERR_INVALPARAM);
}

void TestTranslation::countryTableIsComplete()
{
    const auto all = countries();
    QVERIFY(all.size() >= 230);
    QSet<quint32> ids;
    QSet<QString> isos;
    int nanp = 0;
    for (const Country& c : all) {
        QVERIFY2(!ids.contains(c.id), qPrintable(c.name));
        QVERIFY2(!isos.contains(c.iso), qPrintable(c.name));
        ids.insert(c.id);
        isos.insert(c.iso);
        QVERIFY2(c.code >= 1 && c.code <= 999, qPrintable(c.name));
        QVERIFY2(c.sameAreaRule.contains(u'G'), qPrintable(c.name));
        QVERIFY2(c.longDistanceRule.endsWith(u"FG"), qPrintable(c.name));
        QVERIFY2(c.internationalRule.endsWith(u"EFG"), qPrintable(c.name));
        QVERIFY2(c.internationalRule.size() > 3, qPrintable(c.name));
        if (c.code == 1) {
            ++nanp;
            QCOMPARE(c.longDistanceRule, u"1FG"_qs);
            QCOMPARE(c.internationalRule, u"011EFG"_qs);
        }
    }
    QVERIFY(nanp >= 20);
    QCOMPARE(findCountryByIso(u"ca")->code, 1u);
    QCOMPARE(findCountryByIso(u"KZ")->code, 7u);
    QCOMPARE(findCountryByIso(u"GB")->internationalRule, u"00EFG"_qs);

    LineCountryList list;
    QCOMPARE(lineGetCountry(0, 0x00020000, list), 0);
    QCOMPARE(list.countries.size(), all.size());
    // The next-country chain walks the whole table once.
    quint32 next = list.countries.front().countryId;
    size_t walked = 0;
    while (next != 0 && walked <= all.size()) {
        LineCountryList one;
        QCOMPARE(lineGetCountry(next, 0x00020000, one), 0);
        QCOMPARE(one.countries.size(), size_t(1));
        next = one.countries.front().nextCountryId;
        ++walked;
    }
    QCOMPARE(walked, all.size());
    QCOMPARE(lineGetCountry(999999, 0x00020000, list), LINEERR_INVALCOUNTRYCODE);
    QVERIFY(list.countries.empty());
}

QTEST_GUILESS_MAIN(TestTranslation)
#include "test_translation.moc"
