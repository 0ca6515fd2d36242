// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/telephony/locations/LineErrors.h"

#include <QString>

#include <vector>

namespace telvaro {

// Dialing locations, countries and number translation of the line layer, in
// the shape of the telephony API's functions of the same names, with typed
// records in place of byte buffers. They work without a session and without
// any line device: the line-app handle, device id and API version are taken
// for the caller's bookkeeping only.

// LINELOCATIONENTRY options.
inline constexpr quint32 LINELOCATIONOPTION_PULSEDIAL = 0x00000001;

// LINECARDENTRY options.
inline constexpr quint32 LINECARDOPTION_PREDEFINED = 0x00000001;
inline constexpr quint32 LINECARDOPTION_HIDDEN = 0x00000002;

// lineTranslateAddress options.
inline constexpr quint32 LINETRANSLATEOPTION_CARDOVERRIDE = 0x00000001;
inline constexpr quint32 LINETRANSLATEOPTION_CANCELCALLWAITING = 0x00000002;
inline constexpr quint32 LINETRANSLATEOPTION_FORCELOCAL = 0x00000004;
inline constexpr quint32 LINETRANSLATEOPTION_FORCELD = 0x00000008;

// lineTranslateAddress results.
inline constexpr quint32 LINETRANSLATERESULT_CANONICAL = 0x00000001;
inline constexpr quint32 LINETRANSLATERESULT_INTERNATIONAL = 0x00000002;
inline constexpr quint32 LINETRANSLATERESULT_LONGDISTANCE = 0x00000004;
inline constexpr quint32 LINETRANSLATERESULT_LOCAL = 0x00000008;
inline constexpr quint32 LINETRANSLATERESULT_DIALBILLING = 0x00000040;
inline constexpr quint32 LINETRANSLATERESULT_DIALQUIET = 0x00000080;
inline constexpr quint32 LINETRANSLATERESULT_DIALDIALTONE = 0x00000100;
inline constexpr quint32 LINETRANSLATERESULT_DIALPROMPT = 0x00000200;

struct LineLocationEntry
{
    quint32 permanentLocationId = 0;
    QString locationName;
    quint32 countryCode = 0;
    QString cityCode; // area code
    quint32 preferredCardId = 0;
    QString localAccessCode;
    QString longDistanceAccessCode;
    QString tollPrefixList;
    quint32 countryId = 0;
    quint32 options = 0;       // LINELOCATIONOPTION_*
    QString cancelCallWaiting; // empty when the location does not disable call waiting
    QString blockCallerId;     // dialed first to conceal the caller's identity
};

struct LineCardEntry
{
    quint32 permanentCardId = 0;
    QString cardName;
    quint32 cardNumberDigits = 0; // how many digits the account number has; the number is not given
    QString sameAreaRule;
    QString longDistanceRule;
    QString internationalRule;
    quint32 options = 0; // LINECARDOPTION_*
};

struct LineTranslateCaps
{
    std::vector<LineLocationEntry> locations;
    quint32 currentLocationId = 0;
    std::vector<LineCardEntry> cards;
    quint32 currentPreferredCardId = 0;
};

struct LineCountryEntry
{
    quint32 countryId = 0;
    quint32 countryCode = 0;
    quint32 nextCountryId = 0; // 0 after the last country
    QString countryName;
    QString sameAreaRule;
    QString longDistanceRule;
    QString internationalRule;
};

struct LineCountryList
{
    std::vector<LineCountryEntry> countries;
};

struct LineTranslateOutput
{
    QString dialableString;       // what the modem dials, starting with "T" or "P"
    QString displayableString;    // what the user sees; never a card's PIN
    quint32 currentCountry = 0;   // country code of the current location
    quint32 destCountry = 0;      // country code of the number
    quint32 translateResults = 0; // LINETRANSLATERESULT_*
};

// The locations and cards of the telephony configuration; a first start
// creates one location from the system's locale.
LineResult lineGetTranslateCaps(HLINEAPP lineApp, quint32 apiVersion, LineTranslateCaps& caps);

// One country by id, or every country in id order for id 0.
// LINEERR_INVALCOUNTRYCODE for an id the table does not know.
LineResult lineGetCountry(quint32 countryId, quint32 apiVersion, LineCountryList& list);

// Turns a number into the strings to dial and to show. A number in canonical
// form, "+C (A) N" or "+C N", is translated with the current location's
// rules: the same-area rule when C is the location's country code and A is
// empty or the location's area code, the long-distance rule for another area
// of the same country, the international rule otherwise; the outside-line
// access code, the call-waiting code (LINETRANSLATEOPTION_CANCELCALLWAITING)
// and the calling card (the location's, or `card` with
// LINETRANSLATEOPTION_CARDOVERRIDE; 0 no card) are added, and "T" or "P"
// leads. Any other number is dialed and shown as given.
// LINEERR_INVALADDRESS for an empty or malformed number, LINEERR_INVALCARD
// for a card that does not exist.
LineResult lineTranslateAddress(HLINEAPP lineApp, quint32 deviceId, quint32 apiVersion,
                                const QString& addressIn, quint32 card, quint32 translateOptions,
                                LineTranslateOutput& output);

struct DialingLocation;
struct CallingCard;
struct Country;

// The translation itself, for one location, its country and the card to use
// (nullptr: none). lineTranslateAddress reads the configuration and calls it.
LineResult translateAddress(const DialingLocation& location, const Country& country,
                            const CallingCard* card, const QString& addressIn,
                            quint32 translateOptions, LineTranslateOutput& output);

} // namespace telvaro
