// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SingleInstance.h"

#include "core/common/Helpers.h"
#include "settings/Cp1252.h"
#include "settings/Paths.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QtEndian>

namespace telvaro {
namespace {

constexpr int kHeaderSize = 8;
constexpr quint32 kMaxCount = SingleInstance::kMaxText + 1;
constexpr int kConnectionTimeoutMs = 3000;
constexpr int kClaimLockWaitMs = 5000;
constexpr int kClaimLockStaleMs = 10000;
// The confirmation is one byte into a local socket's buffer; it goes at once.
constexpr int kConfirmWriteMs = 1000;

} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

SingleInstance::~SingleInstance()
{
    release();
}

QString SingleInstance::socketPath()
{
    return paths::runtimeDir() + QStringLiteral("/instance");
}

SingleInstance::Claim SingleInstance::claim()
{
    if (isListening())
        return Claim::First;
    const QString path = socketPath();
    // Two starts at the same moment claim one after the other. A claim takes
    // milliseconds; a lock held longer belongs to a process that hangs, and
    // this start goes on without it (only two simultaneous starts could then
    // both become first). A lock left by a process that died is taken over.
    QLockFile lock(paths::runtimeDir() + QStringLiteral("/instance.claim"));
    lock.setStaleLockTime(kClaimLockStaleMs);
    (void)lock.tryLock(kClaimLockWaitMs);

    {
        QLocalSocket probe;
        probe.connectToServer(path);
        if (probe.waitForConnected(1000)) {
            probe.abort();
            return Claim::Second;
        }
    }

    // Nobody answers: whatever socket is there was left by a crash.
    QLocalServer::removeServer(path);
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(path)) {
        delete server;
        return Claim::Failed;
    }
    m_server = server;
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    return Claim::First;
}

bool SingleInstance::isListening() const
{
    return m_server && m_server->isListening();
}

void SingleInstance::release()
{
    if (!m_server)
        return;
    m_server->close(); // removes the socket file
    delete m_server;
    m_server = nullptr;
}

QByteArray SingleInstance::encodeMessage(int tag, const QString& text)
{
    const QByteArray bytes = cp1252::encode(QStringView(text).left(kMaxText));
    QByteArray message(kHeaderSize, '\0');
    qToLittleEndian<quint32>(quint32(tag), message.data());
    qToLittleEndian<quint32>(quint32(bytes.size() + 1), message.data() + 4);
    message.append(bytes);
    message.append('\0');
    return message;
}

SingleInstance::Decoded SingleInstance::decodeMessage(QByteArrayView received)
{
    Decoded d;
    if (received.size() < kHeaderSize)
        return d;
    const quint32 count = qFromLittleEndian<quint32>(received.data() + 4);
    if (count > kMaxCount) {
        d.status = Decoded::Status::Refused;
        return d;
    }
    if (received.size() < kHeaderSize + qsizetype(count))
        return d;
    d.status = Decoded::Status::Complete;
    d.tag = int(qFromLittleEndian<quint32>(received.data()));
    d.text = TrimAtNull(cp1252::decode(received.sliced(kHeaderSize, count)));
    d.size = kHeaderSize + qsizetype(count);
    return d;
}

bool SingleInstance::send(const QString& text, int timeoutMs)
{
    const int tag = text.isEmpty() ? kShowTag : kDialTag;
    const QByteArray message = encodeMessage(tag, text);
    return sendMessage(tag, message.mid(kHeaderSize), timeoutMs);
}

bool SingleInstance::sendMessage(int tag, const QByteArray& payload, int timeoutMs)
{
    QByteArray message(kHeaderSize, '\0');
    qToLittleEndian<quint32>(quint32(tag), message.data());
    qToLittleEndian<quint32>(quint32(payload.size()), message.data() + 4);
    message.append(payload);

    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return false;
    socket.write(message);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
            return false;
    }
    while (socket.bytesAvailable() < 1) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    char answer = 0;
    if (!socket.getChar(&answer) || answer != kAck)
        return false;
    // Answered in time: the confirmation lets the first instance act. Without
    // it (this start gave up, or ended) the message is dropped there.
    socket.putChar(kConfirm);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(kConfirmWriteMs))
            return false;
    }
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        // A sender that never finishes its message is dropped.
        QPointer<QLocalSocket> guard(socket);
        QTimer::singleShot(kConnectionTimeoutMs, this, [guard] {
            if (guard)
                guard->abort();
        });
        readFrom(socket);
    }
}

void SingleInstance::readFrom(QLocalSocket* socket)
{
    if (socket->property("telvaroAcknowledged").toBool()) {
        // The sender's confirmation: the message may be acted on now.
        char confirmation = 0;
        if (!socket->getChar(&confirmation))
            return;
        socket->setProperty("telvaroAcknowledged", false);
        socket->setProperty("telvaroDone", true);
        socket->disconnectFromServer();
        if (confirmation != kConfirm)
            return;
        const int tag = socket->property("telvaroTag").toInt();
        const QString text = socket->property("telvaroText").toString();
        // Handled on its own turn of the event loop, after this socket's work.
        QMetaObject::invokeMethod(
            this, [this, tag, text] { Q_EMIT messageReceived(tag, text); }, Qt::QueuedConnection);
        return;
    }
    if (socket->property("telvaroDone").toBool())
        return;
    const Decoded message = decodeMessage(socket->peek(kMaxMessage));
    if (message.status == Decoded::Status::Incomplete)
        return;
    if (message.status == Decoded::Status::Refused) {
        socket->abort(); // not a message of ours
        return;
    }
    socket->read(message.size);
    socket->setProperty("telvaroTag", message.tag);
    socket->setProperty("telvaroText", message.text);
    socket->setProperty("telvaroAcknowledged", true);
    // Answered before anything is done, so the sender learns at once that it
    // reached us; acted on only once it confirms it got the answer.
    socket->putChar(kAck);
    socket->flush();
    if (socket->bytesAvailable() > 0)
        readFrom(socket);
}

} // namespace telvaro
