// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimModem.h"

#include "settings/Paths.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <tuple>

namespace telvaro::test {

ModemSettings SimModem::fastSettings()
{
    ModemSettings m;
    m.name = QStringLiteral("Simulated Modem");
    m.commandTimeout = 1000;
    m.dialTimeout = 5;
    m.ringTimeout = 1500;
    return m;
}

SimModem::SimModem(const QStringList& args, ModemSettings settings)
{
    qputenv("TELVARO_LOCK_DIR", QFile::encodeName(m_locks.path()));
    m_logFile = m_locks.path() + QStringLiteral("/commands.log");
    const QString program = buildDir() + QStringLiteral("/tools/modemsim/telvaro-modemsim");
    m_process.setProgram(program);
    m_process.setArguments(QStringList{QStringLiteral("--log"), m_logFile} + args);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();
    if (!m_process.waitForStarted(5000))
        return;
    for (int i = 0; i < 50 && !m_process.canReadLine(); ++i)
        m_process.waitForReadyRead(100);
    m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    settings.port = m_device;
    std::ignore = saveModems({settings}); // a failure shows as the modem not found
}

SimModem::~SimModem()
{
    kill();
    qunsetenv("TELVARO_LOCK_DIR");
}

void SimModem::kill()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

void SimModem::tell(const QString& line)
{
    m_process.write(line.toUtf8() + '\n');
    m_process.waitForBytesWritten(1000);
}

QStringList SimModem::log() const
{
    QFile f(m_logFile);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

LINECALLBACK EventLog::callback()
{
    return [this](quint32 device, quint32 msg, quintptr, quintptr p1, quintptr p2, quintptr p3) {
        events.push_back(LineEvent{device, msg, p1, p2, p3});
    };
}

int EventLog::find(quint32 msg, quintptr p1, size_t from) const
{
    for (size_t i = from; i < events.size(); ++i) {
        if (events[i].msg == msg && events[i].p1 == p1)
            return int(i);
    }
    return -1;
}

int EventLog::waitFor(quint32 msg, quintptr p1, int timeoutMs, size_t from)
{
    QElapsedTimer t;
    t.start();
    for (;;) {
        const int i = find(msg, p1, from);
        if (i >= 0 || t.elapsed() > timeoutMs)
            return i;
        QTest::qWait(10);
    }
}

QList<quint32> EventLog::callStates() const
{
    QList<quint32> out;
    for (const auto& e : events) {
        if (e.msg == LINE_CALLSTATE)
            out << quint32(e.p1);
    }
    return out;
}

} // namespace telvaro::test
