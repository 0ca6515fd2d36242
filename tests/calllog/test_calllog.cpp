// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/TestEnv.h"
#include "core/calllog/CallLogFile.h"
#include "core/calllog/Retention.h"
#include "core/common/Clock.h"
#include "core/common/CurrentProfile.h"
#include "settings/OptionsStore.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace telvaro;
using namespace telvaro::calllog;

namespace {

class FixedClock final : public Clock
{
public:
    QDateTime when{QDate(2026, 3, 7), QTime(9, 5, 4)};
    QDateTime now() const override { return when; }
    std::chrono::steady_clock::time_point monotonic() const override
    {
        return std::chrono::steady_clock::now();
    }
};

QDate fixedDate()
{
    return QDate(2026, 3, 7);
}

QByteArray crlf(const QByteArray& line)
{
    return line + "\r\n";
}

const QByteArray kOutHeader =
    crlf("Warning: This file is not to be edited!!!") +
    crlf("To print this file in the tabular format use \"\"Print Outgoing "
         "Calls Log\"\" from Telvaro menu.");
const QByteArray kInHeader = crlf("Warning: This file is not to be edited!!!") +
                             crlf("To print this file in the tabular format use \"\"Print Incoming "
                                  "Calls Log\"\" from Telvaro menu.");

} // namespace

