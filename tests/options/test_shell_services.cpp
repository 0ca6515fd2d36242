// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up entry and the system-information program.

#include "common/ScriptedPrompter.h"
#include "common/TestEnv.h"
#include "platform/Autostart.h"
#include "platform/ShellServices.h"

#include <QFile>
#include <QSettings>
#include <QtTest>

using namespace telvaro;
using telvaro::test::ScriptedPrompter;
using telvaro::test::TestEnv;

class TestShellServices : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void autostartEntryIsWrittenAndRemoved()
    {
        TestEnv env;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(env.root() + "/xdg"));
        const QString file = env.root() + "/xdg/autostart/telvaro.desktop";
        QCOMPARE(autostart::entryFile(), file);

        QVERIFY(autostart::create("/opt/Tel Varo/bin/telvaro"));
        QSettings entry(file, QSettings::IniFormat);
        QCOMPARE(entry.value("Desktop Entry/Name").toString(), QString("Shortcut to Telvaro"));
        QCOMPARE(entry.value("Desktop Entry/Type").toString(), QString("Application"));
        QVERIFY(TestEnv::readFile(file).contains("\nExec=\"/opt/Tel Varo/bin/telvaro\"\n"));

        // Created again on every OK: the new program path replaces the old.
        QVERIFY(autostart::create("/usr/bin/telvaro"));
        QVERIFY(TestEnv::readFile(file).contains("\nExec=/usr/bin/telvaro\n"));

        QVERIFY(autostart::remove());
        QVERIFY(!QFile::exists(file));
        QVERIFY(autostart::remove()); // nothing to remove is no failure
        qunsetenv("XDG_CONFIG_HOME");
    }

    void execQuotingFollowsDesktopEntryRules()
    {
        QCOMPARE(autostart::quoteExecArgument("/usr/bin/telvaro"), QString("/usr/bin/telvaro"));
        QCOMPARE(autostart::quoteExecArgument("/a b/t"), QString("\"/a b/t\""));
        // In quotes $ gets a backslash, which the string value doubles.
        QCOMPARE(autostart::quoteExecArgument("/x$y/t"), QString("\"/x\\\\$y/t\""));
        QCOMPARE(autostart::quoteExecArgument("/100%/t"), QString("/100%%/t"));
    }

    void autostartFailureIsReportedNotThrown()
    {
        TestEnv env;
        // A file where the autostart folder should be.
        TestEnv::writeFile(env.root() + "/autostart", "x");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(env.root()));
        const Result created = autostart::create("/usr/bin/telvaro");
        QVERIFY(!created);
        QVERIFY(!created.error.isEmpty());
        qunsetenv("XDG_CONFIG_HOME");
    }

    void systemInformationUnavailable()
    {
        TestEnv env;
        ScriptedPrompter prompts;
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(env.root()));
        QVERIFY(findSystemInformationProgram().isEmpty());
        QVERIFY(!showSystemInformation(prompts, nullptr));
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(prompts.messages[0].text,
                 QString("System Information Is Unavailable At This Time"));
        QCOMPARE(prompts.messages[0].title, QString());
        QCOMPARE(prompts.messages[0].buttons, MsgButtons::Ok);
        qputenv("PATH", oldPath);
    }

    void systemInformationProgramIsStarted()
    {
        TestEnv env;
        ScriptedPrompter prompts;
        const QString marker = env.root() + "/started";
        const QString program = env.root() + "/hardinfo2";
        TestEnv::writeFile(program, "#!/bin/sh\ntouch '" + marker.toUtf8() + "'\n");
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(env.root()) + ":/usr/bin:/bin");
        const bool found = !findSystemInformationProgram().isEmpty();
        const bool started = showSystemInformation(prompts, nullptr);
        qputenv("PATH", oldPath);
        QVERIFY(found);
        QVERIFY(started);
        QVERIFY(prompts.messages.isEmpty());
        QTRY_VERIFY(QFile::exists(marker));
    }
};

QTEST_GUILESS_MAIN(TestShellServices)
#include "test_shell_services.moc"
