// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/Result.h"

#include <QString>

#include <vector>

namespace telvaro {

// A dialing location: where the user dials from and how the telephone system
// there is reached.
struct DialingLocation
{
    quint32 id = 0; // permanent id, 1 and up
    QString name;
    quint32 countryId = 1;
    QString areaCode;
    QString localAccess;        // outside line for local calls, e.g. "9"
    QString longDistanceAccess; // outside line for long-distance and international calls
    bool disableCallWaiting = false;
    QString callWaitingCode = QStringLiteral("*70,"); // dialed first when disabling is on
    bool pulse = false;
    quint32 cardId = 0; // calling card in use; 0 none (direct dial)
    QString blockCallerIdCode = QStringLiteral("*67,");

    // The code that cancels call waiting: empty when this location does not
    // disable it.
    QString cancelCallWaiting() const { return disableCallWaiting ? callWaitingCode : QString(); }
};

// A calling card. Its rules use the letters of the country rules (E country
// code, F area code, G subscriber number) and those of the card:
//   J the card's access number for the kind of call (local, long distance,
//     international), K the account (card) number, H the PIN,
//   W wait for a dial tone, @ wait for quiet answer, $ wait for the billing
//   tone, ? wait for the user, "," pause, T / P switch to tone / pulse.
// An empty rule means the country's rule for that kind of call, with no card.
struct CallingCard
{
    quint32 id = 0; // permanent id, 1 and up (0 means "no card")
    QString name;
    QString accountNumber; // K
    QString pin;           // H: never shown, never in a displayable string
    QString localAccessNumber;
    QString longDistanceAccessNumber;
    QString internationalAccessNumber;
    QString sameAreaRule;
    QString longDistanceRule;
    QString internationalRule;
};

// All locations and cards of the telephony configuration.
struct TelephonyLocations
{
    std::vector<DialingLocation> locations;
    quint32 currentLocationId = 0;
    std::vector<CallingCard> cards;

    DialingLocation* location(quint32 id);
    const DialingLocation* location(quint32 id) const;
    const DialingLocation* currentLocation() const;
    CallingCard* card(quint32 id);
    const CallingCard* card(quint32 id) const;

    // A new location or card with the next free id, appended.
    DialingLocation& addLocation(const QString& name);
    CallingCard& addCard(const QString& name);
    // Removes a location (the current one moves to the first left) or a card
    // (locations using it fall back to direct dial).
    void removeLocation(quint32 id);
    void removeCard(quint32 id);
};

// The location created on a first start: the system locale's country, no
// area code, tone dialing.
DialingLocation defaultLocation();

// A new card's rules for dialing from a country: its own access number,
// account number and PIN, then the country's rule.
CallingCard newCardTemplate(quint32 countryId);

// Reads the locations and cards from the line layer's configuration file
// (paths::telephonyConfigFile()). A file without locations gets the default
// location, written back so the next reader sees the same id. Values the file
// gets wrong (an unknown country, a current location or card that does not
// exist) are mended in what is returned. Never fails: an unreadable file reads
// as a first start.
TelephonyLocations loadLocations();
// Writes them back in one change of the file; the file's other sections (the
// modems) stay as they are. A card with a PIN makes the file readable by its
// owner only. Fails with the reason when it could not be written.
Result saveLocations(const TelephonyLocations& data);

} // namespace telvaro