class TestCallLog : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestEnv> env;
    std::unique_ptr<CallLogWriter> logs;
    FixedClock fixedClock;

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<test::TestEnv>();
        logs = std::make_unique<CallLogWriter>();
        setClock(&fixedClock);
    }
    void cleanup()
    {
        setClock(nullptr);
        logs.reset();
        env.reset();
    }

    void firstOutgoingCallCreatesTheLogWithHeaderAndRecord()
    {
        const CallLogRow first = logs->appendOutgoingCall(
            logPath(CurrentProfile::untitled(), LogKind::Outgoing),
            QStringLiteral("Dr. Annabel Fitzgerald-Okonkwo Smithers"), // 40
            QString(52, u'5'), QStringLiteral("0"));

        const QString path = env->dataDir() + QStringLiteral("/UntitledOut.log");
        QVERIFY(QFile::exists(path));
        const QByteArray expected =
            kOutHeader + crlf(" Dr. Annabel Fitzgerald-Okonkwo Smither*   " + QByteArray(52, '5') +
                              "   03-07-2026  09:05:04 0");
        QCOMPARE(test::TestEnv::readFile(path), expected);
        QCOMPARE(first.name, QStringLiteral("Dr. Annabel Fitzgerald-Okonkwo Smither*"));

        // A second call adds one line and leaves the header alone.
        logs->appendOutgoingCall(logPath(CurrentProfile::untitled(), LogKind::Outgoing),
                                 QString(37, u'n'), QString(60, u'7'), QStringLiteral("12100"));
        const QList<QByteArray> lines = test::TestEnv::readFile(path).split('\n');
        QCOMPARE(lines.size(), 5); // 4 lines and the empty rest after the last CR LF
        QCOMPARE(lines[3], " " + QByteArray(37, 'n') + "     " + QByteArray(52, '7') +
                               "*  03-07-2026  09:05:04 12100\r");
    }

    void incomingRecordsCutDifferentlyAndNameTheUnknown()
    {
        const QString in = logPath(QStringLiteral("Office"), LogKind::Incoming);
        QCOMPARE(logs->appendIncomingCall(in, {}, {}).name, QStringLiteral("Unknown Caller"));
        logs->appendIncomingCall(in, QStringLiteral("Bob"), QString(52, u'4'));
        logs->appendIncomingCall(in, QStringLiteral("Eve"), QString(60, u'3'));

        const QByteArray expected =
            kInHeader +
            crlf(" Unknown Caller" + QByteArray(28, ' ') + "Unknown #" + QByteArray(46, ' ') +
                 "03-07-2026  09:05:04") +
            crlf(" Bob" + QByteArray(39, ' ') + QByteArray(52, '4') + "*  03-07-2026  09:05:04") +
            crlf(" Eve" + QByteArray(39, ' ') + QByteArray(52, '3') + "*  03-07-2026  09:05:04");
        QCOMPARE(test::TestEnv::readFile(env->dataDir() + QStringLiteral("/OfficeIn.log")),
                 expected);
    }

    void recordsReadBackAsWritten()
    {
        // An empty name (a pad call with no name current) must not shift the
        // number into the name column.
        const QString path = logPath(CurrentProfile::untitled(), LogKind::Outgoing);
        logs->appendOutgoingCall(logPath(CurrentProfile::untitled(), LogKind::Outgoing), {},
                                 QStringLiteral("555 1234"), QStringLiteral("0"));
        fixedClock.when = QDateTime(QDate(2025, 12, 31), QTime(23, 59, 58));
        logs->appendOutgoingCall(logPath(CurrentProfile::untitled(), LogKind::Outgoing),
                                 QStringLiteral("Ann Lee"), QStringLiteral("1-800-3569377"),
                                 QStringLiteral("0101"));

        const QList<CallLogRow> rows = readLog(path, LogKind::Outgoing);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0], (CallLogRow{{},
                                      QStringLiteral("555 1234"),
                                      QStringLiteral("03-07-2026  09:05:04"),
                                      QStringLiteral("0")}));
        QCOMPARE(rows[1],
                 (CallLogRow{QStringLiteral("Ann Lee"), QStringLiteral("1-800-3569377"),
                             QStringLiteral("12-31-2025  23:59:58"), QStringLiteral("0101")}));

        logs->appendIncomingCall(logPath(CurrentProfile::untitled(), LogKind::Incoming), {},
                                 QStringLiteral("4165550000"));
        const QList<CallLogRow> in =
            readLog(logPath(CurrentProfile::untitled(), LogKind::Incoming), LogKind::Incoming);
        QCOMPARE(in.size(), 1);
        QCOMPARE(in[0], (CallLogRow{QStringLiteral("Unknown Caller"),
                                    QStringLiteral("4165550000"),
                                    QStringLiteral("12-31-2025  23:59:58"),
                                    {}}));
    }

    void rewriteFromRowsRoundTrips()
    {
        const QString path = env->dataDir() + QStringLiteral("/xOut.log");
        const QList<CallLogRow> rows = {
            {QStringLiteral("Zoë Ärger"), QStringLiteral("555"),
             QStringLiteral("01-02-2026  03:04:05"), QStringLiteral("0312")},
            {{},
             QStringLiteral("9,5551234"),
             QStringLiteral("01-02-2026  03:04:06"),
             QStringLiteral("0")},
            // A row without date keeps its key in the key column.
            {QStringLiteral("x"), QStringLiteral("1"), {}, QStringLiteral("0101")},
        };
        QVERIFY(saveLog(path, LogKind::Outgoing, rows));
        QCOMPARE(readLog(path, LogKind::Outgoing), rows);
        QVERIFY(test::TestEnv::readFile(path).startsWith(kOutHeader));
        // Windows-1252 bytes on disk.
        QVERIFY(test::TestEnv::readFile(path).contains("Zo\xEB \xC4rger"));

        QVERIFY(saveLog(path, LogKind::Incoming, rows.mid(0, 2), HeaderVariant::Retention));
        QVERIFY(test::TestEnv::readFile(path).contains("\"\"Print ******* Calls Log\"\""));
        const QList<CallLogRow> in = readLog(path, LogKind::Incoming);
        QCOMPARE(in.size(), 2);
        QCOMPARE(in[1].number, QStringLiteral("9,5551234"));
        QCOMPARE(in[1].dateTime, QStringLiteral("01-02-2026  03:04:06"));
    }

    void shortAndOddFilesReadWithoutFuss()
    {
        const QString path = env->dataDir() + QStringLiteral("/odd.log");
        QVERIFY(readLog(path, LogKind::Outgoing).isEmpty()); // missing
        test::TestEnv::writeFile(path, kOutHeader);
        QVERIFY(readLog(path, LogKind::Outgoing).isEmpty());
        test::TestEnv::writeFile(path, "only one line"); // a record, not a header
        QCOMPARE(readLog(path, LogKind::Outgoing).size(), 1);
        // LF, CR and CR LF line ends, a hand-edited line without the leading
        // space, a short line, blank lines and a last line without its end.
        test::TestEnv::writeFile(path, "Bob" + QByteArray(39, ' ') + "42\n short\r\r\n  \n Al");
        const QList<CallLogRow> rows = readLog(path, LogKind::Outgoing);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0].name, QStringLiteral("Bob"));
        QCOMPARE(rows[0].number, QStringLiteral("42"));
        QCOMPARE(rows[1].name, QStringLiteral("short"));
        QVERIFY(rows[1].number.isEmpty());
        QCOMPARE(rows[2].name, QStringLiteral("Al"));

        // Appending to a file whose last line has no end starts a new line.
        QVERIFY(appendRecord(path, LogKind::Outgoing, {QStringLiteral("Cy"), {}, {}, {}}));
        QCOMPARE(readLog(path, LogKind::Outgoing).size(), 4);
    }

    void unwritableLogWarnsOnceAndKeepsItsCalls()
    {
        QSignalSpy told(logs.get(), &CallLogWriter::writeFailed);
        logs->appendOutgoingCall(logPath(CurrentProfile::untitled(), LogKind::Outgoing),
                                 QStringLiteral("First"), QStringLiteral("111"),
                                 QStringLiteral("0"));
        const QString path = logPath(CurrentProfile::untitled(), LogKind::Outgoing);
        const QByteArray before = test::TestEnv::readFile(path);
        QVERIFY(
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));

        logs->appendOutgoingCall(logPath(CurrentProfile::untitled(), LogKind::Outgoing),
                                 QStringLiteral("Second"), QStringLiteral("111"),
                                 QStringLiteral("0"));
        logs->appendOutgoingCall(logPath(CurrentProfile::untitled(), LogKind::Outgoing),
                                 QStringLiteral("Second"), QStringLiteral("111"),
                                 QStringLiteral("0"));
        QCOMPARE(told.size(), 1);
        QVERIFY(told[0][0].toString().contains(QStringLiteral("outgoing calls log")));
        QCOMPARE(test::TestEnv::readFile(path), before);

        // Writable again: the next failure is worth telling again.
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        logs->appendOutgoingCall(logPath(CurrentProfile::untitled(), LogKind::Outgoing),
                                 QStringLiteral("Second"), QStringLiteral("111"),
                                 QStringLiteral("0"));
        QCOMPARE(readLog(path, LogKind::Outgoing).size(), 2);
    }

    // The exit's retention keeps the days the options ask for (a day box
    // holding no whole number counts its spin bar); a log that cannot be
    // backed up stays as it was, and the failure is told.
    void retentionKeepsTheAskedDaysOrLeavesTheLog()
    {
        options().resetToDesigned();
        fixedClock.when = QDateTime(fixedDate(), QTime(9, 0));
        const QString dir = env->dataDir() + "/";
        auto row = [](const QString& name, int daysAgo) {
            return CallLogRow{name,
                              "555",
                              fixedDate().addDays(-daysAgo).toString("MM-dd-yyyy") + "  10:00:00",
                              {}};
        };
        for (int ago : {50, 40, 0})
            QVERIFY(appendRecord(dir + "HomeOut.log", LogKind::Outgoing,
                                 row(QString("out %1").arg(ago), ago)));
        for (int ago : {10, 3})
            QVERIFY(appendRecord(dir + "HomeIn.log", LogKind::Incoming,
                                 row(QString("in %1").arg(ago), ago)));
        options().setChecked(OptionsStore::chkDelOutgoing, true);
        options().setText(OptionsStore::txtDays, "45");
        options().setChecked(OptionsStore::chkDelIncoming, true);
        options().setSpinValue(OptionsStore::txtInDays, 7);
        options().setText(OptionsStore::txtInDays, "-5");
        const LogRetention retention(&fixedClock);
        QVERIFY(retention.pruneLogs("Home").isEmpty());
        auto names = [](const QList<CallLogRow>& rows) {
            QStringList out;
            for (const CallLogRow& r : rows)
                out << r.name;
            return out;
        };
        QCOMPARE(names(readLog(dir + "HomeOut.log", LogKind::Outgoing)),
                 QStringList({"out 40", "out 0"}));
        QCOMPARE(names(readLog(dir + "HomeIn.log", LogKind::Incoming)), QStringList({"in 3"}));

        QVERIFY(QFile::remove(dir + "HomeIn.bak") && QDir().mkdir(dir + "HomeIn.bak"));
        const QByteArray in = test::TestEnv::readFile(dir + "HomeIn.log");
        options().setText(OptionsStore::txtInDays, "0");
        const QStringList failures = retention.pruneLogs("Home");
        QCOMPARE(failures.size(), 1);
        QVERIFY(failures[0].startsWith("The old calls could not be removed from the log\n" +
                                       QDir::toNativeSeparators(dir + "HomeIn.log")));
        QVERIFY(failures[0].endsWith("The log is unchanged."));
        QCOMPARE(test::TestEnv::readFile(dir + "HomeIn.log"), in);
    }

    void fullDiskIsReportedAsFailure()
    {
        if (!QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full");
        const Result appended = appendRecord(QStringLiteral("/dev/full"), LogKind::Incoming,
                                             {QStringLiteral("a"), QStringLiteral("1"), {}, {}});
        QVERIFY(!appended);
        QVERIFY(!appended.error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCallLog)
#include "test_calllog.moc"
