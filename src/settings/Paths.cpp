// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace telvaro::paths {
namespace {

QString fromEnv(const char* name)
{
    return QString::fromLocal8Bit(qgetenv(name));
}

QString ensure(const QString& dir, bool privateFolder = false)
{
    QDir().mkpath(dir);
    if (privateFolder)
        ::chmod(QFile::encodeName(dir).constData(), 0700);
    return dir;
}

QString xdg(const char* variable, const QString& fallbackUnderHome)
{
    QString base = fromEnv(variable);
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QLatin1Char('/') + fallbackUnderHome;
    return base;
}

// A user-only folder under the shared temp folder. Anyone can create names
// there: a folder of that name that is not a real folder of this user (made by
// someone else, or a link) is not used, and a fresh private one is made.
QString makeSharedTempFolder(const QString& dir)
{
    const QByteArray native = QFile::encodeName(dir);
    struct stat st = {};
    if (::lstat(native.constData(), &st) != 0) {
        if (::mkdir(native.constData(), 0700) == 0 || errno == EEXIST)
            ::lstat(native.constData(), &st);
    }
    if (S_ISDIR(st.st_mode) && !S_ISLNK(st.st_mode) && st.st_uid == ::getuid())
        return dir;
    // A private folder made by an earlier start in the same situation, so
    // that later starts find the running one.
    const QFileInfo usual(dir);
    const QStringList earlier = QDir(usual.absolutePath())
                                    .entryList({usual.fileName() + QStringLiteral("-??????")},
                                               QDir::Dirs | QDir::Hidden, QDir::Name);
    for (const QString& name : earlier) {
        const QString candidate = usual.absolutePath() + QLatin1Char('/') + name;
        struct stat other = {};
        if (::lstat(QFile::encodeName(candidate).constData(), &other) == 0 &&
            S_ISDIR(other.st_mode) && other.st_uid == ::getuid() && (other.st_mode & 077) == 0)
            return candidate;
    }
    QByteArray fresh = QFile::encodeName(dir) + "-XXXXXX";
    if (::mkdtemp(fresh.data()))
        return QFile::decodeName(fresh);
    return dir;
}

// Decided once per temp folder: a fresh folder made because the usual one
// could not be used must be the one every later look finds, or two parts of
// the program (and a later start) would look in different places.
QString sharedTempFolder()
{
    static QString base;
    static QString folder;
    const QString dir = QDir::tempPath() + QStringLiteral("/telvaro-%1").arg(::getuid());
    struct stat st = {};
    const bool stillOurs = !folder.isEmpty() &&
                           ::lstat(QFile::encodeName(folder).constData(), &st) == 0 &&
                           S_ISDIR(st.st_mode) && st.st_uid == ::getuid();
    if (base != dir || !stillOurs) {
        base = dir;
        folder = makeSharedTempFolder(dir);
    }
    return folder;
}

} // namespace

QString configDir()
{
    const QString o = fromEnv("TELVARO_CONFIG_DIR");
    return ensure(!o.isEmpty() ? o
                               : xdg("XDG_CONFIG_HOME", QStringLiteral(".config")) +
                                     QStringLiteral("/Telvaro"));
}

QString dataDir()
{
    const QString o = fromEnv("TELVARO_DATA_DIR");
    return ensure(!o.isEmpty() ? o
                               : xdg("XDG_DATA_HOME", QStringLiteral(".local/share")) +
                                     QStringLiteral("/Telvaro"));
}

QString runtimeDir()
{
    QString dir = fromEnv("TELVARO_RUNTIME_DIR");
    if (dir.isEmpty()) {
        const QString xdgRuntime = fromEnv("XDG_RUNTIME_DIR");
        if (!xdgRuntime.isEmpty() && QDir(xdgRuntime).exists())
            dir = xdgRuntime + QStringLiteral("/telvaro");
        else
            dir = sharedTempFolder();
    }
    return ensure(dir, true);
}

QString settingsFile()
{
    return configDir() + QStringLiteral("/Telvaro.ini");
}

QString telephonyConfigFile()
{
    return configDir() + QStringLiteral("/Telephony.ini");
}

QString programFile()
{
    const QString path = QCoreApplication::applicationFilePath();
    if (!path.isEmpty())
        return path;
    return QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
}

} // namespace telvaro::paths
