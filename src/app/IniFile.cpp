#include "app/IniFile.h"

#include "app/AtomicFile.h"
#include "app/Cp1252.h"

#include <QFile>

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
std::optional<QByteArrayView> sectionName(QByteArrayView line)
{
    const QByteArrayView t = trimBlanks(line);
    if (t.isEmpty() || t[0] != '[')
        return std::nullopt;
    QByteArrayView inner = t.sliced(1);
    const qsizetype close = inner.indexOf(']');
    if (close >= 0)
        inner = inner.first(close);
    return trimBlanks(inner);
}

// The folded key of a key line, or nullopt for a line without "=".
std::optional<QByteArray> foldedKey(QByteArrayView line)
{
    const qsizetype eq = line.indexOf('=');
    if (eq < 0)
        return std::nullopt;
    return cp1252::fold(trimBlanks(line.first(eq)));
}

QByteArrayView valueOf(QByteArrayView line)
{
    const qsizetype eq = line.indexOf('=');
    QByteArrayView v = trimBlanks(line.sliced(eq + 1));
    if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v[v.size() - 1] == v[0])
        v = v.sliced(1, v.size() - 2);
    return v;
}

QByteArray foldedName(QStringView text)
{
    return cp1252::fold(trimBlanks(cp1252::encode(text)));
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

IniFile::Stamp IniFile::stampOnDisk() const
{
    Stamp s;
    struct stat st{};
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
    const bool unterminated = !data.isEmpty() && !data.endsWith('\n');

    Section* current = nullptr;
    qsizetype pos = 0;
    const qsizetype n = data.size();
    while (pos < n) {
        qsizetype end = data.indexOf('\n', pos);
        const qsizetype next = end < 0 ? n : end + 1;
        if (end < 0)
            end = n;
        qsizetype contentEnd = end;
        if (contentEnd > pos && data[contentEnd - 1] == '\r')
            --contentEnd;
        QByteArray raw = data.sliced(pos, contentEnd - pos);
        const bool noLineEnd = unterminated && next == n;
        pos = next;

        if (auto name = sectionName(raw)) {
            Section s;
            s.foldedName = cp1252::fold(*name);
            s.header.raw = std::move(raw);
            s.header.noLineEnd = noLineEnd;
            m_sectionIndex[s.foldedName].push_back(int(m_sections.size()));
            m_sections.push_back(std::move(s));
            current = &m_sections.back();
            continue;
        }
        if (!current) {
            m_preamble.push_back(Line{std::move(raw), false, noLineEnd});
            continue;
        }
        if (auto key = foldedKey(raw)) {
            const int index = int(current->lines.size());
            current->keys[*key].push_back(index);
            current->lastKeyLine = index;
        }
        current->lines.push_back(Line{std::move(raw), false, noLineEnd});
    }
}

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

IniFile::Section* IniFile::findSection(const QByteArray& folded)
{
    auto it = m_sectionIndex.find(folded);
    if (it == m_sectionIndex.end())
        return nullptr;
    for (int index : *it)
        if (!m_sections[index].removed)
            return &m_sections[index];
    return nullptr;
}

int IniFile::findKeyLine(Section& section, const QByteArray& folded) const
{
    auto it = section.keys.find(folded);
    if (it == section.keys.end())
        return -1;
    for (int index : *it)
        if (!section.lines[index].removed)
            return index;
    return -1;
}

QString IniFile::read(QStringView section, QStringView key, int bufferSize)
{
    refreshIfChanged();
    if (bufferSize <= 1)
        return {};
    Section* s = findSection(foldedName(section));
    if (!s)
        return {};
    const int line = findKeyLine(*s, foldedName(key));
    if (line < 0)
        return {};
    QByteArrayView value = valueOf(s->lines[line].raw);
    if (value.size() > bufferSize - 1)
        value = value.first(bufferSize - 1);
    return cp1252::decode(value);
}

bool IniFile::write(QStringView section, QStringView key, QStringView value)
{
    refreshIfChanged();
    const QByteArray foldedSection = foldedName(section);
    const QByteArray keyBytes = cp1252::encode(key);
    const QByteArray folded = cp1252::fold(trimBlanks(keyBytes));
    const QByteArray valueBytes = cp1252::encode(value);

    Section* s = findSection(foldedSection);
    if (!s) {
        Section fresh;
        fresh.foldedName = foldedSection;
        fresh.header.raw = '[' + cp1252::encode(section) + ']';
        fresh.lines.push_back(Line{keyBytes + '=' + valueBytes});
        fresh.keys[folded].push_back(0);
        fresh.lastKeyLine = 0;
        m_sectionIndex[foldedSection].push_back(int(m_sections.size()));
        m_sections.push_back(std::move(fresh));
        return flush();
    }
    const int line = findKeyLine(*s, folded);
    if (line >= 0) {
        QByteArray& raw = s->lines[line].raw;
        raw = raw.first(raw.indexOf('=') + 1) + valueBytes;
        return flush();
    }
    const int at = s->lastKeyLine + 1;
    s->lines.insert(s->lines.begin() + at, Line{keyBytes + '=' + valueBytes});
    // Every key line sits at or before lastKeyLine, so no key position moves.
    s->keys[folded].push_back(at);
    s->lastKeyLine = at;
    return flush();
}

bool IniFile::removeKey(QStringView section, QStringView key)
{
    refreshIfChanged();
    Section* s = findSection(foldedName(section));
    if (!s)
        return true;
    const int line = findKeyLine(*s, foldedName(key));
    if (line < 0)
        return true;
    s->lines[line].removed = true;
    return flush();
}

bool IniFile::removeSection(QStringView section)
{
    refreshIfChanged();
    Section* s = findSection(foldedName(section));
    if (!s)
        return true;
    s->removed = true;
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
    Section* s = findSection(foldedName(section));
    if (!s)
        return names;
    QHash<QByteArray, bool> seen;
    for (const Line& l : s->lines) {
        if (l.removed)
            continue;
        const qsizetype eq = l.raw.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArrayView k = trimBlanks(QByteArrayView(l.raw).first(eq));
        const QByteArray f = cp1252::fold(k);
        if (seen.contains(f))
            continue;
        seen.insert(f, true);
        names << cp1252::decode(k);
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
    QString error;
    if (!writeFileAtomically(m_path, serialize(), &error)) {
        m_lastError = error;
        reload();
        return false;
    }
    m_lastError.clear();
    m_stamp = stampOnDisk();
    return true;
}

} // namespace telvaro
