#include "telephony/locations/LocationTranslation.h"

#include "telephony/locations/LineTranslate.h"

namespace telvaro {

bool LocationTranslation::readLocation(CurrentLocation* location)
{
    LineTranslateCaps caps;
    if (lineGetTranslateCaps(0, 0, caps) != 0)
        return false;
    const LineLocationEntry* here = nullptr;
    for (const LineLocationEntry& l : caps.locations) {
        if (l.permanentLocationId == caps.currentLocationId)
            here = &l;
    }
    if (!here)
        return false;
    CurrentLocation out;
    out.locationId = int(here->permanentLocationId);
    out.preferredCardId = int(here->preferredCardId);
    out.countryCode = int(here->countryCode);
    out.countryId = int(here->countryId);
    out.areaCode = here->cityCode;
    out.localAccessCode = here->localAccessCode;
    out.longDistanceAccessCode = here->longDistanceAccessCode;
    out.cancelCallWaiting = here->cancelCallWaiting;
    // The card's rules first, then the country's over them.
    for (const LineCardEntry& card : caps.cards) {
        if (card.permanentCardId == here->preferredCardId) {
            out.sameAreaRule = card.sameAreaRule;
            out.longDistanceRule = card.longDistanceRule;
            out.internationalRule = card.internationalRule;
        }
    }
    LineCountryList countries;
    if (lineGetCountry(here->countryId, 0, countries) == 0 && !countries.countries.empty()) {
        const LineCountryEntry& c = countries.countries.front();
        out.sameAreaRule = c.sameAreaRule;
        out.longDistanceRule = c.longDistanceRule;
        out.internationalRule = c.internationalRule;
    }
    *location = out;
    return true;
}

std::optional<TranslatedAddress> LocationTranslation::translateAddress(const QString& canonical,
                                                                       int card, int options)
{
    LineTranslateOutput out;
    if (card < 0 || options < 0 ||
        lineTranslateAddress(0, 0, 0, canonical, quint32(card), quint32(options), out) != 0)
        return std::nullopt;
    return TranslatedAddress{out.dialableString, out.displayableString};
}

LocationTranslation& locationTranslation()
{
    static LocationTranslation instance;
    return instance;
}

} // namespace telvaro
