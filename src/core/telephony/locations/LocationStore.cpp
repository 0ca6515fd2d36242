// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/telephony/locations/LocationStore.h"

#include "settings/IniFile.h"
#include "settings/Paths.h"
#include "core/telephony/locations/Countries.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <tuple>

namespace telvaro {

namespace {

const QString kLocationsSection = QStringLiteral("Locations");
const QString kCurrentKey = QStringLiteral("CurrentID");

// Section names "Location<id>" and "Card<id>"; 0 when `section` is not one.
quint32 idOf(const QString& section, const QString& prefix)
{
    static const QRegularExpression digits(QStringLiteral("^\\d{1,9}$"));
    if (!section.startsWith(prefix, Qt::CaseInsensitive))
        return 0;
    const QString rest = section.mid(prefix.size());
    if (!digits.match(rest).hasMatch())
        return 0;
    return rest.toUInt();
}

// A value written to the file stays on its line.
QString oneLine(QString value)
{
    for (QChar& c : value) {
        if (c == u'\r' || c == u'\n' || c == QChar(0))
            c = u' ';
    }
    return value;
}

bool readFlag(IniFile& ini, const QString& section, const QString& key, bool fallback)
{
    const QString v = ini.read(section, key);
    if (v.isEmpty())
        return fallback;
    return v.toInt() != 0;
}

// A value as a save can write it back: up to a NUL (where a C string ends),
// on one line, without the blanks a quoted value can keep around it (writing
// drops them). So a save that changes nothing gives back what was read.
QString readText(IniFile& ini, const QString& section, QStringView key)
{
    QString value = ini.read(section, key);
    if (const qsizetype nul = value.indexOf(QChar(0)); nul >= 0)
        value.truncate(nul);
    return oneLine(value).trimmed();
}

QString readOr(IniFile& ini, const QString& section, const QString& key, const QString& fallback)
{
    // An empty value reads like a missing key; a key that is present but
    // empty keeps its empty value.
    if (ini.keyNames(section).contains(key, Qt::CaseInsensitive))
        return readText(ini, section, key);
    return fallback;
}

template <typename T> quint32 nextId(const std::vector<T>& items)
{
    quint32 top = 0;
    for (const T& item : items)
        top = std::max(top, item.id);
    return top + 1;
}

} // namespace

DialingLocation* TelephonyLocations::location(quint32 id)
{
    for (DialingLocation& l : locations) {
        if (l.id == id)
            return &l;
    }
    return nullptr;
}

const DialingLocation* TelephonyLocations::location(quint32 id) const
{
    return const_cast<TelephonyLocations*>(this)->location(id);
}

const DialingLocation* TelephonyLocations::currentLocation() const
{
    if (const DialingLocation* l = location(currentLocationId))
        return l;
    return locations.empty() ? nullptr : &locations.front();
}

CallingCard* TelephonyLocations::card(quint32 id)
{
    if (id == 0)
        return nullptr;
    for (CallingCard& c : cards) {
        if (c.id == id)
            return &c;
    }
    return nullptr;
}

const CallingCard* TelephonyLocations::card(quint32 id) const
{
    return const_cast<TelephonyLocations*>(this)->card(id);
}

DialingLocation& TelephonyLocations::addLocation(const QString& name)
{
    DialingLocation l = defaultLocation();
    l.id = nextId(locations);
    l.name = name;
    locations.push_back(std::move(l));
    return locations.back();
}

CallingCard& TelephonyLocations::addCard(const QString& name)
{
    const DialingLocation* here = currentLocation();
    CallingCard c = newCardTemplate(here ? here->countryId : localeCountry().id);
    c.id = nextId(cards);
    c.name = name;
    cards.push_back(std::move(c));
    return cards.back();
}

void TelephonyLocations::removeLocation(quint32 id)
{
    std::erase_if(locations, [id](const DialingLocation& l) { return l.id == id; });
    if (!location(currentLocationId))
        currentLocationId = locations.empty() ? 0 : locations.front().id;
}

void TelephonyLocations::removeCard(quint32 id)
{
    std::erase_if(cards, [id](const CallingCard& c) { return c.id == id; });
    for (DialingLocation& l : locations) {
        if (l.cardId == id)
            l.cardId = 0;
    }
}

DialingLocation defaultLocation()
{
    DialingLocation l;
    l.id = 1;
    l.name = QStringLiteral("My Location");
    l.countryId = localeCountry().id;
    return l;
}

CallingCard newCardTemplate(quint32 countryId)
{
    const Country* country = findCountry(countryId);
    if (!country)
        country = &localeCountry();
    CallingCard c;
    c.sameAreaRule = country->sameAreaRule;
    c.longDistanceRule = QStringLiteral("J,K,H,") + country->longDistanceRule;
    c.internationalRule = QStringLiteral("J,K,H,") + country->internationalRule;
    return c;
}

TelephonyLocations loadLocations()
{
    IniFile ini(paths::telephonyConfigFile());
    TelephonyLocations data;

    const QStringList sections = ini.sectionNames();
    for (const QString& section : sections) {
        if (const quint32 id = idOf(section, QStringLiteral("Location")); id != 0) {
            if (data.location(id))
                continue; // a repeated section: the first one counts
            DialingLocation l;
            l.id = id;
            l.name = readText(ini, section, u"Name");
            if (l.name.isEmpty())
                l.name = QStringLiteral("Location %1").arg(id);
            l.countryId = readText(ini, section, u"Country").toUInt();
            if (!findCountry(l.countryId))
                l.countryId = localeCountry().id;
            l.areaCode = readText(ini, section, u"AreaCode");
            l.localAccess = readText(ini, section, u"LocalAccess");
            l.longDistanceAccess = readText(ini, section, u"LongDistanceAccess");
            l.disableCallWaiting =
                readFlag(ini, section, QStringLiteral("DisableCallWaiting"), false);
            l.callWaitingCode =
                readOr(ini, section, QStringLiteral("CallWaitingCode"), l.callWaitingCode);
            l.pulse = readFlag(ini, section, QStringLiteral("Pulse"), false);
            l.cardId = readText(ini, section, u"Card").toUInt();
            l.blockCallerIdCode =
                readOr(ini, section, QStringLiteral("BlockCallerID"), l.blockCallerIdCode);
            data.locations.push_back(std::move(l));
        } else if (const quint32 cardId = idOf(section, QStringLiteral("Card")); cardId != 0) {
            if (data.card(cardId))
                continue;
            CallingCard c;
            c.id = cardId;
            c.name = readText(ini, section, u"Name");
            if (c.name.isEmpty())
                c.name = QStringLiteral("Card %1").arg(cardId);
            c.accountNumber = readText(ini, section, u"Number");
            c.pin = readText(ini, section, u"PIN");
            c.localAccessNumber = readText(ini, section, u"LocalAccess");
            c.longDistanceAccessNumber = readText(ini, section, u"LongDistanceAccess");
            c.internationalAccessNumber = readText(ini, section, u"InternationalAccess");
            c.sameAreaRule = readText(ini, section, u"SameAreaRule");
            c.longDistanceRule = readText(ini, section, u"LongDistanceRule");
            c.internationalRule = readText(ini, section, u"InternationalRule");
            data.cards.push_back(std::move(c));
        }
    }

    for (DialingLocation& l : data.locations) {
        if (!data.card(l.cardId))
            l.cardId = 0;
    }

    if (data.locations.empty()) {
        data.locations.push_back(defaultLocation());
        data.currentLocationId = data.locations.front().id;
        // A failure leaves the first start for the next reader.
        std::ignore = saveLocations(data);
        return data;
    }

    data.currentLocationId = ini.read(kLocationsSection, kCurrentKey).toUInt();
    if (!data.location(data.currentLocationId))
        data.currentLocationId = data.locations.front().id;
    return data;
}

Result saveLocations(const TelephonyLocations& data)
{
    const QString path = paths::telephonyConfigFile();
    QDir().mkpath(QFileInfo(path).absolutePath());
    const bool hasPin = std::any_of(data.cards.begin(), data.cards.end(),
                                    [](const CallingCard& c) { return !c.pin.isEmpty(); });
    if (hasPin) {
        // The file holds card PINs: nobody but the owner may read it, from
        // before the first PIN reaches it. Rewrites keep the file's
        // permissions.
        QFile file(path);
        if (!file.exists() && file.open(QIODevice::WriteOnly))
            file.close();
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    IniFile ini(path);
    bool ok = true;
    {
        IniFile::Batch batch(ini);
        // Sections of locations and cards that are gone, and those under
        // another spelling of an id ("Location01"): the values go to
        // "Location1", and a reader must not find an older copy first.
        const auto spelledOtherwise = [](const QString& section, const QString& prefix,
                                         quint32 id) {
            return section.compare(prefix + QString::number(id), Qt::CaseInsensitive) != 0;
        };
        for (const QString& section : ini.sectionNames()) {
            const quint32 lid = idOf(section, QStringLiteral("Location"));
            const quint32 cid = idOf(section, QStringLiteral("Card"));
            if ((lid != 0 && (!data.location(lid) ||
                              spelledOtherwise(section, QStringLiteral("Location"), lid))) ||
                (cid != 0 &&
                 (!data.card(cid) || spelledOtherwise(section, QStringLiteral("Card"), cid))))
                ini.removeSection(section);
        }
        const DialingLocation* current = data.currentLocation();
        ini.write(kLocationsSection, kCurrentKey, QString::number(current ? current->id : 0));
        for (const DialingLocation& l : data.locations) {
            const QString s = QStringLiteral("Location%1").arg(l.id);
            ini.write(s, u"Name", oneLine(l.name));
            ini.write(s, u"Country", QString::number(l.countryId));
            ini.write(s, u"AreaCode", oneLine(l.areaCode));
            ini.write(s, u"LocalAccess", oneLine(l.localAccess));
            ini.write(s, u"LongDistanceAccess", oneLine(l.longDistanceAccess));
            ini.write(s, u"DisableCallWaiting", l.disableCallWaiting ? u"1" : u"0");
            ini.write(s, u"CallWaitingCode", oneLine(l.callWaitingCode));
            ini.write(s, u"Pulse", l.pulse ? u"1" : u"0");
            ini.write(s, u"Card", QString::number(l.cardId));
            ini.write(s, u"BlockCallerID", oneLine(l.blockCallerIdCode));
        }
        for (const CallingCard& c : data.cards) {
            const QString s = QStringLiteral("Card%1").arg(c.id);
            ini.write(s, u"Name", oneLine(c.name));
            ini.write(s, u"Number", oneLine(c.accountNumber));
            ini.write(s, u"PIN", oneLine(c.pin));
            ini.write(s, u"LocalAccess", oneLine(c.localAccessNumber));
            ini.write(s, u"LongDistanceAccess", oneLine(c.longDistanceAccessNumber));
            ini.write(s, u"InternationalAccess", oneLine(c.internationalAccessNumber));
            ini.write(s, u"SameAreaRule", oneLine(c.sameAreaRule));
            ini.write(s, u"LongDistanceRule", oneLine(c.longDistanceRule));
            ini.write(s, u"InternationalRule", oneLine(c.internationalRule));
        }
        ok = batch.commit();
    }
    return ok ? Result::success() : Result::failure(ini.lastError());
}

} // namespace telvaro
