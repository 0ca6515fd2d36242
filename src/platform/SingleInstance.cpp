#include "platform/SingleInstance.h"

#include "settings/Cp1252.h"
#include "core/common/Helpers.h"
#include "settings/Paths.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QVariant>
#include <QtEndian>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace telvaro {
namespace {

constexpr int kHeaderSize = 8;
constexpr quint32 kMaxCount = SingleInstance::kMaxText + 1;
constexpr int kConnectionTimeoutMs = 3000;

// Holds an exclusive lock on the runtime folder's lock file for its life.
class ClaimLock
{
public:
    explicit ClaimLock(const QString& path)
    {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd < 0)
            return;
        // A claim takes milliseconds; a lock held longer than this belongs to
        // a process that hangs, and this start goes on without it.
        const QDeadlineTimer deadline(5000);
        // Without the lock the claim still works, only two simultaneous starts
        // could then both become first.
        while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) || deadline.hasExpired())
                return;
            QThread::msleep(10);
        }
    }
    ~ClaimLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // also releases the lock
    }
    ClaimLock(const ClaimLock&) = delete;
    ClaimLock& operator=(const ClaimLock&) = delete;

private:
    int m_fd = -1;
};

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
    ClaimLock lock(paths::runtimeDir() + QStringLiteral("/instance.lock"));

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
    socket.getChar(&answer);
    socket.disconnectFromServer();
    return answer == kAck;
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
    socket->setProperty("telvaroDone", true);
    const int tag = message.tag;
    const QString text = message.text;

    socket->putChar(kAck);
    socket->flush();
    socket->disconnectFromServer();
    // Handled after the answer, so the sender ends at once even when the
    // message starts a call.
    QMetaObject::invokeMethod(
        this, [this, tag, text] { Q_EMIT messageReceived(tag, text); }, Qt::QueuedConnection);
}

} // namespace telvaro
