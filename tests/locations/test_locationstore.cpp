// SPDX-License-Identifier: GPL-3.0-or-later
// The dialing locations and calling cards as stored in the telephony
// configuration file, and the line functions that read them.
#include "common/TestEnv.h"
#include "core/dialing/NumberTranslation.h"
#include "core/telephony/LineService.h"
#include "core/telephony/locations/Countries.h"
#include "core/telephony/locations/LineTranslate.h"
#include "core/telephony/locations/LocationStore.h"
#include "settings/IniFile.h"
#include "settings/Paths.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTest>

using namespace telvaro;
using telvaro::test::TestEnv;

class TestLocationStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void firstStartCreatesOneLocationFromTheLocale();
    void unknownLocaleFallsBackToUnitedStates();
    void roundTripKeepsEveryFieldAndTheModems();
    void pinMakesTheFileOwnerOnly();
    void mendsWhatTheFileGetsWrong();
    void translateAddressUsesTheCurrentLocationAndCard();
    void savingToAnUnwritableFolderIsReported();
    void dialProcedureTranslatesThroughTheLineLayer_data();
    void dialProcedureTranslatesThroughTheLineLayer();
};

void TestLocationStore::firstStartCreatesOneLocationFromTheLocale()
{
    TestEnv env;
    LineTranslateCaps caps;
    QCOMPARE(lineGetTranslateCaps(0, 0x00020000, caps), 0);
    QCOMPARE(caps.locations.size(), size_t(1));
    const LineLocationEntry& here = caps.locations.front();
    QCOMPARE(here.countryId, 49u);
    QCOMPARE(here.countryCode, 49u);
    QVERIFY(here.cityCode.isEmpty());
    QVERIFY(here.cancelCallWaiting.isEmpty());
    QCOMPARE(here.options, 0u);
    QCOMPARE(caps.currentLocationId, here.permanentLocationId);
    QVERIFY(caps.cards.empty());

    // Written at once, so the next reader sees the same location.
    IniFile ini(paths::telephonyConfigFile());
    QCOMPARE(ini.read(u"Locations", u"CurrentID"), QString::number(here.permanentLocationId));
    QCOMPARE(ini.read(QStringLiteral("Location%1").arg(here.permanentLocationId), u"Country"),
             u"49"_qs);
    LineTranslateCaps again;
    QCOMPARE(lineGetTranslateCaps(0, 0, again), 0);
    QCOMPARE(again.locations.front().permanentLocationId, here.permanentLocationId);
}

void TestLocationStore::unknownLocaleFallsBackToUnitedStates()
{
    TestEnv env;
    QLocale::setDefault(QLocale::c());
    QCOMPARE(loadLocations().locations.front().countryId, 1u);
}

void TestLocationStore::roundTripKeepsEveryFieldAndTheModems()
{
    TestEnv env;
    // Another part of the line layer keeps its modems in the same file.
    TestEnv::writeFile(paths::telephonyConfigFile(),
                       "[Modems]\r\nCount=1\r\n[Modem0]\r\nPort=/dev/ttyACM0\r\n");

    TelephonyLocations data = loadLocations();
    CallingCard& card = data.addCard(QStringLiteral("Travel"));
    card.accountNumber = QStringLiteral("123456789");
    card.pin = QStringLiteral("4321");
    const quint32 cardId = card.id;
    DialingLocation& office = data.addLocation(QStringLiteral("Office"));
    office.countryId = 101;
    office.areaCode = QStringLiteral("416");
    office.localAccess = QStringLiteral("9,");
    office.longDistanceAccess = QStringLiteral("8,");
    office.disableCallWaiting = true;
    office.callWaitingCode = QStringLiteral("1170,");
    office.pulse = true;
    office.cardId = cardId;
    office.blockCallerIdCode = QString();
    const quint32 officeId = office.id;
    data.currentLocationId = officeId;
    QVERIFY(saveLocations(data));

    const TelephonyLocations back = loadLocations();
    QCOMPARE(back.locations.size(), size_t(2));
    QCOMPARE(back.currentLocationId, officeId);
    const DialingLocation* l = back.location(officeId);
    QVERIFY(l);
    QCOMPARE(l->name, u"Office"_qs);
    QCOMPARE(l->countryId, 101u);
    QCOMPARE(l->areaCode, u"416"_qs);
    QCOMPARE(l->localAccess, u"9,"_qs);
    QCOMPARE(l->longDistanceAccess, u"8,"_qs);
    QCOMPARE(l->cancelCallWaiting(), u"1170,"_qs);
    QVERIFY(l->pulse);
    QCOMPARE(l->cardId, cardId);
    QVERIFY(l->blockCallerIdCode.isEmpty()); // an emptied code stays empty
    const CallingCard* c = back.card(cardId);
    QVERIFY(c);
    QCOMPARE(c->pin, u"4321"_qs);
    QCOMPARE(c->accountNumber, u"123456789"_qs);
    QVERIFY(c->longDistanceRule.endsWith(u"0FG") || c->longDistanceRule.endsWith(u"1FG"));

    IniFile ini(paths::telephonyConfigFile());
    QCOMPARE(ini.read(u"Modem0", u"Port"), u"/dev/ttyACM0"_qs);

    // Removing the card sends its locations back to direct dial and removes
    // its section from the file.
    TelephonyLocations edit = back;
    edit.removeCard(cardId);
    edit.removeLocation(officeId);
    QVERIFY(saveLocations(edit));
    const TelephonyLocations after = loadLocations();
    QVERIFY(after.cards.empty());
    QCOMPARE(after.locations.size(), size_t(1));
    QCOMPARE(after.currentLocationId, after.locations.front().id);
    QVERIFY(!ini.sectionNames().contains(QStringLiteral("Card%1").arg(cardId)));
    QCOMPARE(ini.read(u"Modem0", u"Port"), u"/dev/ttyACM0"_qs);
}

