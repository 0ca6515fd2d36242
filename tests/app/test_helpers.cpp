#include "core/common/Clock.h"
#include "core/common/Helpers.h"
#include "settings/Paths.h"
#include "common/TestEnv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QtTest>

#include <cmath>
#include <sys/stat.h>
#include <unistd.h>

using namespace telvaro;
using telvaro::test::TestEnv;

namespace {

// A clock that moves on by `step` each time it is read; its wall clock starts
// just before midnight.
class SteppingClock final : public Clock
{
public:
    explicit SteppingClock(std::chrono::milliseconds step) : m_step(step) {}
    QDateTime now() const override
    {
        return QDateTime(QDate(2026, 12, 8), QTime(23, 59, 59))
            .addMSecs(std::chrono::duration_cast<std::chrono::milliseconds>(m_t - m_start).count());
    }
    std::chrono::steady_clock::time_point monotonic() const override
    {
        m_t += m_step;
        ++reads;
        return m_t;
    }
    mutable int reads = 0;

private:
    std::chrono::milliseconds m_step;
    std::chrono::steady_clock::time_point m_start{std::chrono::hours(1000)};
    mutable std::chrono::steady_clock::time_point m_t{std::chrono::hours(1000)};
};

} // namespace

class TestHelpers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { setClock(nullptr); }

    void pauseOfNothingReturnsAtOnce()
    {
        QElapsedTimer t;
        t.start();
        Pause(0.0f);
        Pause(-5.0f);
        Pause(std::nanf(""));
        QVERIFY(t.elapsed() < 50);
    }

    void pauseWaitsTheRealTimeWithoutSpinning()
    {
        QElapsedTimer wall;
        wall.start();
        const std::clock_t cpu0 = std::clock();
        Pause(0.3f);
        const double cpu = double(std::clock() - cpu0) / CLOCKS_PER_SEC;
        QVERIFY2(wall.elapsed() >= 299, qPrintable(QString::number(wall.elapsed())));
        QVERIFY(wall.elapsed() < 2000);
        QVERIFY2(cpu < 0.1, qPrintable(QStringLiteral("cpu %1 s").arg(cpu)));
    }

    void pauseEndsAcrossMidnight()
    {
        // The wall clock passes midnight one second into the wait; the wait
        // still ends after its length on the monotonic clock.
        SteppingClock clock(std::chrono::milliseconds(500));
        setClock(&clock);
        QElapsedTimer wall;
        wall.start();
        Pause(3.0f);
        QVERIFY(wall.elapsed() < 2000);
        QVERIFY(clock.reads >= 6 && clock.reads <= 8);
    }

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
        QString error;
        QVERIFY(!CopyTextFile(src, env.root() + "/no/such/folder/a.bak", &error));
        QVERIFY(!error.isEmpty());

        // A folder where the destination should be.
        QDir().mkpath(env.root() + "/dir.bak");
        QVERIFY(!CopyTextFile(src, env.root() + "/dir.bak", &error));
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
