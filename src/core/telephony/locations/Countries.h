// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <span>

namespace telvaro {

// One country of the dialing rules table. Countries that share a calling code
// (the North American Numbering Plan, Russia and Kazakhstan, the United
// Kingdom and the Channel Islands ...) are separate entries with their own id;
// the first country of a code has the code as its id, the others the code
// times 100 plus a running number (Canada 101, Kazakhstan 701, Jersey 4403).
//
// The rules are written with the letters of the telephony dialing rules:
// E the country code, F the area (city) code, G the subscriber number; every
// other character is dialed as it stands (W waits for a dial tone).
struct Country
{
    quint32 id = 0;
    quint32 code = 0;
    QString iso;               // ISO 3166 alpha-2, e.g. "US"
    QString name;              // in English, e.g. "United States of America"
    QString sameAreaRule;      // "G"
    QString longDistanceRule;  // "1FG", "0FG", "FG" where the area code is part of the number
    QString internationalRule; // "011EFG", "00EFG", "8W10EFG"
};

// Every country, in the order of its id.
std::span<const Country> countries();

// The country with this id, or nullptr.
const Country* findCountry(quint32 id);
// The country with this ISO 3166 alpha-2 code (any letter case), or nullptr.
const Country* findCountryByIso(QStringView iso);

// The country of the system's locale; the United States when the locale names
// no country or one the table does not know.
const Country& localeCountry();

} // namespace telvaro
