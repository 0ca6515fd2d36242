// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/TestEnv.h"
#include "core/common/Helpers.h"
#include "settings/Paths.h"

#include <QDir>
#include <QElapsedTimer>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace telvaro;
using telvaro::test::TestEnv;

class TestHelpers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void trimAtNull()
    {
        QCOMPARE(TrimAtNull(QStringLiteral("abc") + QChar(0) + QStringLiteral("def")),
                 QStringLiteral("abc"));
        QCOMPARE(TrimAtNull(QStringLiteral("abc")), QStringLiteral("abc"));
        QCOMPARE(TrimAtNull(QString(QChar(0))), QString());
    }

    void copyTextFileWritesCrLfLines()
    {
        TestEnv env;
        const QString src = env.root() + "/a.log";
        const QString dst = env.root() + "/a.bak";
        TestEnv::writeFile(src, QByteArray("one\r\ntwo\nthree\xE9", 15));
        QVERIFY(CopyTextFile(src, dst));
        QCOMPARE(TestEnv::readFile(dst), QByteArray("one\r\ntwo\r\nthree\xE9\r\n"));

        TestEnv::writeFile(src, "");
        QVERIFY(CopyTextFile(src, dst));
        QVERIFY(QFileInfo::exists(dst));
        QCOMPARE(TestEnv::readFile(dst), QByteArray());
    }

    void copyOfMissingSourceLeavesDestination()
    {
        TestEnv env;
        const QString dst = env.root() + "/keep.bak";
        TestEnv::writeFile(dst, "old\r\n");
        QVERIFY(CopyTextFile(env.root() + "/missing.log", dst));
        QCOMPARE(TestEnv::readFile(dst), QByteArray("old\r\n"));
    }

    void failedCopyIsReportedAndLeavesOldDestination()
    {
        TestEnv env;
        const QString src = env.root() + "/a.log";
        TestEnv::writeFile(src, "new\r\n");
        const Result missingFolder = CopyTextFile(src, env.root() + "/no/such/folder/a.bak");
        QVERIFY(!missingFolder);
        QVERIFY(!missingFolder.error.isEmpty());

        // A folder where the destination should be.
        QDir().mkpath(env.root() + "/dir.bak");
        QVERIFY(!CopyTextFile(src, env.root() + "/dir.bak"));
        QVERIFY(QFileInfo(env.root() + "/dir.bak").isDir());
    }

    void runtimeFolderUnderTheSharedTempFolderIsPrivate()
    {
        TestEnv env;
        const QByteArray savedTmp = qgetenv("TMPDIR");
        const QByteArray savedXdg = qgetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(env.root()));
        qunsetenv("XDG_RUNTIME_DIR");
        qunsetenv("TELVARO_RUNTIME_DIR");
        const QString expected = env.root() + QStringLiteral("/telvaro-%1").arg(::getuid());

        QCOMPARE(paths::runtimeDir(), expected);
        struct stat st = {};
        QCOMPARE(::lstat(QFile::encodeName(expected).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 0777), 0700);

        // Someone else's link in its place is not followed.
        QDir(expected).removeRecursively();
        QDir().mkpath(env.root() + "/elsewhere");
        QVERIFY(QFile::link(env.root() + "/elsewhere", expected));
        const QString dir = paths::runtimeDir();
        QVERIFY(dir != expected);
        QVERIFY(dir.startsWith(expected + "-"));
        QVERIFY(QFileInfo(dir).isDir() && !QFileInfo(dir).isSymLink());
        // Every later look finds that same folder (single-instance detection
        // and the session record depend on it).
        QCOMPARE(paths::runtimeDir(), dir);
        QCOMPARE(paths::runtimeDir(), dir);
        QCOMPARE(QDir(env.root() + "/elsewhere").entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList());

        if (savedTmp.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", savedTmp);
        if (!savedXdg.isEmpty())
            qputenv("XDG_RUNTIME_DIR", savedXdg);
    }

    void foldersFollowTheFolderMap()
    {
        TestEnv env;
        QCOMPARE(WindowsDirectory(), env.configDir());
        QVERIFY(QFileInfo(SystemDirectory()).isDir());
        QVERIFY(IsWindowsNT());
        QVERIFY(!IsWindows9x());
    }
};

QTEST_GUILESS_MAIN(TestHelpers)
#include "test_helpers.moc"
