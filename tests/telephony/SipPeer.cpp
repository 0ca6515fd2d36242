// SPDX-License-Identifier: GPL-3.0-or-later
#include "SipPeer.h"

#include "common/TestEnv.h"

#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QUdpSocket>

namespace telvaro::test {

quint16 SipPeer::freePort()
{
    QUdpSocket s;
    if (!s.bind(QHostAddress::LocalHost, 0))
        return 0;
    return s.localPort();
}

SipAccount SipPeer::account(const QString& phone)
{
    SipAccount a;
    a.name = QStringLiteral("Desk phone");
    a.domain = QStringLiteral("example.com");
    a.user = QStringLiteral("201");
    a.phoneAddress = QStringLiteral("sip:phone@") + phone;
    a.localAddress = QStringLiteral("127.0.0.1");
    a.dialTimeout = 5;
    return a;
}

SipPeer::SipPeer(const QString& scenario, const QStringList& args, int calls, int timeoutSeconds,
                 const QString& status)
{
    // make deps installs SIPp: a test that needs it fails without it.
    const QString sipp = QStandardPaths::findExecutable(QStringLiteral("sipp"));
    if (sipp.isEmpty()) {
        m_error = QStringLiteral("sipp is not installed (make deps installs sip-tester)");
        return;
    }
    m_port = freePort();
    QByteArray text =
        TestEnv::readFile(sourceDir() + QStringLiteral("/tests/telephony/sip/") + scenario);
    text.replace("%STATUS%", status.toUtf8());
    const QString file = m_dir.path() + QLatin1Char('/') + scenario;
    TestEnv::writeFile(file, text);
    m_process.setWorkingDirectory(m_dir.path());
    m_process.setProgram(sipp);
    m_process.setArguments(
        QStringList{QStringLiteral("-sf"), file, QStringLiteral("-i"), QStringLiteral("127.0.0.1"),
                    QStringLiteral("-p"), QString::number(m_port), QStringLiteral("-mp"),
                    QString::number(freePort()), QStringLiteral("-m"), QString::number(calls),
                    QStringLiteral("-timeout"), QStringLiteral("%1s").arg(timeoutSeconds),
                    QStringLiteral("-nostdin"), QStringLiteral("-trace_msg"),
                    QStringLiteral("-message_file"), m_dir.path() + QStringLiteral("/messages.log"),
                    QStringLiteral("-trace_err"), QStringLiteral("-error_file"),
                    m_dir.path() + QStringLiteral("/errors.log")} +
        args);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setStandardOutputFile(m_dir.path() + QStringLiteral("/screen.log"));
    m_process.start();
    if (!m_process.waitForStarted(5000)) {
        m_error = QStringLiteral("sipp did not start");
        return;
    }
    // Listening once its port is taken.
    for (int i = 0; i < 50; ++i) {
        QUdpSocket probe;
        if (!probe.bind(QHostAddress::LocalHost, m_port))
            return;
        probe.close();
        QTest::qWait(100);
    }
    m_error = QStringLiteral("sipp does not listen");
}

SipPeer::~SipPeer()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
}

QString SipPeer::messages() const
{
    QFile f(m_dir.path() + QStringLiteral("/messages.log"));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QString SipPeer::errors() const
{
    QFile f(m_dir.path() + QStringLiteral("/errors.log"));
    QFile s(m_dir.path() + QStringLiteral("/screen.log"));
    QString out = f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    if (s.open(QIODevice::ReadOnly))
        out += QString::fromUtf8(s.readAll()).right(3000);
    return out;
}

QStringList SipPeer::received(const QString& method) const
{
    // The log holds blocks of a line of dashes and the time, a line "UDP
    // message received [n] bytes :" (or sent) and the message.
    QStringList out;
    const QStringList blocks =
        messages()
            .remove(QLatin1Char('\r'))
            .split(QRegularExpression(QStringLiteral("(^|\n)-{5,}[^\n]*\n")));
    for (const QString& b : blocks) {
        const qsizetype eol = b.indexOf(QLatin1Char('\n'));
        if (eol < 0 || !b.left(eol).contains(QLatin1String("received")))
            continue;
        const QString body = b.mid(eol + 1).trimmed();
        if (body.startsWith(method + QLatin1Char(' ')))
            out << body;
    }
    return out;
}

} // namespace telvaro::test
