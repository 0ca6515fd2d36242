// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace telvaro {

class DirectoryStore;

// Whole-tab changes and the alphabetical arrangement of the directory. Each
// operation is one batch of the settings file and one durable write: it
// returns false when the file could not be written, and then the file and the
// store read exactly as before (the reason is in DirectoryStore::lastError()).
namespace directory {

// Where the logs went: old entry key -> new entry key, for every slot whose
// note log changed its place.
using KeyMoves = QHash<QString, QString>;

// The order of titles: an ascending text order that ignores letter case
// (ties broken by the exact text, so the order is total).
bool titleLess(const QString& a, const QString& b);

// Removes the title of subject tab `tab` and the name and number keys of its
// entries. Note logs stay where they are.
bool deleteTab(DirectoryStore& store, int tab);

// Moves subject tab `from` with its title and entries into tab `to`. Entries
// take their note logs along; a log stored under a destination slot that
// receives an entry goes to the source slot in exchange, so no log is lost or
// lands with another entry. Destination slots the source does not fill keep
// what they hold.
bool moveTab(DirectoryStore& store, int from, int to, KeyMoves* moves = nullptr);

// Puts the titled subject tabs on tabs 1, 2, ... in the order of their
// titles (tabs with equal titles keep their order), the untitled tabs after
// them in their order. Each tab moves whole: title, entries and note logs,
// every entry at its page and button.
bool sortTabs(DirectoryStore& store, KeyMoves* moves = nullptr);

// The slot that ends the group headed by the subtitle in slot `subtitleSlot`
// of `tab`: the first slot of the next page whose first entry starts with
// "*", or 996 when the search reaches the last page. The group is the slots
// between the two.
int subtitleGroupEnd(DirectoryStore& store, bool subjectMode, int tab, int subtitleSlot);

// Sorts the entries of the group headed by `subtitleSlot` by name and packs
// them at its start, each with its number and note log. What the group's
// empty slots hold (a log kept after its entry was deleted) follows in the
// slots after the entries.
bool sortSubtitleGroup(DirectoryStore& store, bool subjectMode, int tab, int subtitleSlot,
                       KeyMoves* moves = nullptr);

// Puts the directory's three sections back as they are in `settingsFile` (the
// bytes of a whole settings file); every other section stays as it is.
bool restoreDirectory(DirectoryStore& store, const QByteArray& settingsFile);

} // namespace directory
} // namespace telvaro