void TestLocationStore::pinMakesTheFileOwnerOnly()
{
    TestEnv env;
    TelephonyLocations data = loadLocations();
    QFile::setPermissions(paths::telephonyConfigFile(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                              QFileDevice::ReadGroup | QFileDevice::ReadOther);
    data.addCard(QStringLiteral("Card")).pin = QStringLiteral("9999");
    QVERIFY(saveLocations(data));
    const auto perms = QFile::permissions(paths::telephonyConfigFile());
    QVERIFY(!(perms & (QFileDevice::ReadGroup | QFileDevice::ReadOther)));
    QVERIFY(perms & QFileDevice::ReadOwner);
}

void TestLocationStore::mendsWhatTheFileGetsWrong()
{
    TestEnv env;
    TestEnv::writeFile(paths::telephonyConfigFile(),
                       "[Locations]\r\nCurrentID=42\r\n"
                       "[Location3]\r\nName=Cabin\r\nCountry=123456\r\nCard=7\r\n"
                       "[Location5]\r\nCountry=44\r\nAreaCode=20\r\n"
                       "[Location3]\r\nName=Shadow\r\n"
                       "[Locationx]\r\nName=Not a location\r\n");
    const TelephonyLocations data = loadLocations();
    QCOMPARE(data.locations.size(), size_t(2));
    QCOMPARE(data.locations[0].name, u"Cabin"_qs);
    QCOMPARE(data.locations[0].countryId, 49u); // unknown country: the locale's
    QCOMPARE(data.locations[0].cardId, 0u);     // a card that does not exist
    QCOMPARE(data.locations[1].name, u"Location 5"_qs);
    QCOMPARE(data.currentLocationId, 3u); // a current location that does not exist

    LineTranslateOutput out;
    QCOMPARE(lineTranslateAddress(0, 0, 0, u"+49 (30) 1234"_qs, 0, 0, out), 0);
    QCOMPARE(out.dialableString, u"T0301234"_qs);
}

void TestLocationStore::translateAddressUsesTheCurrentLocationAndCard()
{
    TestEnv env;
    TelephonyLocations data = loadLocations();
    DialingLocation& home = data.locations.front();
    home.countryId = 1;
    home.areaCode = QStringLiteral("212");
    CallingCard& card = data.addCard(QStringLiteral("Card"));
    card.pin = QStringLiteral("4321");
    card.longDistanceAccessNumber = QStringLiteral("18005551000");
    card.longDistanceRule = QStringLiteral("J,H,1FG");
    home.cardId = card.id;
    const quint32 cardId = card.id;
    QVERIFY(saveLocations(data));

    LineTranslateOutput out;
    // The location's card without an override ...
    QCOMPARE(lineTranslateAddress(1, 0, 0x00020000, u"+1 (415) 5551234"_qs, 0, 0, out), 0);
    QCOMPARE(out.dialableString, u"T18005551000,4321,14155551234"_qs);
    QCOMPARE(out.displayableString, u"18005551000 [PIN] 1 415 5551234"_qs);
    // ... no card with the override and card 0 ...
    QCOMPARE(lineTranslateAddress(1, 0, 0x00020000, u"+1 (415) 5551234"_qs, 0,
                                  LINETRANSLATEOPTION_CARDOVERRIDE, out),
             0);
    QCOMPARE(out.dialableString, u"T14155551234"_qs);
    // ... the card by id, and a card that does not exist.
    QCOMPARE(lineTranslateAddress(1, 0, 0x00020000, u"+1 (415) 5551234"_qs, cardId,
                                  LINETRANSLATEOPTION_CARDOVERRIDE, out),
             0);
    QVERIFY(out.dialableString.contains(u"4321"));
    QCOMPARE(lineTranslateAddress(1, 0, 0x00020000, u"+1 (415) 5551234"_qs, cardId + 5,
                                  LINETRANSLATEOPTION_CARDOVERRIDE, out),
             LINEERR_INVALCARD);

    // The capabilities name the card without its number or PIN.
    LineTranslateCaps caps;
    QCOMPARE(lineGetTranslateCaps(1, 0x00020000, caps), 0);
    QCOMPARE(caps.currentPreferredCardId, cardId);
    QCOMPARE(caps.cards.size(), size_t(1));
    QCOMPARE(caps.cards.front().longDistanceRule, u"J,H,1FG"_qs);
}

void TestLocationStore::savingToAnUnwritableFolderIsReported()
{
    TestEnv env;
    TelephonyLocations data = loadLocations();
    // A folder where the file should be: no one can replace it, not even root.
    QVERIFY(QFile::remove(paths::telephonyConfigFile()));
    QVERIFY(QDir().mkpath(paths::telephonyConfigFile()));
    data.locations.front().areaCode = QStringLiteral("30");
    const Result saved = saveLocations(data);
    QVERIFY(!saved);
    QVERIFY(!saved.error.isEmpty());
    // Reading still gives a usable first-start location.
    const TelephonyLocations back = loadLocations();
    QCOMPARE(back.locations.size(), size_t(1));
    QVERIFY(back.locations.front().areaCode.isEmpty());
}

void TestLocationStore::dialProcedureTranslatesThroughTheLineLayer_data()
{
    QTest::addColumn<QString>("area");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("dialString");
    QTest::addColumn<QString>("displayNumber");
    QTest::newRow("local") << "212"
                           << "5551234"
                           << "T5551234"
                           << "5551234";
    QTest::newRow("local with own area code") << "212"
                                              << "2125551234"
                                              << "T5551234"
                                              << "5551234";
    QTest::newRow("long distance") << "212"
                                   << "14155551234"
                                   << "T8,14155551234"
                                   << "8 1 415 5551234";
    QTest::newRow("international") << "212"
                                   << "01144201234567"
                                   << "T8,01144201234567"
                                   << "8 011 44201234567";
    // The first-start location has no area code.
    QTest::newRow("international, no area code") << ""
                                                 << "01144201234567"
                                                 << "T8,01144201234567"
                                                 << "8 011 44201234567";
}

// The dial procedure reads the current location, builds the canonical number
// and has the line layer translate it; the digits typed after the
// international prefix are dialed unchanged.
void TestLocationStore::dialProcedureTranslatesThroughTheLineLayer()
{
    QFETCH(QString, area);
    QFETCH(QString, number);
    QFETCH(QString, dialString);
    QFETCH(QString, displayNumber);
    TestEnv env;
    TelephonyLocations data = loadLocations();
    data.locations.front().countryId = 1;
    data.locations.front().areaCode = area;
    data.locations.front().longDistanceAccess = QStringLiteral("8,");
    QVERIFY(saveLocations(data));

    LineService line;
    LineLayerTranslation translation(line);
    CurrentLocation location;
    QVERIFY(translation.readLocation(&location));
    QCOMPARE(location.countryCode, 1);
    QCOMPARE(location.longDistanceRule, u"1FG"_qs);
    QCOMPARE(location.internationalRule, u"011EFG"_qs);
    const dialstr::DialChoice choice = translateNumber(number, &location, false, translation);
    QCOMPARE(choice.dialString, dialString);
    QCOMPARE(choice.displayNumber, displayNumber);
}

QTEST_GUILESS_MAIN(TestLocationStore)
#include "test_locationstore.moc"
