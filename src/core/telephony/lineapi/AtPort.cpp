// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/telephony/lineapi/AtPort.h"

#include <QFileInfo>
#include <QSerialPort>
#include <QTimer>

namespace telvaro {
namespace {

// Garbage lines tolerated in one answer before the command fails.
constexpr int kMaxGarbageLines = 2;
// How often an open port checks that its device is still there.
constexpr int kWatchIntervalMs = 500;

AtPort::Outcome outcomeOf(AtResult r)
{
    switch (r) {
    case AtResult::Ok:
        return AtPort::Outcome::Ok;
    case AtResult::Connect:
        return AtPort::Outcome::Connect;
    case AtResult::NoCarrier:
        return AtPort::Outcome::NoCarrier;
    case AtResult::Error:
        return AtPort::Outcome::Error;
    case AtResult::NoDialtone:
        return AtPort::Outcome::NoDialtone;
    case AtResult::Busy:
        return AtPort::Outcome::Busy;
    case AtResult::NoAnswer:
        return AtPort::Outcome::NoAnswer;
    case AtResult::Delayed:
    case AtResult::Blacklisted:
        return AtPort::Outcome::Refused;
    case AtResult::None:
        break;
    }
    return AtPort::Outcome::Error;
}

} // namespace

void AtLineSplitter::append(QByteArrayView bytes)
{
    if (m_pos > 0) {
        m_buffer.remove(0, m_pos);
        m_pos = 0;
    }
    m_buffer.append(bytes);
}

std::optional<QString> AtLineSplitter::next()
{
    const char* const data = m_buffer.constData();
    const qsizetype size = m_buffer.size();
    while (m_pos < size) {
        qsizetype end = m_pos;
        while (end < size && data[end] != '\r' && data[end] != '\n')
            ++end;
        if (end == size)
            break;
        const QByteArrayView raw(data + m_pos, end - m_pos);
        m_pos = end + 1;
        if (!raw.trimmed().isEmpty())
            return QString::fromLatin1(raw);
    }
    return std::nullopt;
}

bool AtLineSplitter::dropOverlong()
{
    if (pending() <= kMaxLine)
        return false;
    clear();
    return true;
}

void AtLineSplitter::clear()
{
    m_buffer.clear();
    m_pos = 0;
}

AtPort::AtPort(QObject* parent)
    : QObject(parent), m_timer(new QTimer(this)), m_watch(new QTimer(this))
{
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &AtPort::onTimeout);
    // A device that goes away (a USB modem pulled out, a pseudo-terminal
    // whose other side closed) does not always show up as a read error; its
    // device file disappearing always does.
    m_watch->setInterval(kWatchIntervalMs);
    connect(m_watch, &QTimer::timeout, this, [this] {
        if (m_port && !QFileInfo::exists(m_device))
            fail(QStringLiteral("%1 is gone").arg(m_device));
    });
}

AtPort::~AtPort()
{
    close();
}

QString AtPort::outcomeText(Outcome o)
{
    switch (o) {
    case Outcome::Ok:
        return QStringLiteral("OK");
    case Outcome::Connect:
        return QStringLiteral("CONNECT");
    case Outcome::NoCarrier:
        return QStringLiteral("NO CARRIER");
    case Outcome::Error:
        return QStringLiteral("ERROR");
    case Outcome::NoDialtone:
        return QStringLiteral("NO DIALTONE");
    case Outcome::Busy:
        return QStringLiteral("BUSY");
    case Outcome::NoAnswer:
        return QStringLiteral("NO ANSWER");
    case Outcome::Refused:
        return QStringLiteral("the modem refused to dial the number");
    case Outcome::Timeout:
        return QStringLiteral("no answer from the modem");
    case Outcome::Garbage:
        return QStringLiteral("unreadable answer from the modem");
    case Outcome::PortLost:
        return QStringLiteral("the modem went away");
    }
    return {};
}

