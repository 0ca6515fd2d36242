// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dialing/NumberTranslation.h"

#include "core/telephony/LineService.h"
#include "core/telephony/locations/LineTranslate.h"
#include "settings/OptionsStore.h"

namespace telvaro {

LineLayerTranslation::LineLayerTranslation(const LineService& line) : m_line(line) {}

bool LineLayerTranslation::readLocation(CurrentLocation* out)
{
    LineTranslateCaps caps;
    if (lineGetTranslateCaps(quint32(m_line.session().lineApp), m_line.session().lineApiVersion,
                             caps) < 0)
        return false;
    const LineLocationEntry* here = nullptr;
    for (const LineLocationEntry& l : caps.locations)
        if (l.permanentLocationId == caps.currentLocationId)
            here = &l;
    if (!here)
        return false;
    CurrentLocation& c = *out;
    c.locationId = int(here->permanentLocationId);
    c.preferredCardId = int(here->preferredCardId);
    c.countryCode = int(here->countryCode);
    c.countryId = int(here->countryId);
    c.areaCode = here->cityCode;
    c.localAccessCode = here->localAccessCode;
    c.longDistanceAccessCode = here->longDistanceAccessCode;
    c.cancelCallWaiting = here->cancelCallWaiting;
    // The card's rules first, the country's over them.
    for (const LineCardEntry& card : caps.cards) {
        if (here->preferredCardId != 0 && card.permanentCardId == here->preferredCardId) {
            c.sameAreaRule = card.sameAreaRule;
            c.longDistanceRule = card.longDistanceRule;
            c.internationalRule = card.internationalRule;
        }
    }
    LineCountryList countries;
    if (lineGetCountry(here->countryId, m_line.session().lineApiVersion, countries) >= 0 &&
        !countries.countries.empty()) {
        const LineCountryEntry& country = countries.countries.front();
        c.sameAreaRule = country.sameAreaRule;
        c.longDistanceRule = country.longDistanceRule;
        c.internationalRule = country.internationalRule;
    }
    return true;
}

std::optional<TranslatedAddress> LineLayerTranslation::translateAddress(const QString& canonical,
                                                                        int card, int options)
{
    LineTranslateOutput out;
    if (lineTranslateAddress(
            quint32(m_line.session().lineApp), quint32(telvaro::options().selectedLineDevice()),
            m_line.session().lineApiVersion, canonical, quint32(card), quint32(options), out) < 0)
        return std::nullopt;
    return TranslatedAddress{out.dialableString, out.displayableString};
}

namespace {

bool startsWithPrefix(const QString& number, const QString& prefix)
{
    // A location without a prefix classifies nothing by it.
    return !prefix.isEmpty() && number.startsWith(prefix);
}

} // namespace

CanonicalRequest canonicalRequest(const QString& number, CurrentLocation* location,
                                  bool noCardForLocalCalls)
{
    const QString longDistance = dialstr::digitsOnly(location->longDistanceRule);
    const QString international = dialstr::digitsOnly(location->internationalRule);
    CanonicalRequest r;
    QString country = QString::number(location->countryCode);
    QString area = location->areaCode;
    QString subscriber = number;

    if (startsWithPrefix(number, international)) {
        r.kind = NumberKind::International;
        r.placeholderCountry =
            location->countryCode == 977 ? QStringLiteral("975") : QStringLiteral("977");
        country = r.placeholderCountry;
    } else if (startsWithPrefix(number, longDistance)) {
        r.kind = NumberKind::LongDistance;
        area = number.mid(longDistance.size(), 3);
        location->areaCode = area;
        subscriber = number.mid(longDistance.size() + 3);
    } else {
        r.kind = NumberKind::Local;
        qsizetype stop = number.size();
        for (QChar c : {QChar(u','), QChar(u'*'), QChar(u'#')}) {
            const qsizetype at = number.indexOf(c);
            if (at >= 0 && at < stop)
                stop = at;
        }
        // A local number long enough to carry its own area code loses it.
        if (stop + 1 >= 9 && number.startsWith(area))
            subscriber = number.mid(area.size());
    }
    r.canonical = QStringLiteral("+%1 (%2) %3").arg(country, area, subscriber);
    r.card = (r.kind == NumberKind::Local && noCardForLocalCalls) ? 0 : location->preferredCardId;
    r.options = 1 | (location->cancelCallWaiting.isEmpty() ? 0 : 2);
    return r;
}

dialstr::DialChoice translateNumber(const QString& number, CurrentLocation* location,
                                    bool noCardForLocalCalls, LineTranslation& line)
{
    const CanonicalRequest r = canonicalRequest(number, location, noCardForLocalCalls);
    const std::optional<TranslatedAddress> out =
        line.translateAddress(r.canonical, r.card, r.options);
    if (!out || out->dialable.isEmpty())
        return {};
    if (r.kind != NumberKind::International)
        return {out->dialable, out->displayable};

    // The placeholder country code stood in for the digits typed after the
    // international prefix: keep what the location put before it and dial
    // those digits unchanged.
    const QString afterPrefix = number.mid(dialstr::digitsOnly(location->internationalRule).size());
    QString dialable = out->dialable;
    dialable.remove(u' ');
    const QString dialPattern = r.placeholderCountry + location->areaCode + number;
    const qsizetype dialAt = dialable.indexOf(dialPattern);
    if (dialAt < 0)
        return {}; // dialing the placeholder would reach the wrong country
    // What a calling card rule puts after the number (its card number, a
    // pause) stays where the rule put it.
    dialstr::DialChoice choice;
    choice.dialString =
        dialable.left(dialAt) + afterPrefix + dialable.mid(dialAt + dialPattern.size());
    const QString shownPattern = r.placeholderCountry + u' ' + location->areaCode + u' ' + number;
    const qsizetype shownAt = out->displayable.indexOf(shownPattern);
    choice.displayNumber = shownAt >= 0 ? out->displayable.left(shownAt) + afterPrefix +
                                              out->displayable.mid(shownAt + shownPattern.size())
                                        : out->displayable + afterPrefix;
    return choice;
}

} // namespace telvaro
