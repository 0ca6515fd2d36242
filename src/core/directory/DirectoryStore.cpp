// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/directory/DirectoryStore.h"

#include "settings/IniFile.h"

#include <limits>

namespace telvaro {
namespace directory {

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

QString entryKey(int tab, int slot)
{
    return twoDigits(tab) + twoDigits(slot);
}

int slotOfKey(const QString& key)
{
    if (key.size() < 3)
        return 0;
    bool ok = false;
    const int slot = QStringView(key).mid(2).toInt(&ok);
    return ok ? slot : 0;
}

int tabOfKey(const QString& key)
{
    if (key.size() < 3)
        return 0;
    bool ok = false;
    const int tab = QStringView(key).first(2).toInt(&ok);
    return ok ? tab : 0;
}

QString nameKey(bool subjectMode, const QString& key)
{
    return (subjectMode ? QStringLiteral("NName") : QStringLiteral("Name")) + key;
}

QString numberKey(bool subjectMode, const QString& key)
{
    return (subjectMode ? QStringLiteral("NNumber") : QStringLiteral("Number")) + key;
}

QString logKey(bool subjectMode, const QString& key)
{
    return (subjectMode ? QStringLiteral("LLog") : QStringLiteral("Log")) + key;
}

bool ignoresDialingProperties(const QString& numberValue)
{
    return numberValue.startsWith(QLatin1String("XX"));
}

bool isCommand(const QString& numberValue)
{
    return numberValue.startsWith(QLatin1Char('"'));
}

QString withoutIgnoreMarker(const QString& numberValue)
{
    return ignoresDialingProperties(numberValue) ? numberValue.mid(2) : numberValue;
}

QString encodeNoteLog(const QString& text)
{
    QString out;
    out.reserve(text.size() + 1);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            out += QLatin1String("@@");
        } else if (c == QLatin1Char('\n')) {
            out += QLatin1String("@@");
        } else if (c == QChar(kLogTerminator)) {
            out += QChar(0x00FE);
        } else {
            out += c;
        }
    }
    out += QChar(kLogTerminator);
    return out;
}

QString decodeNoteLog(const QString& stored)
{
    const qsizetype end = stored.indexOf(QChar(kLogTerminator));
    if (end < 0)
        return {};
    QString out;
    out.reserve(end + 16);
    for (qsizetype i = 0; i < end; ++i) {
        if (stored[i] == QLatin1Char('@') && i + 1 < end && stored[i + 1] == QLatin1Char('@')) {
            out += QLatin1String("\r\n");
            ++i;
        } else {
            out += stored[i];
        }
    }
    return out;
}

} // namespace directory

using namespace directory;

bool DirectoryStore::changedIf(bool written)
{
    if (written)
        Q_EMIT changed();
    return written;
}

DirectoryStore::DirectoryStore(IniFile& file, QObject* parent) : QObject(parent), m_file(&file) {}

Entry DirectoryStore::readEntry(bool subjectMode, const QString& key)
{
    return Entry{readName(subjectMode, key), readNumber(subjectMode, key)};
}

QString DirectoryStore::readName(bool subjectMode, const QString& key)
{
    return m_file->read(kSpeedDialSection, nameKey(subjectMode, key), kValueBuffer);
}

QString DirectoryStore::readNumber(bool subjectMode, const QString& key)
{
    return m_file->read(kSpeedDialSection, numberKey(subjectMode, key), kValueBuffer);
}

QString DirectoryStore::readValue(const QString& section, const QString& key)
{
    return m_file->read(section, key, std::numeric_limits<int>::max());
}

bool DirectoryStore::writeValue(const QString& section, const QString& key, const QString& value)
{
    // The settings file holds one value per line: a line break typed or
    // pasted into a name would start a new line and could plant other keys.
    QString safe = value;
    safe.replace(QLatin1String("\r\n"), QLatin1String(" "));
    safe.replace(QLatin1Char('\r'), QLatin1Char(' '));
    safe.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return changedIf(m_file->write(section, key, safe));
}

bool DirectoryStore::writeEntryName(bool subjectMode, const QString& key, const QString& name)
{
    return writeValue(kSpeedDialSection, nameKey(subjectMode, key), name);
}

bool DirectoryStore::writeEntryNumber(bool subjectMode, const QString& key, const QString& number)
{
    return writeValue(kSpeedDialSection, numberKey(subjectMode, key), number);
}

bool DirectoryStore::deleteEntry(bool subjectMode, const QString& key)
{
    IniFile::Batch batch(*m_file);
    m_file->removeKey(kSpeedDialSection, nameKey(subjectMode, key));
    m_file->removeKey(kSpeedDialSection, numberKey(subjectMode, key));
    return changedIf(batch.commit());
}

QString DirectoryStore::readTabTitle(int tab)
{
    return m_file->read(kTabNameSection, twoDigits(tab), kValueBuffer);
}

bool DirectoryStore::writeTabTitle(int tab, const QString& title)
{
    return writeValue(kTabNameSection, twoDigits(tab), title);
}

bool DirectoryStore::deleteTabTitle(int tab)
{
    return changedIf(m_file->removeKey(kTabNameSection, twoDigits(tab)));
}

QString DirectoryStore::readNoteLog(bool subjectMode, const QString& key)
{
    return m_file->read(kMemoLogSection, logKey(subjectMode, key), kLogBuffer);
}

bool DirectoryStore::writeNoteLog(bool subjectMode, const QString& key, const QString& encoded)
{
    return writeValue(kMemoLogSection, logKey(subjectMode, key), encoded);
}

QString DirectoryStore::lastError() const
{
    return m_file->lastError();
}

} // namespace telvaro
