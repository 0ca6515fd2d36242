// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace telvaro {

// An INI file read and written with the semantics of the Windows
// private-profile functions, so that files written by the Windows-era program
// load unchanged and files written here load there:
//  - bytes in Windows-1252, CR LF line ends written, LF alone accepted;
//  - a line starting with "[" and holding a "]" opens a section named by
//    the text up to its last "]";
//  - section and key names match without regard to letter case; the first
//    matching section wins, and in it the first matching key;
//  - blanks around key and value are dropped on reading, and a value enclosed
//    in a matching pair of quotes loses the pair;
//  - writing replaces the first match's value in place, or appends the key
//    after the last key line of its section, or appends a new section at the
//    end; every other line keeps its bytes and its place.
// The file is parsed once and kept in memory; a read that finds the file
// changed on disk parses it again. Every change is written durably as a whole
// new file (see writeFileAtomically); a failed write leaves the in-memory state
// equal to what is on disk and is reported through the return value and
// lastError().
class IniFile
{
public:
    static constexpr int kDefaultBufferSize = 1000;

    explicit IniFile(QString path);

    const QString& path() const { return m_path; }

    // The value of a key, cut to bufferSize - 1 characters; empty when the key
    // or its section is missing (an empty value reads the same as a missing
    // key).
    QString read(QStringView section, QStringView key, int bufferSize = kDefaultBufferSize);
    bool contains(QStringView section, QStringView key) { return !read(section, key).isEmpty(); }

    // Writes `value` so that it reads back as given, here and with the
    // Windows functions, apart from the blanks around it, which reading
    // drops: a value that reading would take as enclosed in quotes is stored
    // with one more pair ("Bob" as ""Bob""). Returns false when the file could not
    // be written, and also, changing nothing, when the text could not be
    // read back as written: a line break in any of the three, an "=" in the
    // key or a key starting with "[", a "]" in the section name, an empty
    // key.
    bool write(QStringView section, QStringView key, QStringView value);
    // Removes the first matching key (a null value for the Windows writer).
    bool removeKey(QStringView section, QStringView key);
    // Removes the first matching section with all its lines (a null key).
    bool removeSection(QStringView section);

    // Section names in file order, and the key names of the first matching
    // section in file order (each name once, as first spelled).
    QStringList sectionNames();
    QStringList keyNames(QStringView section);

    // Bulk changes: writes between beginBatch() and commitBatch() change the
    // memory only; the commit writes the file once. Batches nest; the
    // outermost commit writes.
    void beginBatch();
    bool commitBatch();

    class Batch
    {
    public:
        explicit Batch(IniFile& file) : m_file(file) { m_file.beginBatch(); }
        ~Batch()
        {
            if (!m_done)
                m_file.commitBatch();
        }
        bool commit()
        {
            m_done = true;
            return m_file.commitBatch();
        }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        IniFile& m_file;
        bool m_done = false;
    };

    // Parses the file again from the disk.
    void reload();
    // Takes `data` as the file's content without reading the disk (tests and
    // the fuzz target); the next read still notices a change on the disk.
    void parseBytes(const QByteArray& data);
    QString lastError() const { return m_lastError; }
    // The whole file as it would be written now.
    QByteArray serialize() const;

private:
    struct Line
    {
        QByteArray raw; // the line's bytes, without its line end
        bool removed = false;
        bool noLineEnd = false; // the file's last line, read without a line end
    };
    // The first item of each name (section or key, compared without regard to
    // letter case): an open-addressing table of item positions, built when
    // first needed. A removed item leaves the table at once; when the items
    // held its name twice (a file edited by hand), the next item of that name
    // takes its place, so no removal has to build the table again.
    struct NameIndex
    {
        struct Slot
        {
            quint32 hash = 0;
            int item = -1;
        };
        std::vector<Slot> slots;
        int used = 0;
        bool valid = false;
        bool duplicates = false; // some name was met more than once
        // Key tables: for each folded name met more than once, the later
        // items of that name in order.
        QHash<QByteArray, std::vector<int>> later;
        void clear()
        {
            slots.clear();
            used = 0;
            valid = false;
            duplicates = false;
            later.clear();
        }
    };
    struct Section
    {
        Line header;
        std::vector<Line> lines;
        NameIndex keys;
        int lastKeyLine = -1;
        bool removed = false;
    };
    struct Stamp
    {
        bool exists = false;
        qint64 size = 0;
        qint64 mtimeNs = 0;
        qint64 ctimeNs = 0;
        quint64 inode = 0;
        bool operator==(const Stamp&) const = default;
    };

    void refreshIfChanged();
    void parse(const QByteArray& data);
    Stamp stampOnDisk() const;
    Section* findSection(QByteArrayView foldedName);
    int findKeyLine(Section& section, QByteArrayView foldedKey);
    bool flush();

    QString m_path;
    QByteArray m_data; // the file as read; unchanged lines point into it
    std::vector<Line> m_preamble;
    std::vector<Section> m_sections;
    NameIndex m_sectionIndex;
    Stamp m_stamp;
    bool m_loaded = false;
    int m_batchDepth = 0;
    bool m_batchDirty = false;
    QString m_lastError;
};

} // namespace telvaro
