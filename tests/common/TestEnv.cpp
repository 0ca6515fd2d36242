// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/TestEnv.h"

#include "settings/OptionsStore.h"

#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QWidget>

namespace telvaro::test {

TestEnv::TestEnv()
{
    QDir().mkpath(configDir());
    QDir().mkpath(dataDir());
    QDir().mkpath(runtimeDir());
    qputenv("TELVARO_CONFIG_DIR", QFile::encodeName(configDir()));
    qputenv("TELVARO_DATA_DIR", QFile::encodeName(dataDir()));
    qputenv("TELVARO_RUNTIME_DIR", QFile::encodeName(runtimeDir()));
}

TestEnv::~TestEnv()
{
    qunsetenv("TELVARO_CONFIG_DIR");
    qunsetenv("TELVARO_DATA_DIR");
    qunsetenv("TELVARO_RUNTIME_DIR");
}

void TestEnv::writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray TestEnv::readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QString buildDir()
{
    return QString::fromLocal8Bit(qgetenv("TELVARO_BUILD_DIR"));
}

QString sourceDir()
{
    return QString::fromLocal8Bit(qgetenv("TELVARO_SOURCE_DIR"));
}

void resetProgram()
{
    options().resetToDesigned();
}

void shoot(QWidget* w, const QString& name)
{
    const QString dir = qEnvironmentVariable("TELVARO_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    w->grab().save(dir + u'/' + name + QStringLiteral(".png"));
}

} // namespace telvaro::test