bool AtPort::open(const QString& device, int speed, OpenError* why, QString* error)
{
    close();
    auto setError = [&](OpenError kind, const QString& text) {
        if (why)
            *why = kind;
        if (error)
            *error = text;
        return false;
    };
    if (device.isEmpty())
        return setError(OpenError::NoDevice, QStringLiteral("no serial port configured"));
    if (!QFileInfo::exists(device))
        return setError(OpenError::NoDevice, QStringLiteral("%1 does not exist").arg(device));

    qint64 owner = 0;
    QString lockError;
    switch (m_lock.acquire(device, &owner, &lockError)) {
    case UucpLock::Result::Locked:
        break;
    case UucpLock::Result::Busy:
        return setError(OpenError::Locked,
                        QStringLiteral("%1 is in use by process %2").arg(device).arg(owner));
    case UucpLock::Result::Failed:
        // A lock folder we may not write to (some systems keep it for the
        // dialout group) does not stop the port from working; the serial
        // port's own exclusive open still keeps two programs apart.
        break;
    }

    m_port = new QSerialPort(this);
    m_port->setPortName(device);
    if (!m_port->open(QIODevice::ReadWrite)) {
        const QString reason = m_port->errorString();
        const auto code = m_port->error();
        delete m_port;
        m_port = nullptr;
        m_lock.release();
        return setError(code == QSerialPort::DeviceNotFoundError ? OpenError::NoDevice
                                                                 : OpenError::Failed,
                        QStringLiteral("%1: %2").arg(device, reason));
    }
    m_port->setBaudRate(speed);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    m_port->setDataTerminalReady(true);
    m_port->setRequestToSend(true);
    m_port->clear();
    m_device = device;
    m_lines.clear();
    connect(m_port, &QSerialPort::readyRead, this, &AtPort::onReadyRead);
    m_watch->start();
    connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (e == QSerialPort::ResourceError || e == QSerialPort::PermissionError ||
            e == QSerialPort::DeviceNotFoundError)
            fail(m_port ? m_port->errorString() : QString());
    });
    return true;
}

void AtPort::close()
{
    m_timer->stop();
    m_watch->stop();
    m_queue.clear();
    m_current.reset();
    m_lines.clear();
    if (m_port) {
        m_port->disconnect(this);
        if (m_port->isOpen())
            m_port->close();
        m_port->deleteLater();
        m_port = nullptr;
    }
    m_lock.release();
    m_device.clear();
}

bool AtPort::isOpen() const
{
    return m_port && m_port->isOpen();
}

QString AtPort::currentCommand() const
{
    return m_current ? QString::fromLatin1(m_current->text) : QString();
}

quint64 AtPort::send(const QString& command, Handler handler, int timeoutMs)
{
    Command c;
    c.id = m_nextId++;
    c.text = command.toLatin1();
    // A line end inside a command would start another one.
    c.text.replace('\r', "").replace('\n', "");
    c.timeoutMs = timeoutMs > 0 ? timeoutMs : m_defaultTimeout;
    c.handler = std::move(handler);
    const quint64 id = c.id;
    m_queue.push_back(std::move(c));
    if (!isOpen()) {
        // Never answer from inside the call: the failure arrives through the
        // event loop like every other answer.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!isOpen() && !m_queue.empty())
                    fail(QStringLiteral("the port is not open"));
            },
            Qt::QueuedConnection);
        return id;
    }
    // The command goes out from the event loop, so commandWritten never comes
    // from inside send() (the caller knows the id by then).
    if (!m_current)
        QMetaObject::invokeMethod(this, &AtPort::writeNext, Qt::QueuedConnection);
    return id;
}

quint64 AtPort::sendEscape(Handler handler)
{
    const quint64 id = send(QStringLiteral("+++"), std::move(handler), 2 * kEscapeGuardMs + 1000);
    m_queue.back().escape = true;
    return id;
}

void AtPort::writeNext()
{
    if (m_current || m_queue.empty() || !isOpen())
        return;
    m_current = std::move(m_queue.front());
    m_queue.pop_front();
    m_timer->start(m_current->timeoutMs);
    if (m_current->escape) {
        // Nothing may go to the modem for the guard time before the escape.
        const quint64 id = m_current->id;
        QTimer::singleShot(kEscapeGuardMs, this, [this, id] {
            if (m_current && m_current->id == id && isOpen()) {
                m_port->write(m_current->text);
                m_port->flush();
                Q_EMIT commandWritten(id);
            }
        });
        return;
    }
    m_port->write(m_current->text + '\r');
    // Out now, not when the event loop next runs: the command's time counts
    // from here.
    m_port->flush();
    Q_EMIT commandWritten(m_current->id);
}

