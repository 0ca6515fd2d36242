// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/telephony/sip/SipConfig.h"

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace telvaro::test {

// SIPp playing a phone or a PBX from one of the scenarios in
// tests/telephony/sip, on 127.0.0.1 and a free port of its own. It stops by
// itself after `calls` calls or `timeoutSeconds`. "%STATUS%" in the scenario
// becomes `status` (SIPp wants its status codes written out).
class SipPeer
{
public:
    SipPeer(const QString& scenario, const QStringList& args, int calls = 1,
            int timeoutSeconds = 40, const QString& status = QStringLiteral("200 OK"));
    ~SipPeer();
    SipPeer(const SipPeer&) = delete;
    SipPeer& operator=(const SipPeer&) = delete;

    // Empty when it runs; else why it does not.
    QString error() const { return m_error; }
    quint16 port() const { return m_port; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    // Every message it sent and received so far.
    QString messages() const;
    // The requests of `method` it received, each whole.
    QStringList received(const QString& method) const;
    bool finished() const { return m_process.state() == QProcess::NotRunning; }
    // SIPp's exit code: 0 when every call went as the scenario says.
    int exitCode() const { return m_process.exitCode(); }
    QString errors() const;

    // A free UDP port on 127.0.0.1 (for Telvaro's own side).
    static quint16 freePort();
    // An account whose phone is `phone` ("127.0.0.1:port"), on 127.0.0.1.
    static SipAccount account(const QString& phone);

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_error;
    quint16 m_port = 0;
};

} // namespace telvaro::test
