// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

namespace telvaro {

class IniFile;

// The speed-dial directory as it lives in the settings file: two directories
// (index tabs A-Z and subject tabs with user titles) of 26 tabs x 83 pages x
// 12 buttons, kept in the sections "Speed Dial", "TabName" and "MemoLog".
// Nothing is cached here: every read goes to the settings file (the INI
// engine keeps it in memory) and every change is written at once.
namespace directory {

constexpr int kTabCount = 26;
constexpr int kPageCount = 83;
constexpr int kButtonsPerPage = 12;
constexpr int kSlotsPerTab = kPageCount * kButtonsPerPage; // 996

// Names, numbers and titles come back with at most 999 characters, note logs
// with at most 5999.
constexpr int kValueBuffer = 1000;
constexpr int kLogBuffer = 6000;

// The character that ends a stored note log (byte 0xDE of the file).
constexpr char16_t kLogTerminator = 0x00DE;

inline const QString kSpeedDialSection = QStringLiteral("Speed Dial");
inline const QString kTabNameSection = QStringLiteral("TabName");
inline const QString kMemoLogSection = QStringLiteral("MemoLog");

// "0#": at least two digits, never cut.
QString twoDigits(int n);
// Tab number (1-26) and slot number (1-996): 0101, 0312, 12100, 26996.
QString entryKey(int tab, int slot);
inline QString entryKey(int tab, int page, int button)
{
    return entryKey(tab, page * kButtonsPerPage + button);
}
// The slot number of a key: the numeric value from its third character on;
// 0 when there is none.
int slotOfKey(const QString& key);
// The tab number of a key: its first two characters; 0 when not a number.
int tabOfKey(const QString& key);

// Key names for the mode (false: index tabs, true: subject tabs).
QString nameKey(bool subjectMode, const QString& key);
QString numberKey(bool subjectMode, const QString& key);
QString logKey(bool subjectMode, const QString& key);

// Number values: "XX" in front marks an entry that ignores the dialing
// properties; a double quote in front (and no "XX") marks a command entry.
bool ignoresDialingProperties(const QString& numberValue);
bool isCommand(const QString& numberValue);
// The value without a leading "XX".
QString withoutIgnoreMarker(const QString& numberValue);

// Note logs are stored with each line break as "@@" and the character 222 as
// terminator. Line breaks may be CR LF, LF or CR alone. A character 222 inside
// the text would end the log at that point when it is read back, losing
// everything after it; it is stored as the small letter thorn (254) instead.
QString encodeNoteLog(const QString& text);
// The text of a stored log, with CR LF line breaks. A value without the
// terminator is an empty log.
QString decodeNoteLog(const QString& stored);

struct Entry
{
    QString name;
    QString number;
    bool isEmpty() const { return name.isEmpty(); }
};

} // namespace directory

// Access to the directory sections of one settings file. Tells of every
// change it writes to the directory (an entry, a note, a title, a removal),
// as soon as it is written.
class DirectoryStore : public QObject
{
    Q_OBJECT

public:
    // Works on `file` (not owned).
    explicit DirectoryStore(IniFile& file, QObject* parent = nullptr);

    IniFile& file() { return *m_file; }

    directory::Entry readEntry(bool subjectMode, const QString& key);
    QString readName(bool subjectMode, const QString& key);
    QString readNumber(bool subjectMode, const QString& key);
    bool writeEntryName(bool subjectMode, const QString& key, const QString& name);
    bool writeEntryNumber(bool subjectMode, const QString& key, const QString& number);
    // Removes the name and number keys; the note log stays.
    bool deleteEntry(bool subjectMode, const QString& key);

    QString readTabTitle(int tab);
    bool writeTabTitle(int tab, const QString& title);
    bool deleteTabTitle(int tab);

    // The stored (encoded) log value, at most 5999 characters.
    QString readNoteLog(bool subjectMode, const QString& key);
    bool writeNoteLog(bool subjectMode, const QString& key, const QString& encoded);

    // Why the last write failed (empty after a good one).
    QString lastError() const;

    // Any key of the directory's sections: the whole value, and a write that
    // reads back as written (a missing key reads empty).
    QString readValue(const QString& section, const QString& key);
    bool writeValue(const QString& section, const QString& key, const QString& value);

Q_SIGNALS:
    void changed();

private:
    // A good write is told to whoever follows the directory's changes.
    bool changedIf(bool written);

    IniFile* m_file;
};

} // namespace telvaro
