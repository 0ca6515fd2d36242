// SPDX-License-Identifier: GPL-3.0-or-later
// Translates arbitrary numbers with random dialing locations, countries and
// calling cards. Checks for a number in canonical form: the dial string
// starts with T or P, holds only dial characters (never ";" or a line end)
// and is accepted by the modem provider; the number shown does not depend on
// the card's PIN. Any other number is dialed and shown as given, and never
// passes a ";" or a line end.
#include "FuzzSupport.h"
#include "core/telephony/lineapi/ModemProvider.h"
#include "core/telephony/locations/Countries.h"
#include "core/telephony/locations/LineTranslate.h"
#include "core/telephony/locations/LocationStore.h"

#include <cstdint>

using namespace telvaro;

namespace {

// Mostly the characters the rules and codes are made of, sometimes any byte.
QString code(fuzz::Input& in)
{
    static const char kLetters[] = "0123456789EFGHJKWw@$?,!TP*#ABCD ()-+|^;";
    QString out;
    for (QByteArrayView b = in.bytes(); const char c : b) {
        const auto u = uint8_t(c);
        out += u >= 0x80 ? QChar(u) : QChar(kLetters[u % (sizeof kLetters - 1)]);
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    DialingLocation location;
    location.areaCode = code(in);
    location.localAccess = code(in);
    location.longDistanceAccess = code(in);
    location.disableCallWaiting = in.flag();
    location.callWaitingCode = code(in);
    location.pulse = in.flag();

    const auto all = countries();
    Country country = all[in.below(uint32_t(all.size()))];
    if (in.flag()) {
        country.sameAreaRule = code(in);
        country.longDistanceRule = code(in);
        country.internationalRule = code(in);
    }
    CallingCard card;
    const bool withCard = in.flag();
    if (withCard) {
        card.id = 1;
        card.accountNumber = code(in);
        card.pin = code(in);
        card.localAccessNumber = code(in);
        card.longDistanceAccessNumber = code(in);
        card.internationalAccessNumber = code(in);
        card.sameAreaRule = code(in);
        card.longDistanceRule = code(in);
        card.internationalRule = code(in);
    }
    const quint32 options = in.byte() & 0x0f;
    QString address = in.flag() ? QString::fromLatin1(in.rest()) : code(in) + in.text();
    if (in.flag())
        address.prepend(u'+');

    LineTranslateOutput out;
    const LineResult r =
        translateAddress(location, country, withCard ? &card : nullptr, address, options, out);
    if (r != 0)
        return 0;
    if (!address.trimmed().startsWith(u'+')) {
        // Dialed as given, but never with what would end or prolong the dial
        // command.
        for (const QChar c : out.dialableString)
            FUZZ_CHECK(c != u';' && c != u'\r' && c != u'\n' && c.unicode() >= 0x20);
        FUZZ_CHECK(out.dialableString == address && out.displayableString == address);
        return 0;
    }
    const QString& dial = out.dialableString;
    FUZZ_CHECK(dial.startsWith(u'T') || dial.startsWith(u'P'));
    for (const QChar c : dial)
        FUZZ_CHECK(QStringLiteral("0123456789*#ABCDabcd,!Ww@$?TtPp").contains(c));
    // A rule without G can leave nothing but the lead letter, which the
    // modem provider refuses as a whole (there is nothing to dial).
    FUZZ_CHECK(modemDialString(dial).has_value() || dial.size() == 1);

    if (withCard && !card.pin.isEmpty()) {
        CallingCard otherPin = card;
        otherPin.pin =
            card.pin == QLatin1String("4711") ? QStringLiteral("1234") : QStringLiteral("4711");
        LineTranslateOutput other;
        FUZZ_CHECK(translateAddress(location, country, &otherPin, address, options, other) == 0);
        FUZZ_CHECK(other.displayableString == out.displayableString);
    }
    return 0;
}
