// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace telvaro {

// One running Telvaro per user. The first instance listens on a local socket
// in the runtime folder (reachable by this user only); a later start connects,
// hands over its command line and ends.
//
// A message is: the tag (4 bytes, little-endian; 1 = bring the window to the
// front, 3 = dial the text), the byte count (4 bytes, little-endian: text
// bytes + 1), the text in Windows-1252 and a NUL.
//
// The handshake, so that a later start never reports a failure for a message
// that is acted on, nor a success for one that is dropped:
//   1. the later start sends the message;
//   2. the first instance answers one byte (kAck) as soon as the message is
//      whole, before doing anything with it;
//   3. the later start, having the answer within its wait, sends one byte
//      (kConfirm) and reports success; without the answer in time it closes
//      the connection and reports failure;
//   4. the first instance acts on the message (messageReceived) only once
//      the confirmation arrives; a connection closed without it, or silent
//      for three seconds, drops the message.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    static constexpr int kShowTag = 1;
    static constexpr int kDialTag = 3;
    static constexpr int kMaxText = 254; // characters; longer texts are cut
    static constexpr char kAck = 0x06;
    static constexpr char kConfirm = 0x06;

    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    enum class Claim { First, Second, Failed };

    // Decides whether this process is the first instance. First: this object
    // now listens. Second: another instance answers on the socket. Failed: no
    // socket could be made (the program then runs without single-instance
    // detection). Two processes claiming at the same moment are serialised by
    // a lock, so exactly one becomes the first; a socket left by a crashed
    // instance is removed.
    Claim claim();

    // Sends `text` (cut to kMaxText characters) to the first instance: tag 3,
    // or tag 1 when the text is empty. Returns true when the first instance
    // answered within `timeoutMs` and was told so (it then acts on the
    // message); false when it did not (it then drops the message).
    static bool send(const QString& text, int timeoutMs = 1500);
    static bool sendMessage(int tag, const QByteArray& payload, int timeoutMs = 1500);

    // Stops listening and removes the socket (the exit sequence).
    void release();
    bool isListening() const;

    static QString socketPath();

    // Encodes a message as it goes over the socket.
    static QByteArray encodeMessage(int tag, const QString& text);

    // What the bytes received so far hold: a message not yet whole, bytes
    // that are no message of ours (a byte count over kMaxText + 1), or a
    // whole message of `size` bytes whose text is cut at its first NUL.
    struct Decoded
    {
        enum class Status { Incomplete, Refused, Complete };
        Status status = Status::Incomplete;
        int tag = 0;
        QString text;
        qsizetype size = 0;
    };
    static Decoded decodeMessage(QByteArrayView received);
    static constexpr qsizetype kMaxMessage = 8 + kMaxText + 1;

Q_SIGNALS:
    // A message from another start, confirmed by it; `text` is cut at its
    // first NUL.
    void messageReceived(int tag, const QString& text);

private:
    void onNewConnection();
    void readFrom(QLocalSocket* socket);

    QLocalServer* m_server = nullptr;
};

} // namespace telvaro
