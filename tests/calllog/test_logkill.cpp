// SPDX-License-Identifier: GPL-3.0-or-later
// Kills a writer of the outgoing log (logkill_child: appends, Save, retention)
// with SIGKILL at random moments, over and over on the same files. After each
// kill the log holds whole records only, every record written before the kill
// is there (or was dropped by a finished retention), and once the log has been
// pruned its backup is the log as it was before pruning.
#include "core/calllog/CallLogFile.h"
#include "common/TestEnv.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include <chrono>
#include <csignal>
#include <thread>

using namespace telvaro;
using namespace telvaro::calllog;

namespace {

using Records = QSet<qint64>;

bool isOld(qint64 n)
{
    return n % 2 == 0;
}

Records pruned(const Records& records)
{
    Records kept;
    for (const qint64 n : records) {
        if (!isOld(n))
            kept.insert(n);
    }
    return kept;
}

// The records of a log file, each checked to be exactly the line the writer
// makes for its number; `whole` goes false on any other line.
Records recordsOf(const QString& path, bool& whole)
{
    const QByteArray bytes = test::TestEnv::readFile(path);
    Records out;
    if (bytes.isEmpty())
        return out;
    whole = whole && bytes.endsWith("\r\n");
    const QString today = QDate::currentDate().toString(QStringLiteral("MM-dd-yyyy"));
    int lineNo = 0;
    forEachLine(bytes, [&](QByteArrayView line) {
        if (++lineNo <= 2)
            return;
        const qsizetype end = line.indexOf(' ', 2);
        bool ok = line.startsWith(" R") && end > 2;
        const qint64 n = ok ? line.sliced(2, end - 2).toLongLong(&ok) : -1;
        const CallLogRow row{QStringLiteral("R%1").arg(n), QStringLiteral("555%1").arg(n),
                             isOld(n) ? QStringLiteral("01-02-2001  03:04:05")
                                      : today + QStringLiteral("  10:11:12"),
                             QStringLiteral("A1")};
        whole = whole && ok && !out.contains(n) &&
                line == formatRecord(row, LogKind::Outgoing).toLatin1();
        out.insert(n);
    });
    return out;
}

} // namespace

class TestLogKill : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void logsSurviveKillsAtAnyMoment()
    {
        test::TestEnv env;
        const QString log = env.dataDir() + QStringLiteral("/Out.log");
        const QString bak = env.dataDir() + QStringLiteral("/Out.bak");
        QVERIFY(QDir().mkpath(env.dataDir()));
        const QString child =
            QCoreApplication::applicationDirPath() + QStringLiteral("/logkill_child");

        Records inLog; // what the log holds after the last kill
        Records inBak; // what the backup holds after the last kill
        qint64 next = 1;
        int kills = 0;
        int midWrite = 0;
        QElapsedTimer clock;
        clock.start();
        // Bounded in count and in time (the sanitizer build is slower).
        while (kills < 200 && clock.elapsed() < 60'000) {
            QProcess p;
            p.start(child, {env.dataDir(), QString::number(next),
                            QString::number(QRandomGenerator::global()->generate())});
            QVERIFY(p.waitForStarted());
            while (!p.canReadLine())
                QVERIFY(p.waitForReadyRead(10'000));
            std::this_thread::sleep_for(
                std::chrono::microseconds(QRandomGenerator::global()->bounded(30'000)));
            ::kill(pid_t(p.processId()), SIGKILL);
            QVERIFY(p.waitForFinished(10'000));
            QCOMPARE(p.exitStatus(), QProcess::CrashExit);
            ++kills;

            // Replay what the writer finished; keep what it was doing.
            Records expected = inLog;
            Records beforePrune; // the log when the last finished prune began
            bool pruneDone = false;
            QByteArray open; // "A n" / "S n" / "P n" begun and not ended
            Records atOpenPrune;
            for (const QByteArray& line : p.readAllStandardOutput().split('\n')) {
                const QList<QByteArray> w = line.split(' ');
                if (w.size() != 3)
                    continue;
                const qint64 n = w[2].toLongLong();
                next = std::max(next, n + 1);
                if (w[0] == "B") {
                    open = w[1] + ' ' + w[2];
                    if (w[1] == "P")
                        atOpenPrune = expected;
                    continue;
                }
                open.clear();
                if (w[1] == "A")
                    expected.insert(n);
                if (w[1] == "P") {
                    beforePrune = expected;
                    pruneDone = true;
                    expected = pruned(expected);
                }
            }
            bool whole = true;
            const Records nowLog = recordsOf(log, whole);
            const Records nowBak = recordsOf(bak, whole);
            QVERIFY2(whole,
                     qPrintable(QStringLiteral("a damaged record after kill %1").arg(kills)));
            if (!open.isEmpty())
                ++midWrite;

            Records allowed = expected;
            if (open.startsWith('A'))
                allowed.insert(open.mid(2).toLongLong());
            if (open.startsWith('P')) {
                // Killed while pruning: the log is whole before or after it,
                // and a pruned log has the backup of the log before.
                QVERIFY(nowLog == expected || nowLog == pruned(expected));
                if (nowLog != expected)
                    QCOMPARE(nowBak, atOpenPrune);
                else
                    QVERIFY(nowBak == atOpenPrune || nowBak == (pruneDone ? beforePrune : inBak));
            } else {
                QVERIFY2(
                    nowLog == expected || nowLog == allowed,
                    qPrintable(QStringLiteral("records lost or made up after kill %1").arg(kills)));
                QCOMPARE(nowBak, pruneDone ? beforePrune : inBak);
            }
            inLog = nowLog;
            inBak = nowBak;
        }
        std::printf("log kills: %d, landed mid-write: %d, records in the log: %lld\n", kills,
                    midWrite, static_cast<long long>(inLog.size()));
        QVERIFY(kills >= 50);
        QVERIFY(midWrite > 0);
    }
};

QTEST_GUILESS_MAIN(TestLogKill)
#include "test_logkill.moc"
