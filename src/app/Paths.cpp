#include "app/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

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

} // namespace

QString configDir()
{
    const QString o = fromEnv("TELVARO_CONFIG_DIR");
    return ensure(!o.isEmpty() ? o : xdg("XDG_CONFIG_HOME", QStringLiteral(".config")) +
                                         QStringLiteral("/Telvaro"));
}

QString dataDir()
{
    const QString o = fromEnv("TELVARO_DATA_DIR");
    return ensure(!o.isEmpty() ? o : xdg("XDG_DATA_HOME", QStringLiteral(".local/share")) +
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
            dir = QDir::tempPath() + QStringLiteral("/telvaro-%1").arg(::getuid());
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
