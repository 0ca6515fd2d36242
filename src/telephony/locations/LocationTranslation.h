#pragma once

#include "dialing/NumberTranslation.h"

namespace telvaro {

// The dial procedure's view of the line layer's locations and translation:
// the current location with the rules of its card and country
// (lineGetTranslateCaps, lineGetCountry) and lineTranslateAddress.
class LocationTranslation final : public LineTranslation
{
public:
    bool readLocation(CurrentLocation* location) override;
    std::optional<TranslatedAddress> translateAddress(const QString& canonical, int card,
                                                      int options) override;
};

// The one the program uses (installed by installLocations()).
LocationTranslation& locationTranslation();

} // namespace telvaro
