// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/IniFile.h"

#include "settings/AtomicFile.h"
#include "settings/Cp1252.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cstring>

#include <sys/stat.h>

namespace telvaro {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView trimBlanks(QByteArrayView v)
{
    qsizetype b = 0;
    qsizetype e = v.size();
    while (b < e && isBlank(v[b]))
        ++b;
    while (e > b && isBlank(v[e - 1]))
        --e;
    return v.sliced(b, e - b);
}

// The name of a section header line, or nullopt when the line is no header.
// A header starts with "[" and its name runs to the last "]" of the line
// ("[[A]]" names "[A]"); a line with no "]" after its "[" is no header, and a
// key line when it holds "=".
std::optional<QByteArrayView> sectionName(QByteArrayView line)
{
    const QByteArrayView t = trimBlanks(line);
    if (t.isEmpty() || t[0] != '[')
        return std::nullopt;
    const QByteArrayView inner = t.sliced(1);
    const qsizetype close = inner.lastIndexOf(']');
    if (close < 0)
        return std::nullopt;
    return trimBlanks(inner.first(close));
}

// The key of a key line (blanks around it dropped), or nullopt for a line
// without "=".
std::optional<QByteArrayView> keyName(QByteArrayView line)
{
    const qsizetype eq = line.indexOf('=');
    if (eq < 0)
        return std::nullopt;
    return trimBlanks(line.first(eq));
}

// FNV-1a over the folded bytes.
quint32 foldedHash(QByteArrayView bytes)
{
    quint32 h = 2166136261u;
    for (char c : bytes) {
        h ^= cp1252::foldByte(static_cast<unsigned char>(c));
        h *= 16777619u;
    }
    return h;
}

// Equal without regard to letter case.
bool equalsFolded(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (cp1252::foldByte(static_cast<unsigned char>(a[i])) !=
            cp1252::foldByte(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// A value, blanks around it dropped, read as enclosed in a pair of quotes.
bool isQuotedPair(QByteArrayView v)
{
    return v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v[v.size() - 1] == v[0];
}

QByteArrayView valueOf(QByteArrayView line)
{
    const qsizetype eq = line.indexOf('=');
    QByteArrayView v = trimBlanks(line.sliced(eq + 1));
    if (isQuotedPair(v))
        v = v.sliced(1, v.size() - 2);
    return v;
}

// The bytes to store after "=" so that the value reads back as given, blanks
// around it aside: reading drops a pair of quotes around the value ("Bob",
// '', a command entry "prog "file"), so such a value gets one more pair.
QByteArray storedValue(QStringView value)
{
    QByteArray bytes = cp1252::encode(value);
    const QByteArrayView seen = trimBlanks(bytes);
    if (isQuotedPair(seen))
        bytes = '"' + seen.toByteArray() + '"';
    return bytes;
}

// A section or key name as the file holds it, blanks around it dropped.
QByteArray nameBytes(QStringView text)
{
    return trimBlanks(cp1252::encode(text)).toByteArray();
}

bool hasLineBreak(QStringView text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

// Why a write of these names and value would not read back as written (a
// line break would add lines of its own, an "=" in a key or a "]" in a
// section name would move the split); empty when it is fine.
QString unwritableReason(QStringView section, QStringView key, QStringView value)
{
    if (hasLineBreak(section) || section.contains(QLatin1Char(']')))
        return QCoreApplication::translate("telvaro::IniFile",
                                           "the section name \"%1\" cannot be stored")
            .arg(section);
    const QStringView trimmedKey = key.trimmed();
    if (hasLineBreak(key) || key.contains(QLatin1Char('=')) || trimmedKey.isEmpty() ||
        trimmedKey.startsWith(QLatin1Char('[')))
        return QCoreApplication::translate("telvaro::IniFile",
                                           "the key name \"%1\" cannot be stored")
            .arg(key);
    if (hasLineBreak(value))
        return QCoreApplication::translate("telvaro::IniFile",
                                           "the value of \"%1\" holds a line break")
            .arg(key);
    return {};
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

IniFile::Stamp IniFile::stampOnDisk() const
{
    Stamp s;
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(m_path).constData(), &st) == 0 && S_ISREG(st.st_mode)) {
        s.exists = true;
        s.size = st.st_size;
        s.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        s.ctimeNs = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
        s.inode = st.st_ino;
    }
    return s;
}

void IniFile::refreshIfChanged()
{
    if (m_batchDepth > 0 && m_loaded)
        return; // a batch works on its own in-memory state until it commits
    const Stamp now = stampOnDisk();
    if (m_loaded && now == m_stamp)
        return;
    QByteArray data;
    if (now.exists) {
        QFile f(m_path);
        if (f.open(QIODevice::ReadOnly))
            data = f.readAll();
    }
    parse(data);
    m_stamp = now;
    m_loaded = true;
}

void IniFile::parseBytes(const QByteArray& data)
{
    parse(data);
    m_stamp = stampOnDisk();
    m_loaded = true;
}

void IniFile::reload()
{
    m_loaded = false;
    refreshIfChanged();
}

void IniFile::parse(const QByteArray& data)
{
    m_preamble.clear();
    m_sections.clear();
    m_sectionIndex.clear();
    // Lines that are not changed point into the file's bytes instead of
    // holding copies: parsing a large file then costs one pass over it.
    m_data = data;
    const char* const base = m_data.constData();
    const qsizetype n = m_data.size();
    const bool unterminated = n > 0 && base[n - 1] != '\n';

    Section* current = nullptr;
    qsizetype pos = 0;
    while (pos < n) {
        const void* nl = std::memchr(base + pos, '\n', size_t(n - pos));
        const qsizetype end = nl ? static_cast<const char*>(nl) - base : n;
        const qsizetype next = nl ? end + 1 : n;
        qsizetype contentEnd = end;
        if (nl && contentEnd > pos && base[contentEnd - 1] == '\r')
            --contentEnd;
        Line line{QByteArray::fromRawData(base + pos, contentEnd - pos), false,
                  unterminated && next == n};
        pos = next;

        if (sectionName(line.raw)) {
            m_sections.emplace_back();
            current = &m_sections.back();
            current->header = std::move(line);
            continue;
        }
        if (!current) {
            m_preamble.push_back(std::move(line));
            continue;
        }
        if (line.raw.contains('='))
            current->lastKeyLine = int(current->lines.size());
        current->lines.push_back(std::move(line));
    }
}

namespace {

// Looks `folded` up in `index`; `nameOf(item)` gives an item's name as written.
template <typename NameOf>
int lookUp(const auto& index, QByteArrayView folded, quint32 hash, NameOf nameOf)
{
    if (index.slots.empty())
        return -1;
    const size_t mask = index.slots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const auto& slot = index.slots[i];
        if (slot.item < 0)
            return -1;
        if (slot.hash == hash && equalsFolded(nameOf(slot.item), folded))
            return slot.item;
    }
}

template <typename Index> void insertInto(Index& index, quint32 hash, int item)
{
    if (size_t(index.used + 1) * 2 > index.slots.size()) {
        std::vector<typename std::decay_t<decltype(index.slots)>::value_type> old;
        old.swap(index.slots);
        index.slots.resize(std::max<size_t>(16, old.size() * 2));
        const size_t mask = index.slots.size() - 1;
        for (const auto& slot : old) {
            if (slot.item < 0)
                continue;
            size_t i = slot.hash & mask;
            while (index.slots[i].item >= 0)
                i = (i + 1) & mask;
            index.slots[i] = slot;
        }
    }
    const size_t mask = index.slots.size() - 1;
    size_t i = hash & mask;
    while (index.slots[i].item >= 0)
        i = (i + 1) & mask;
    index.slots[i].hash = hash;
    index.slots[i].item = item;
    ++index.used;
}

// Takes `item` out of `index` (linear probing: the entries after it in its
// run move back, so that every lookup still finds its entry).
template <typename Index> void eraseFrom(Index& index, quint32 hash, int item)
{
    if (index.slots.empty())
        return;
    const size_t mask = index.slots.size() - 1;
    size_t i = hash & mask;
    while (index.slots[i].item != item) {
        if (index.slots[i].item < 0)
            return;
        i = (i + 1) & mask;
    }
    size_t hole = i;
    for (size_t j = (hole + 1) & mask; index.slots[j].item >= 0; j = (j + 1) & mask) {
        const size_t home = index.slots[j].hash & mask;
        // The entry at j may fill the hole when its home is not within (hole, j].
        const bool between = hole <= j ? (home > hole && home <= j) : (home > hole || home <= j);
        if (!between) {
            index.slots[hole] = index.slots[j];
            hole = j;
        }
    }
    index.slots[hole] = {};
    --index.used;
}

} // namespace

QByteArray IniFile::serialize() const
{
    qsizetype total = 0;
    for (const Line& l : m_preamble)
        total += l.raw.size() + 2;
    for (const Section& s : m_sections) {
        if (s.removed)
            continue;
        total += s.header.raw.size() + 2;
        for (const Line& l : s.lines)
            total += l.raw.size() + 2;
    }
    QByteArray out;
    out.reserve(total);
    const Line* last = nullptr;
    auto put = [&out, &last](const Line& l) {
        if (l.removed)
            return;
        out.append(l.raw);
        out.append("\r\n", 2);
        last = &l;
    };
    for (const Line& l : m_preamble)
        put(l);
    for (const Section& s : m_sections) {
        if (s.removed)
            continue;
        put(s.header);
        for (const Line& l : s.lines)
            put(l);
    }
    // A last line that had no line end keeps it that way while it stays last.
    if (last && last->noLineEnd)
        out.chop(2);
    return out;
}

IniFile::Section* IniFile::findSection(QByteArrayView name)
{
    auto nameOf = [this](int item) { return *sectionName(m_sections[size_t(item)].header.raw); };
    if (!m_sectionIndex.valid) {
        m_sectionIndex.clear();
        for (int i = 0; i < int(m_sections.size()); ++i) {
            if (m_sections[size_t(i)].removed)
                continue;
            const QByteArrayView name = nameOf(i);
            const quint32 h = foldedHash(name);
            if (lookUp(m_sectionIndex, name, h, nameOf) < 0)
                insertInto(m_sectionIndex, h, i);
        }
        m_sectionIndex.valid = true;
    }
    const int found = lookUp(m_sectionIndex, name, foldedHash(name), nameOf);
    return found < 0 ? nullptr : &m_sections[size_t(found)];
}

int IniFile::findKeyLine(Section& section, QByteArrayView key)
{
    auto nameOf = [&section](int item) { return *keyName(section.lines[size_t(item)].raw); };
    NameIndex& index = section.keys;
    if (!index.valid) {
        index.clear();
        for (int i = 0; i <= section.lastKeyLine; ++i) {
            const Line& line = section.lines[size_t(i)];
            if (line.removed)
                continue;
            const std::optional<QByteArrayView> name = keyName(line.raw);
            if (!name)
                continue;
            const quint32 h = foldedHash(*name);
            if (lookUp(index, *name, h, nameOf) < 0) {
                insertInto(index, h, i);
            } else {
                index.duplicates = true;
                index.later[cp1252::fold(*name)].push_back(i);
            }
        }
        index.valid = true;
    }
    return lookUp(index, key, foldedHash(key), nameOf);
}

QString IniFile::read(QStringView section, QStringView key, int bufferSize)
{
    refreshIfChanged();
    if (bufferSize <= 1)
        return {};
    Section* s = findSection(nameBytes(section));
    if (!s)
        return {};
    const int line = findKeyLine(*s, nameBytes(key));
    if (line < 0)
        return {};
    QByteArrayView value = valueOf(s->lines[line].raw);
    if (value.size() > bufferSize - 1)
        value = value.first(bufferSize - 1);
    return cp1252::decode(value);
}

bool IniFile::write(QStringView section, QStringView key, QStringView value)
{
    if (const QString reason = unwritableReason(section, key, value); !reason.isEmpty()) {
        m_lastError = QCoreApplication::translate("telvaro::Files", "Cannot write %1: %2")
                          .arg(m_path, reason);
        return false;
    }
    refreshIfChanged();
    const QByteArray sectionBytes = nameBytes(section);
    const QByteArray keyBytes = cp1252::encode(key);
    const QByteArray trimmedKey = trimBlanks(keyBytes).toByteArray();
    const QByteArray valueBytes = storedValue(value);

    Section* s = findSection(sectionBytes);
    if (!s) {
        Section fresh;
        fresh.header.raw = '[' + cp1252::encode(section) + ']';
        fresh.lines.push_back(Line{keyBytes + '=' + valueBytes});
        fresh.lastKeyLine = 0;
        m_sections.push_back(std::move(fresh));
        if (m_sectionIndex.valid)
            insertInto(m_sectionIndex, foldedHash(sectionBytes), int(m_sections.size()) - 1);
        return flush();
    }
    const int line = findKeyLine(*s, trimmedKey);
    if (line >= 0) {
        QByteArray& raw = s->lines[size_t(line)].raw;
        raw = raw.first(raw.indexOf('=') + 1) + valueBytes;
        return flush();
    }
    const int at = s->lastKeyLine + 1;
    s->lines.insert(s->lines.begin() + at, Line{keyBytes + '=' + valueBytes});
    // Every key line sits at or before lastKeyLine, so no indexed line moves.
    s->lastKeyLine = at;
    if (s->keys.valid)
        insertInto(s->keys, foldedHash(trimmedKey), at);
    return flush();
}

bool IniFile::removeKey(QStringView section, QStringView key)
{
    refreshIfChanged();
    Section* s = findSection(nameBytes(section));
    if (!s)
        return true;
    const int line = findKeyLine(*s, nameBytes(key));
    if (line < 0)
        return true;
    const QByteArray name = nameBytes(key);
    const quint32 hash = foldedHash(name);
    NameIndex& index = s->keys;
    eraseFrom(index, hash, line);
    s->lines[size_t(line)].removed = true;
    // A later line of the same name (a file edited by hand) is the first now.
    if (index.duplicates) {
        const auto it = index.later.find(cp1252::fold(name));
        if (it != index.later.end()) {
            std::vector<int>& rest = *it;
            insertInto(index, hash, rest.front());
            rest.erase(rest.begin());
            if (rest.empty())
                index.later.erase(it);
        }
    }
    return flush();
}

bool IniFile::removeSection(QStringView section)
{
    refreshIfChanged();
    Section* s = findSection(nameBytes(section));
    if (!s)
        return true;
    s->removed = true;
    m_sectionIndex.valid = false;
    return flush();
}

QStringList IniFile::sectionNames()
{
    refreshIfChanged();
    QStringList names;
    for (const Section& s : m_sections)
        if (!s.removed)
            names << cp1252::decode(*sectionName(s.header.raw));
    return names;
}

QStringList IniFile::keyNames(QStringView section)
{
    refreshIfChanged();
    QStringList names;
    Section* s = findSection(nameBytes(section));
    if (!s)
        return names;
    for (int i = 0; i < int(s->lines.size()); ++i) {
        const Line& l = s->lines[size_t(i)];
        if (l.removed)
            continue;
        const std::optional<QByteArrayView> k = keyName(l.raw);
        if (k && findKeyLine(*s, *k) == i) // the first line of its name
            names << cp1252::decode(*k);
    }
    return names;
}

void IniFile::beginBatch()
{
    refreshIfChanged();
    ++m_batchDepth;
}

bool IniFile::commitBatch()
{
    if (m_batchDepth == 0)
        return true;
    if (--m_batchDepth > 0)
        return true;
    if (!m_batchDirty)
        return true;
    m_batchDirty = false;
    return flush();
}

bool IniFile::flush()
{
    if (m_batchDepth > 0) {
        m_batchDirty = true;
        return true;
    }
    if (const Result written = writeFileAtomically(m_path, serialize()); !written) {
        m_lastError = written.error;
        reload();
        return false;
    }
    m_lastError.clear();
    m_stamp = stampOnDisk();
    return true;
}

} // namespace telvaro
