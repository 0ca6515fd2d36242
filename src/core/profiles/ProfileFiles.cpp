// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/profiles/ProfileFiles.h"

#include "core/common/Helpers.h"
#include "settings/AtomicFile.h"
#include "settings/Cp1252.h"
#include "settings/IniFile.h"
#include "settings/OptionsStore.h"
#include "settings/Paths.h"
#include "settings/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace telvaro::profiles {
namespace {

constexpr QFileDevice::Permissions kWriteBits = QFileDevice::WriteOwner | QFileDevice::WriteUser |
                                                QFileDevice::WriteGroup | QFileDevice::WriteOther;

// The path with every link and "." or ".." resolved, also for a file that
// does not exist yet (its folder resolved).
QString resolved(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') + info.fileName();
}

void setReadOnly(const QString& path, bool readOnly)
{
    const QFileDevice::Permissions now = QFile::permissions(path);
    QFile::setPermissions(path, readOnly ? now & ~kWriteBits : now | QFileDevice::WriteOwner);
}

} // namespace

QString profileFilePath(const QString& name)
{
    return paths::dataDir() + QLatin1Char('/') + name + QStringLiteral(".tlx");
}

QString profileNameOfFile(const QString& path)
{
    return settings::profileNameFromFileName(QFileInfo(path).fileName());
}

MarkerCheck checkMarkerLine(const QString& path, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return MarkerCheck::Unreadable;
    }
    const QByteArray marker = cp1252::encode(settings::kHeader);
    // The marker line, its line end and a little more: enough to decide.
    QByteArray head = f.read(marker.size() + 2);
    const qsizetype end = head.indexOf('\n');
    if (end >= 0)
        head.truncate(end);
    else if (!f.atEnd())
        return MarkerCheck::NotProfile; // a longer first line
    // (A file of the marker line alone, without a line end, is a profile.)
    if (head.endsWith('\r'))
        head.chop(1);
    return head == marker ? MarkerCheck::Profile : MarkerCheck::NotProfile;
}

bool isOwnFile(const QString& path)
{
    const QString target = resolved(path);
    for (const QString& own :
         {paths::settingsFile(), settings::discardedCopyPath(), paths::telephonyConfigFile()}) {
        if (resolved(own) == target)
            return true;
    }
    const QFileInfo info(target);
    if (resolved(paths::dataDir()) != info.absolutePath())
        return false;
    const QString name = info.fileName();
    for (const char* suffix : {"In.log", "Out.log", "In.bak", "Out.bak"}) {
        if (name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

QByteArray profileBytes(const QStringList& recentNumbers, const QString& fileName,
                        const QString& savePath)
{
    IniFile& live = settings::file();
    live.read(settings::kProfileSection, QStringLiteral("Name")); // notices a change on disk
    IniFile draft(live.path());
    draft.parseBytes(live.serialize());
    // Never committed: the draft only gives the bytes.
    draft.beginBatch();
    settings::writeRecentNumbers(draft, recentNumbers);
    draft.write(settings::kPreferencesSection, QStringLiteral("Call Display"),
                options().isChecked(OptionsStore::chkCallDisplay) ? QStringLiteral("1")
                                                                  : QStringLiteral("0"));
    if (!fileName.isEmpty()) {
        draft.write(settings::kPreferencesSection, QStringLiteral("SavePath"), savePath);
        draft.write(settings::kProfileSection, QStringLiteral("Name"), fileName);
    }
    return draft.serialize();
}

Result writeProfileFile(const QString& path, const QByteArray& bytes)
{
    const bool existed = QFileInfo::exists(path);
    if (existed)
        setReadOnly(path, false);
    if (const Result written = writeFileAtomically(path, bytes); !written) {
        if (existed)
            setReadOnly(path, true);
        return written;
    }
    setReadOnly(path, true);
    return Result::success();
}

Result copyLogs(const QString& previousName, const QString& newName)
{
    const QString folder = paths::dataDir() + QLatin1Char('/');
    for (const char* suffix : {"In.log", "Out.log"}) {
        const QString target = folder + newName + QLatin1String(suffix);
        if (QFileInfo::exists(target))
            continue;
        if (const Result copied =
                CopyTextFile(folder + previousName + QLatin1String(suffix), target);
            !copied)
            return copied;
    }
    return Result::success();
}

} // namespace telvaro::profiles
