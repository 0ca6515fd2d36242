// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A session bus of the test's own (a private dbus-daemon, never the user's),
// and RequestMakeCall called on it as another program would.

#include "core/dialing/ExternalRequests.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QStandardPaths>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace telvaro::test {

// A session bus of the test's own.
class PrivateBus
{
public:
    PrivateBus()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            return;
        m_process.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                 QStringLiteral("--print-address=1")});
        if (!m_process.waitForStarted(5000))
            return;
        for (int i = 0; i < 50 && !m_process.canReadLine(); ++i)
            m_process.waitForReadyRead(100);
        address = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("service"));
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        m_process.terminate();
        m_process.waitForFinished(3000);
    }
    QDBusConnection connect(const QString& name) const
    {
        return QDBusConnection::connectToBus(address, name);
    }
    QString address;

private:
    QProcess m_process;
};

struct Reply
{
    std::atomic<bool> done{false};
    QString error; // empty: a plain reply
    std::chrono::steady_clock::time_point at;
    std::thread caller;
    ~Reply()
    {
        if (caller.joinable())
            caller.join();
    }
};

// Calls RequestMakeCall as another program would: from a thread of its own,
// waiting for the answer while this thread serves the service.
inline std::shared_ptr<Reply> request(const QDBusConnection& client, const QString& destination,
                                      const QString& party)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kDBusServiceName, kDBusObjectPath,
                                                       kDBusInterface, "RequestMakeCall");
    call << destination << QStringLiteral("test") << party << QString();
    auto reply = std::make_shared<Reply>();
    reply->caller = std::thread([client, call, r = reply.get()] {
        const QDBusMessage answer = QDBusConnection(client).call(call, QDBus::Block, 10000);
        if (answer.type() == QDBusMessage::ErrorMessage)
            r->error = answer.errorName();
        r->at = std::chrono::steady_clock::now();
        r->done = true;
    });
    return reply;
}

} // namespace telvaro::test
