// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/telephony/lineapi/AtResponse.h"
#include "core/telephony/lineapi/UucpLock.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <optional>

class QSerialPort;
class QTimer;

namespace telvaro {

// Cuts the bytes a modem sends into lines: a line ends at CR or LF, and blank
// lines are skipped. Bytes arrive in pieces of any size.
class AtLineSplitter
{
public:
    // A line longer than any modem answer: the device is sending noise.
    static constexpr qsizetype kMaxLine = 512;

    void append(QByteArrayView bytes);
    // The next whole line (without its end), or nullopt until more bytes come.
    std::optional<QString> next();
    // Drops a line that has grown past kMaxLine without its end; true when
    // it did.
    bool dropOverlong();
    void clear();
    // Bytes of a line not yet ended.
    qsizetype pending() const { return m_buffer.size() - m_pos; }

private:
    QByteArray m_buffer;
    qsizetype m_pos = 0; // bytes before it have been handed out
};

// A modem on a serial port, spoken to with AT commands. Commands queue and go
// out one at a time; each waits for its final result (OK, ERROR, BUSY ...) or
// its timeout, and its handler gets the outcome with the information lines
// that came before it. Lines that belong to no command (RING, caller ID
// reports) are handed on as unsolicited. The port is locked with a UUCP lock
// file while it is open. Nothing here blocks: everything arrives through the
// event loop.
class AtPort : public QObject
{
    Q_OBJECT

public:
    enum class Outcome {
        Ok,
        Connect,
        NoCarrier,
        Error,
        NoDialtone,
        Busy,
        NoAnswer,
        Refused,  // DELAYED or BLACKLISTED: the modem will not dial the number
        Timeout,  // no final result in time
        Garbage,  // the modem sent lines no modem would send
        PortLost, // the device went away (unplugged) or failed
    };

    struct Reply
    {
        Outcome outcome = Outcome::Timeout;
        QStringList lines; // information lines before the final result
        QString finalLine; // the final result as the modem sent it
        bool ok() const { return outcome == Outcome::Ok; }
    };
    using Handler = std::function<void(const Reply&)>;

    enum class OpenError { None, Locked, NoDevice, Failed };

    explicit AtPort(QObject* parent = nullptr);
    ~AtPort() override;

    // Locks and opens the device (8N1, no flow control, DTR and RTS on).
    // On failure returns false with the kind of failure and a text for people.
    bool open(const QString& device, int speed, OpenError* why = nullptr, QString* error = nullptr);
    // Closes the port and releases its lock; queued commands are dropped
    // without their handlers.
    void close();
    bool isOpen() const;
    QString device() const { return m_device; }

    // The timeout of commands sent without one (milliseconds).
    void setDefaultTimeout(int ms) { m_defaultTimeout = ms; }
    int defaultTimeout() const { return m_defaultTimeout; }

    // Queues a command (without the line end); returns its id. A timeout of 0
    // uses the default.
    quint64 send(const QString& command, Handler handler = {}, int timeoutMs = 0);
    // Queues the escape from a data connection to the command state: "+++"
    // without a line end between two quiet guard times; the modem answers OK.
    quint64 sendEscape(Handler handler);
    static constexpr int kEscapeGuardMs = 1100;
    // Whether a command is waiting for its answer, and which.
    bool busy() const { return m_current.has_value(); }
    QString currentCommand() const;
    // Sends one character, which makes a modem abandon a dial in progress;
    // a dial command still waiting then ends with the modem's answer or its
    // timeout. A dial that times out is abandoned the same way; after any
    // timeout the next command waits for the late answer or a short quiet
    // period (settleMs, or the command's own timeout when that is shorter).
    void abortCurrent();
    // Drops the queued commands that have not gone out yet.
    void clearQueue();
    // Drops one queued command that has not gone out yet; false when it has
    // (or is unknown).
    bool cancel(quint64 id);
    // Whether the command with this id is the one waiting for its answer.
    bool isCurrent(quint64 id) const { return m_current && m_current->id == id; }

    static QString outcomeText(Outcome o);
    static constexpr int settleMs = 1000;

Q_SIGNALS:
    // A line that answers no command: RING, caller ID, anything unexpected.
    void unsolicited(const QString& line);
    // The command with this id has been written to the modem.
    void commandWritten(quint64 id);
    // An information line (no final result) arrived for the command with this id.
    void informationLine(quint64 id, const QString& line);
    // The device went away or failed; the port has been closed.
    void portLost(const QString& reason);

private:
    struct Command
    {
        quint64 id = 0;
        QByteArray text;
        int timeoutMs = 0;
        Handler handler;
        QStringList lines;
        int garbageLines = 0;
        // Timed out: a late answer is awaited before the next command goes
        // out, so that it cannot be taken for that command's answer.
        bool settling = false;
        bool escape = false; // "+++": no line end, quiet before it
    };

    void writeNext();
    void onReadyRead();
    void handleLine(const QString& line);
    void finish(Outcome outcome, const QString& finalLine);
    void onTimeout();
    void fail(const QString& reason);

    QSerialPort* m_port = nullptr;
    QTimer* m_timer = nullptr;
    QTimer* m_watch = nullptr; // notices a device that went away
    UucpLock m_lock;
    QString m_device;
    AtLineSplitter m_lines;
    std::deque<Command> m_queue;
    std::optional<Command> m_current;
    quint64 m_nextId = 1;
    int m_defaultTimeout = 3000;
};

} // namespace telvaro
