// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTemporaryDir>

class QWidget;

namespace telvaro::test {

// Gives a test its own config, data and runtime folders through the
// TELVARO_*_DIR overrides, removed again when the object goes.
class TestEnv
{
public:
    TestEnv();
    ~TestEnv();
    TestEnv(const TestEnv&) = delete;
    TestEnv& operator=(const TestEnv&) = delete;

    QString root() const { return m_dir.path(); }
    QString configDir() const { return m_dir.path() + QStringLiteral("/config"); }
    QString dataDir() const { return m_dir.path() + QStringLiteral("/data"); }
    QString runtimeDir() const { return m_dir.path() + QStringLiteral("/run"); }
    QString settingsFile() const { return configDir() + QStringLiteral("/Telvaro.ini"); }

    // Helpers for files the test writes or checks byte for byte.
    static void writeFile(const QString& path, const QByteArray& bytes);
    static QByteArray readFile(const QString& path);

private:
    QTemporaryDir m_dir;
};

// The folder of the build tree (for helper programs such as the modem simulator).
QString buildDir();
QString sourceDir();

// The program's shared state as at a first start: the
// options (every other part belongs to the window or parts a test makes).
void resetProgram();

// Saves a picture of `w` as NAME.png when TELVARO_SCREENSHOT_DIR names a folder.
void shoot(QWidget* w, const QString& name);

} // namespace telvaro::test
