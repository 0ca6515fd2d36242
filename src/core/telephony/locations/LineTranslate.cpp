// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/telephony/locations/LineTranslate.h"

#include "core/telephony/locations/Countries.h"
#include "core/telephony/locations/LocationStore.h"

#include <QStringList>

namespace telvaro {

namespace {

enum class CallKind { Local, LongDistance, International };

// Characters a modem dials (digits, the tone keys, pauses and waits, the
// switches between tone and pulse). Everything else is left out of a dial
// string: a ";" would end the dial and a line end would start a new command.
bool isDialChar(QChar c)
{
    static const QString kDial = QStringLiteral("0123456789*#ABCDabcd,!Ww@$?TtPp");
    return kDial.contains(c);
}

// Characters people write between digits.
bool isFormatChar(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'(' || c == u')' || c == u'-' || c == u'.' || c == u'/';
}

QString dialable(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (isDialChar(c))
            out.append(c);
    }
    return out;
}

// The digits and keys of a code as the user reads them: pauses and waits left
// out.
QString shown(QStringView text)
{
    QString out;
    for (QChar c : text) {
        if (c.isDigit() || c == u'*' || c == u'#' || (c >= u'A' && c <= u'D'))
            out.append(c);
    }
    return out;
}

bool hasControlChar(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    }
    return false;
}

struct Canonical
{
    QString countryCode;
    QString areaCode;
    QString subscriberDial;  // dialable characters only
    QString subscriberShown; // as written, trimmed
};

// The calling code that `digits` starts with, from the country table.
QString knownCodePrefix(const QString& digits)
{
    for (int len = 1; len <= 3 && len <= digits.size(); ++len) {
        const QString head = digits.left(len);
        for (const Country& c : countries()) {
            if (QString::number(c.code) == head)
                return head;
        }
    }
    return {};
}

// Parses "+C (A) N" and "+C N" (also "+CN" when C is a known calling code).
// The subaddress ("|...") and name ("^...") parts are not dialed.
bool parseCanonical(QStringView address, Canonical& out)
{
    qsizetype i = 0;
    const qsizetype n = address.size();
    auto skipBlanks = [&] {
        while (i < n && (address[i] == u' ' || address[i] == u'\t'))
            ++i;
    };
    skipBlanks();
    if (i >= n || address[i] != u'+')
        return false;
    ++i;
    skipBlanks();
    QString digits;
    while (i < n && address[i].isDigit() && address[i].unicode() < 128)
        digits.append(address[i++]);
    if (digits.isEmpty())
        return false;
    QString rest;
    const bool delimited =
        i >= n || address[i] == u' ' || address[i] == u'\t' || address[i] == u'(';
    if (delimited && digits.size() <= 3) {
        out.countryCode = digits;
    } else {
        out.countryCode = knownCodePrefix(digits);
        if (out.countryCode.isEmpty())
            return false;
        rest = digits.mid(out.countryCode.size());
    }
    if (rest.isEmpty()) {
        skipBlanks();
        if (i < n && address[i] == u'(') {
            ++i;
            const qsizetype close = address.indexOf(u')', i);
            if (close < 0)
                return false;
            const QString area = address.mid(i, close - i).toString().trimmed();
            for (QChar c : area) {
                if (!c.isDigit() || c.unicode() >= 128)
                    return false;
            }
            out.areaCode = area;
            i = close + 1;
            skipBlanks();
        }
    }
    QStringView subscriber = address.mid(i);
    const qsizetype cut = [&] {
        qsizetype at = subscriber.size();
        for (QChar stop : {u'|', u'^'}) {
            const qsizetype p = subscriber.indexOf(stop);
            if (p >= 0 && p < at)
                at = p;
        }
        return at;
    }();
    subscriber = subscriber.left(cut);
    const QString written = (rest + subscriber.toString()).trimmed();
    for (QChar c : written) {
        if (!isDialChar(c) && !isFormatChar(c))
            return false;
    }
    out.subscriberDial = dialable(written);
    out.subscriberShown = written;
    return !out.subscriberDial.isEmpty();
}

