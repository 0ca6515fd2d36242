// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/dialing/DialString.h"

#include <QString>

#include <optional>

namespace telvaro {

// The dialing location in force for a modem dial, as the line layer reports it.
struct CurrentLocation
{
    int locationId = 0;
    int preferredCardId = 0;
    int countryCode = 0;
    int countryId = 0;
    QString areaCode;
    QString localAccessCode;
    QString longDistanceAccessCode;
    QString cancelCallWaiting;
    // Dialing rules ("G", "1FG", "011EFG" style): the calling card's first,
    // then those of the location's country over them.
    QString sameAreaRule;
    QString longDistanceRule;
    QString internationalRule;
};

struct TranslatedAddress
{
    QString dialable;
    QString displayable;
};

// The line layer's location and translation services as the dial procedure
// uses them. The program's own goes to the line layer; tests put their own in.
class LineTranslation
{
public:
    virtual ~LineTranslation() = default;
    // The current location with the rules of its card and country; false when
    // the line layer cannot tell.
    virtual bool readLocation(CurrentLocation* location) = 0;
    // lineTranslateAddress for a canonical address; nullopt when it fails.
    virtual std::optional<TranslatedAddress> translateAddress(const QString& canonical, int card,
                                                              int options) = 0;
};

class LineService;

// The program's own: the line layer's dialing locations and translation, in
// the line service's session.
class LineLayerTranslation final : public LineTranslation
{
public:
    explicit LineLayerTranslation(const LineService& line);
    bool readLocation(CurrentLocation* location) override;
    std::optional<TranslatedAddress> translateAddress(const QString& canonical, int card,
                                                      int options) override;

private:
    const LineService& m_line;
};

enum class NumberKind { Local, LongDistance, International };

struct CanonicalRequest
{
    NumberKind kind = NumberKind::Local;
    QString canonical;          // "+C (A) N"
    QString placeholderCountry; // international numbers only
    int card = 0;
    int options = 0;
};

// Classifies `number` by the location's prefixes and builds the request for
// the line layer. A long-distance number puts its area code into `location`.
CanonicalRequest canonicalRequest(const QString& number, CurrentLocation* location,
                                  bool noCardForLocalCalls);

// The whole translation: the dial string and the number shown, both empty when
// the translation fails.
dialstr::DialChoice translateNumber(const QString& number, CurrentLocation* location,
                                    bool noCardForLocalCalls, LineTranslation& line);

} // namespace telvaro
