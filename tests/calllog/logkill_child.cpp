// SPDX-License-Identifier: GPL-3.0-or-later
// Writes one outgoing log without pause, as the program does: record appends,
// a log window's Save of the whole table and the retention at exit (backup
// copy, then the log rebuilt from it). Tells its parent on stdout when each
// write begins ("B op n") and ends ("E op n"), so that a kill can be placed.
// Usage: logkill_child FOLDER FIRST_NUMBER SEED
#include "core/common/Helpers.h"
#include "core/calllog/CallLogFile.h"
#include "core/calllog/Retention.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QRandomGenerator>

#include <unistd.h>

using namespace telvaro;
using namespace telvaro::calllog;

namespace {

void say(const QByteArray& line)
{
    const QByteArray out = line + '\n';
    [[maybe_unused]] const ssize_t n = ::write(1, out.constData(), size_t(out.size()));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString log = folder + QStringLiteral("/Out.log");
    const QString bak = folder + QStringLiteral("/Out.bak");
    QRandomGenerator random(quint32(QByteArray(argv[3]).toUInt()));
    const QDate today = QDate::currentDate();
    say("R");
    for (qint64 n = QByteArray(argv[2]).toLongLong();; ++n) {
        const QByteArray number = QByteArray::number(n);
        const quint32 op = random.bounded(10);
        if (op < 6) {
            // Half of the calls are old enough for retention to drop.
            const bool old = n % 2 == 0;
            const CallLogRow row{QStringLiteral("R%1").arg(n), QStringLiteral("555%1").arg(n),
                                 old ? QStringLiteral("01-02-2001  03:04:05")
                                     : today.toString(QStringLiteral("MM-dd-yyyy")) +
                                           QStringLiteral("  10:11:12"),
                                 QStringLiteral("A1")};
            say("B A " + number);
            if (!appendRecord(log, LogKind::Outgoing, row))
                return 1;
            say("E A " + number);
        } else if (op < 8) {
            const QList<CallLogRow> rows = readLog(log, LogKind::Outgoing);
            say("B S " + number);
            if (!saveLog(log, LogKind::Outgoing, rows))
                return 1;
            say("E S " + number);
        } else if (QFileInfo(log).isFile()) {
            say("B P " + number);
            if (!CopyTextFile(log, bak) || !trimCallLog(log, bak, 30, today))
                return 1;
            say("E P " + number);
        }
    }
}
