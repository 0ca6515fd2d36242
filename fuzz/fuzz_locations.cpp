// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a telephony configuration (Telephony.ini: dialing locations, calling
// cards with their rules) of any content. Checks: there is always a current
// location; ids are unique and not 0; every location's country exists and
// its card is 0 or a card there is; what was read, written back, reads back
// the same, in any order (nothing is lost or changed by a save that changes
// nothing); and a number dialed with what was read translates, the dial
// string holding only dial characters.
#include "FuzzSupport.h"
#include "settings/Paths.h"
#include "core/telephony/locations/Countries.h"
#include "core/telephony/locations/LineTranslate.h"
#include "core/telephony/locations/LocationStore.h"

#include <QFile>
#include <QSet>

#include <algorithm>
#include <cstdint>

using namespace telvaro;

namespace {

bool sameLocation(const DialingLocation& a, const DialingLocation& b)
{
    return a.id == b.id && a.name == b.name && a.countryId == b.countryId &&
           a.areaCode == b.areaCode && a.localAccess == b.localAccess &&
           a.longDistanceAccess == b.longDistanceAccess &&
           a.disableCallWaiting == b.disableCallWaiting && a.callWaitingCode == b.callWaitingCode &&
           a.pulse == b.pulse && a.cardId == b.cardId && a.blockCallerIdCode == b.blockCallerIdCode;
}

bool sameCard(const CallingCard& a, const CallingCard& b)
{
    return a.id == b.id && a.name == b.name && a.accountNumber == b.accountNumber &&
           a.pin == b.pin && a.localAccessNumber == b.localAccessNumber &&
           a.longDistanceAccessNumber == b.longDistanceAccessNumber &&
           a.internationalAccessNumber == b.internationalAccessNumber &&
           a.sameAreaRule == b.sameAreaRule && a.longDistanceRule == b.longDistanceRule &&
           a.internationalRule == b.internationalRule;
}

// The same locations and cards, in any order (a save writes a location
// found under another spelling of its id, "Location01", in its own place).
bool same(TelephonyLocations a, TelephonyLocations b)
{
    const auto byId = [](const auto& x, const auto& y) { return x.id < y.id; };
    for (TelephonyLocations* t : {&a, &b}) {
        std::sort(t->locations.begin(), t->locations.end(), byId);
        std::sort(t->cards.begin(), t->cards.end(), byId);
    }
    if (a.currentLocationId != b.currentLocationId || a.locations.size() != b.locations.size() ||
        a.cards.size() != b.cards.size())
        return false;
    for (size_t i = 0; i < a.locations.size(); ++i) {
        if (!sameLocation(a.locations[i], b.locations[i]))
            return false;
    }
    for (size_t i = 0; i < a.cards.size(); ++i) {
        if (!sameCard(a.cards[i], b.cards[i]))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool folderSet =
        qputenv("TELVARO_CONFIG_DIR", QFile::encodeName(fuzz::scratchFolder()));
    FUZZ_CHECK(folderSet);
    const QString path = paths::telephonyConfigFile();
    {
        QFile::remove(path);
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }

    const TelephonyLocations read = loadLocations();
    FUZZ_CHECK(!read.locations.empty());
    FUZZ_CHECK(read.location(read.currentLocationId) != nullptr);
    QSet<quint32> ids;
    for (const DialingLocation& l : read.locations) {
        FUZZ_CHECK(l.id != 0 && !ids.contains(l.id));
        ids.insert(l.id);
        FUZZ_CHECK(findCountry(l.countryId) != nullptr);
        FUZZ_CHECK(l.cardId == 0 || read.card(l.cardId) != nullptr);
    }
    ids.clear();
    for (const CallingCard& c : read.cards) {
        FUZZ_CHECK(c.id != 0 && !ids.contains(c.id));
        ids.insert(c.id);
    }

    FUZZ_CHECK(saveLocations(read));
    FUZZ_CHECK(same(loadLocations(), read));

    const DialingLocation& here = *read.currentLocation();
    LineTranslateOutput out;
    if (translateAddress(here, *findCountry(here.countryId), read.card(here.cardId),
                         QStringLiteral("+44 (20) 7946-0000"), 0, out) == 0) {
        for (const QChar c : out.dialableString)
            FUZZ_CHECK(QStringLiteral("0123456789*#ABCDabcd,!Ww@$?TtPp").contains(c));
    }
    return 0;
}