quint32 waitFlags(QStringView dial)
{
    quint32 flags = 0;
    for (QChar c : dial) {
        if (c == u'$')
            flags |= LINETRANSLATERESULT_DIALBILLING;
        else if (c == u'@')
            flags |= LINETRANSLATERESULT_DIALQUIET;
        else if (c == u'W' || c == u'w')
            flags |= LINETRANSLATERESULT_DIALDIALTONE;
        else if (c == u'?')
            flags |= LINETRANSLATERESULT_DIALPROMPT;
    }
    return flags;
}

} // namespace

LineResult translateAddress(const DialingLocation& location, const Country& country,
                            const CallingCard* card, const QString& addressIn,
                            quint32 translateOptions, LineTranslateOutput& output)
{
    output = LineTranslateOutput{};
    output.currentCountry = country.code;
    if (addressIn.trimmed().isEmpty() || hasControlChar(addressIn))
        return LINEERR_INVALADDRESS;
    if ((translateOptions & LINETRANSLATEOPTION_FORCELOCAL) &&
        (translateOptions & LINETRANSLATEOPTION_FORCELD))
        return LINEERR_INVALPARAM;

    if (!addressIn.trimmed().startsWith(u'+')) {
        // Not canonical: dialed and shown as given. A ";" would keep the
        // modem waiting for more digits, so such a number is refused.
        if (addressIn.contains(u';'))
            return LINEERR_INVALADDRESS;
        output.dialableString = addressIn;
        output.displayableString = addressIn;
        return 0;
    }

    Canonical number;
    if (!parseCanonical(addressIn, number))
        return LINEERR_INVALADDRESS;
    output.destCountry = number.countryCode.toUInt();
    output.translateResults = LINETRANSLATERESULT_CANONICAL;

    CallKind kind;
    if (translateOptions & LINETRANSLATEOPTION_FORCELOCAL)
        kind = CallKind::Local;
    else if (translateOptions & LINETRANSLATEOPTION_FORCELD)
        kind = CallKind::LongDistance;
    else if (output.destCountry != country.code)
        kind = CallKind::International;
    else if (number.areaCode.isEmpty() || number.areaCode == location.areaCode)
        kind = CallKind::Local;
    else
        kind = CallKind::LongDistance;

    QString rule;
    QString access;
    QString cardAccess;
    switch (kind) {
    case CallKind::Local:
        output.translateResults |= LINETRANSLATERESULT_LOCAL;
        rule = card ? card->sameAreaRule : QString();
        if (rule.isEmpty())
            rule = country.sameAreaRule;
        access = location.localAccess;
        cardAccess = card ? card->localAccessNumber : QString();
        break;
    case CallKind::LongDistance:
        output.translateResults |= LINETRANSLATERESULT_LONGDISTANCE;
        rule = card ? card->longDistanceRule : QString();
        if (rule.isEmpty())
            rule = country.longDistanceRule;
        access = location.longDistanceAccess;
        cardAccess = card ? card->longDistanceAccessNumber : QString();
        break;
    case CallKind::International:
        output.translateResults |= LINETRANSLATERESULT_INTERNATIONAL;
        rule = card ? card->internationalRule : QString();
        if (rule.isEmpty())
            rule = country.internationalRule;
        access = location.longDistanceAccess;
        cardAccess = card ? card->internationalAccessNumber : QString();
        break;
    }

    QString dial = location.pulse ? QStringLiteral("P") : QStringLiteral("T");
    QStringList shownParts;
    auto addFixed = [&](const QString& code) {
        dial += dialable(code);
        if (const QString s = shown(code); !s.isEmpty())
            shownParts << s;
    };
    if (translateOptions & LINETRANSLATEOPTION_CANCELCALLWAITING)
        addFixed(location.cancelCallWaiting());
    addFixed(access);

    QString literal;
    auto flushLiteral = [&] {
        if (!literal.isEmpty())
            addFixed(literal);
        literal.clear();
    };
    for (QChar c : rule) {
        switch (c.toUpper().unicode()) {
        case u'E':
            flushLiteral();
            dial += number.countryCode;
            shownParts << number.countryCode;
            break;
        case u'F':
            flushLiteral();
            dial += number.areaCode;
            shownParts << number.areaCode;
            break;
        case u'G':
            flushLiteral();
            dial += number.subscriberDial;
            shownParts << number.subscriberShown;
            break;
        case u'H':
            flushLiteral();
            if (card && !card->pin.isEmpty()) {
                dial += dialable(card->pin);
                shownParts << QStringLiteral("[PIN]");
            }
            break;
        case u'J':
            flushLiteral();
            addFixed(cardAccess);
            break;
        case u'K':
            flushLiteral();
            if (card)
                addFixed(card->accountNumber);
            break;
        default:
            if (isDialChar(c))
                literal.append(c);
            break;
        }
    }
    flushLiteral();

    output.dialableString = dial;
    output.displayableString = shownParts.join(u' ');
    output.translateResults |= waitFlags(QStringView(dial).mid(1));
    return 0;
}