void AtPort::abortCurrent()
{
    // Harmless when the modem is not dialing: an empty command line. Not
    // while an escape waits out its guard time.
    if (m_current && m_current->escape)
        return;
    if (isOpen())
        m_port->write("\r");
}

void AtPort::clearQueue()
{
    m_queue.clear();
}

bool AtPort::cancel(quint64 id)
{
    for (auto it = m_queue.begin(); it != m_queue.end(); ++it) {
        if (it->id == id) {
            m_queue.erase(it);
            return true;
        }
    }
    return false;
}

void AtPort::onReadyRead()
{
    if (!m_port)
        return;
    m_lines.append(m_port->readAll());
    QPointer<AtPort> self(this);
    while (const std::optional<QString> line = m_lines.next()) {
        handleLine(*line);
        if (!self || !m_port)
            return;
    }
    if (m_lines.dropOverlong())
        handleLine(QStringLiteral("\x01")); // counts as a garbage line
}

void AtPort::handleLine(const QString& raw)
{
    const QString line = raw.trimmed();
    // Before the noise test: caller ID names may hold 8-bit letters.
    if (isRing(line) || parseCallerIdLine(line)) {
        Q_EMIT unsolicited(line);
        return;
    }
    if (m_current && m_current->settling) {
        // Waiting out a command that timed out: its late final answer (or
        // that of the abandoned dial) ends the wait; nothing else counts.
        if (!isGarbage(line) && parseResult(line) != AtResult::None)
            finish(Outcome::Timeout, line);
        return;
    }
    if (isGarbage(line)) {
        if (m_current && ++m_current->garbageLines > kMaxGarbageLines)
            finish(Outcome::Garbage, QString());
        return;
    }
    if (!m_current) {
        Q_EMIT unsolicited(line);
        return;
    }
    // The modem's echo of the command (echo is on until ATE0 has run).
    if (line.compare(QString::fromLatin1(m_current->text), Qt::CaseInsensitive) == 0 &&
        m_current->lines.isEmpty())
        return;
    const AtResult r = parseResult(line);
    if (r == AtResult::None) {
        m_current->lines << line;
        Q_EMIT informationLine(m_current->id, line);
        return;
    }
    finish(outcomeOf(r), line);
}

void AtPort::finish(Outcome outcome, const QString& finalLine)
{
    if (!m_current)
        return;
    m_timer->stop();
    Command done = std::move(*m_current);
    m_current.reset();
    QPointer<AtPort> self(this);
    if (done.handler) {
        Reply reply;
        reply.outcome = outcome;
        reply.lines = done.lines;
        reply.finalLine = finalLine;
        done.handler(reply);
    }
    if (self && !m_current)
        writeNext();
}

void AtPort::onTimeout()
{
    if (!m_current)
        return;
    // The answer may be waiting unread (the program was busy when it came):
    // it is read before the command counts as unanswered.
    const quint64 id = m_current->id;
    if (m_port && m_port->waitForReadyRead(0) && (!m_current || m_current->id != id))
        return;
    if (!m_current)
        return;
    if (m_current->settling) {
        finish(Outcome::Timeout, QString());
        return;
    }
    // A dial still under way is abandoned (any character does it); then the
    // modem's answer to it, or a quiet while, is awaited.
    m_current->settling = true;
    if (m_current->text.toUpper().startsWith("ATD")) {
        abortCurrent();
        m_timer->start(settleMs);
    } else {
        // A command the modem did not answer in its time gets as long again.
        m_timer->start(std::min(settleMs, m_current->timeoutMs));
    }
}

void AtPort::fail(const QString& reason)
{
    // Everything waiting ends with PortLost; then the port closes.
    std::deque<Command> waiting;
    if (m_current)
        waiting.push_back(std::move(*m_current));
    m_current.reset();
    for (auto& c : m_queue)
        waiting.push_back(std::move(c));
    m_queue.clear();
    m_timer->stop();
    m_watch->stop();
    if (m_port) {
        m_port->disconnect(this);
        if (m_port->isOpen())
            m_port->close();
        m_port->deleteLater();
        m_port = nullptr;
    }
    m_lock.release();
    QPointer<AtPort> self(this);
    for (auto& c : waiting) {
        if (c.handler) {
            Reply reply;
            reply.outcome = Outcome::PortLost;
            c.handler(reply);
            if (!self)
                return;
        }
    }
    Q_EMIT portLost(reason);
}

} // namespace telvaro
