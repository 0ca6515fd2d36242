// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/directory/DirectoryArrange.h"

#include "settings/IniFile.h"
#include "core/directory/DirectoryStore.h"

#include <QSet>

#include <limits>

#include <algorithm>
#include <numeric>
#include <vector>

namespace telvaro::directory {
namespace {

// What one slot holds: name, number value and note log, as stored.
struct SlotContent
{
    QString name;
    QString number;
    QString log;
    bool operator==(const SlotContent&) const = default;
};

SlotContent readSlot(DirectoryStore& store, bool subject, int tab, int slot)
{
    const QString key = entryKey(tab, slot);
    return {store.readValue(kSpeedDialSection, nameKey(subject, key)),
            store.readValue(kSpeedDialSection, numberKey(subject, key)),
            store.readValue(kMemoLogSection, logKey(subject, key))};
}

// An empty value is stored as no key at all (it reads the same).
void putValue(DirectoryStore& store, const QString& section, const QString& key,
              const QString& value)
{
    if (value.isEmpty())
        store.file().removeKey(section, key);
    else
        store.writeValue(section, key, value);
}

void putSlot(DirectoryStore& store, bool subject, int tab, int slot, const SlotContent& c)
{
    const QString key = entryKey(tab, slot);
    putValue(store, kSpeedDialSection, nameKey(subject, key), c.name);
    putValue(store, kSpeedDialSection, numberKey(subject, key), c.number);
    putValue(store, kMemoLogSection, logKey(subject, key), c.log);
}

} // namespace

bool titleLess(const QString& a, const QString& b)
{
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
}

bool deleteTab(DirectoryStore& store, int tab)
{
    IniFile::Batch batch(store.file());
    store.deleteTabTitle(tab);
    for (int s = 1; s <= kSlotsPerTab; ++s) {
        const QString key = entryKey(tab, s);
        if (!store.readName(true, key).isEmpty())
            store.deleteEntry(true, key);
    }
    return batch.commit();
}

bool moveTab(DirectoryStore& store, int from, int to, KeyMoves* moves)
{
    IniFile::Batch batch(store.file());
    store.writeTabTitle(to, store.readValue(kTabNameSection, twoDigits(from)));
    for (int s = 1; s <= kSlotsPerTab; ++s) {
        const SlotContent source = readSlot(store, true, from, s);
        if (source.name.isEmpty())
            continue;
        const QString sourceKey = entryKey(from, s);
        const QString targetKey = entryKey(to, s);
        const QString targetLog = store.readValue(kMemoLogSection, logKey(true, targetKey));
        putSlot(store, true, to, s, source);
        store.file().removeKey(kSpeedDialSection, nameKey(true, sourceKey));
        store.file().removeKey(kSpeedDialSection, numberKey(true, sourceKey));
        putValue(store, kMemoLogSection, logKey(true, sourceKey), targetLog);
        if (moves) {
            moves->insert(sourceKey, targetKey);
            moves->insert(targetKey, sourceKey);
        }
    }
    store.deleteTabTitle(from);
    return batch.commit();
}

bool sortTabs(DirectoryStore& store, KeyMoves* moves)
{
    // Reads within the batch take the file as it is in memory, without
    // looking at the disk each time.
    IniFile::Batch batch(store.file());
    std::array<QString, kTabCount> titles;
    for (int t = 1; t <= kTabCount; ++t)
        titles[t - 1] = store.readTabTitle(t);
    // order[h - 1] is the old tab that becomes tab h.
    std::vector<int> order(kTabCount);
    std::iota(order.begin(), order.end(), 1);
    std::stable_sort(order.begin(), order.end(), [&titles](int a, int b) {
        const QString& ta = titles[a - 1];
        const QString& tb = titles[b - 1];
        if (ta.isEmpty() || tb.isEmpty())
            return !ta.isEmpty() && tb.isEmpty(); // untitled tabs after the titled
        return titleLess(ta, tb);
    });
    std::array<int, kTabCount> target{};
    for (int h = 1; h <= kTabCount; ++h)
        target[order[h - 1] - 1] = h;

    // Read every tab that moves before writing any.
    std::vector<std::vector<SlotContent>> content(kTabCount);
    for (int t = 1; t <= kTabCount; ++t) {
        if (target[t - 1] == t)
            continue;
        content[t - 1].reserve(kSlotsPerTab);
        for (int s = 1; s <= kSlotsPerTab; ++s)
            content[t - 1].push_back(readSlot(store, true, t, s));
    }
    for (int t = 1; t <= kTabCount; ++t) {
        const int h = target[t - 1];
        if (h == t)
            continue;
        putValue(store, kTabNameSection, twoDigits(h), titles[t - 1]);
        for (int s = 1; s <= kSlotsPerTab; ++s) {
            putSlot(store, true, h, s, content[t - 1][s - 1]);
            if (moves)
                moves->insert(entryKey(t, s), entryKey(h, s));
        }
    }
    return batch.commit();
}

int subtitleGroupEnd(DirectoryStore& store, bool subjectMode, int tab, int subtitleSlot)
{
    constexpr int kLastPageStart = (kPageCount - 1) * kButtonsPerPage + 1; // 985
    for (int c = subtitleSlot;; c += kButtonsPerPage) {
        if (c >= kLastPageStart)
            return kSlotsPerTab;
        if (c > subtitleSlot &&
            store.readName(subjectMode, entryKey(tab, c)).startsWith(QLatin1Char('*')))
            return c;
    }
}

bool sortSubtitleGroup(DirectoryStore& store, bool subjectMode, int tab, int subtitleSlot,
                       KeyMoves* moves)
{
    IniFile::Batch batch(store.file());
    const int end = subtitleGroupEnd(store, subjectMode, tab, subtitleSlot);
    // Each slot's content with the slot it came from.
    using Row = std::pair<SlotContent, int>;
    std::vector<SlotContent> before;
    std::vector<Row> entries;
    std::vector<Row> rest;
    for (int s = subtitleSlot + 1; s < end; ++s) {
        before.push_back(readSlot(store, subjectMode, tab, s));
        (before.back().name.isEmpty() ? rest : entries).emplace_back(before.back(), s);
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Row& a, const Row& b) {
        return titleLess(a.first.name, b.first.name);
    });
    entries.insert(entries.end(), rest.begin(), rest.end());
    for (size_t i = 0; i < entries.size(); ++i) {
        const int slot = subtitleSlot + 1 + int(i);
        if (!(entries[i].first == before[i]))
            putSlot(store, subjectMode, tab, slot, entries[i].first);
        if (moves && entries[i].second != slot)
            moves->insert(entryKey(tab, entries[i].second), entryKey(tab, slot));
    }
    return batch.commit();
}

bool restoreDirectory(DirectoryStore& store, const QByteArray& settingsFile)
{
    IniFile saved{QString()};
    saved.parseBytes(settingsFile);
    IniFile& file = store.file();
    IniFile::Batch reading(saved);
    IniFile::Batch batch(file);
    for (const QString& section : {kSpeedDialSection, kTabNameSection, kMemoLogSection}) {
        const QStringList keys = saved.keyNames(section);
        QSet<QString> kept;
        for (const QString& key : keys)
            kept.insert(key.toLower());
        for (const QString& key : file.keyNames(section))
            if (!kept.contains(key.toLower()))
                file.removeKey(section, key);
        for (const QString& key : keys) {
            const QString value = saved.read(section, key, std::numeric_limits<int>::max());
            if (value != store.readValue(section, key))
                store.writeValue(section, key, value);
        }
    }
    return batch.commit();
}

} // namespace telvaro::directory