LineResult lineGetTranslateCaps(HLINEAPP /*lineApp*/, quint32 /*apiVersion*/,
                                LineTranslateCaps& caps)
{
    const TelephonyLocations data = loadLocations();
    caps = LineTranslateCaps{};
    for (const DialingLocation& l : data.locations) {
        LineLocationEntry e;
        e.permanentLocationId = l.id;
        e.locationName = l.name;
        const Country* c = findCountry(l.countryId);
        e.countryCode = c ? c->code : 0;
        e.countryId = l.countryId;
        e.cityCode = l.areaCode;
        e.preferredCardId = l.cardId;
        e.localAccessCode = l.localAccess;
        e.longDistanceAccessCode = l.longDistanceAccess;
        e.options = l.pulse ? LINELOCATIONOPTION_PULSEDIAL : 0;
        e.cancelCallWaiting = l.cancelCallWaiting();
        e.blockCallerId = l.blockCallerIdCode;
        caps.locations.push_back(std::move(e));
    }
    for (const CallingCard& card : data.cards) {
        LineCardEntry e;
        e.permanentCardId = card.id;
        e.cardName = card.name;
        for (QChar ch : card.accountNumber) {
            if (ch.isDigit())
                ++e.cardNumberDigits;
        }
        e.sameAreaRule = card.sameAreaRule;
        e.longDistanceRule = card.longDistanceRule;
        e.internationalRule = card.internationalRule;
        caps.cards.push_back(std::move(e));
    }
    const DialingLocation* current = data.currentLocation();
    caps.currentLocationId = current ? current->id : 0;
    caps.currentPreferredCardId = current ? current->cardId : 0;
    return 0;
}

LineResult lineGetCountry(quint32 countryId, quint32 /*apiVersion*/, LineCountryList& list)
{
    list = LineCountryList{};
    const auto all = countries();
    for (size_t i = 0; i < all.size(); ++i) {
        const Country& c = all[i];
        if (countryId != 0 && c.id != countryId)
            continue;
        LineCountryEntry e;
        e.countryId = c.id;
        e.countryCode = c.code;
        e.nextCountryId = i + 1 < all.size() ? all[i + 1].id : 0;
        e.countryName = c.name;
        e.sameAreaRule = c.sameAreaRule;
        e.longDistanceRule = c.longDistanceRule;
        e.internationalRule = c.internationalRule;
        list.countries.push_back(std::move(e));
    }
    return list.countries.empty() ? LINEERR_INVALCOUNTRYCODE : 0;
}

LineResult lineTranslateAddress(HLINEAPP /*lineApp*/, quint32 /*deviceId*/, quint32 /*apiVersion*/,
                                const QString& addressIn, quint32 card, quint32 translateOptions,
                                LineTranslateOutput& output)
{
    output = LineTranslateOutput{};
    const TelephonyLocations data = loadLocations();
    const DialingLocation* location = data.currentLocation();
    if (!location)
        return LINEERR_INIFILECORRUPT;
    const Country* country = findCountry(location->countryId);
    if (!country)
        return LINEERR_INIFILECORRUPT;
    const quint32 cardId =
        (translateOptions & LINETRANSLATEOPTION_CARDOVERRIDE) ? card : location->cardId;
    const CallingCard* useCard = nullptr;
    if (cardId != 0) {
        useCard = data.card(cardId);
        if (!useCard)
            return LINEERR_INVALCARD;
    }
    return translateAddress(*location, *country, useCard, addressIn, translateOptions, output);
}

} // namespace telvaro
