// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/telephony/locations/ModemProbe.h"

#include "core/telephony/lineapi/AtPort.h"

#include <QRegularExpression>
#include <QTimer>

namespace telvaro {

ModemProbe::ModemProbe(QObject* parent) : QObject(parent) {}

ModemProbe::~ModemProbe()
{
    ++m_generation;
    closePort();
}

QStringList ModemProbe::queryCommands()
{
    return {QStringLiteral("ATI"),       QStringLiteral("ATI3"),     QStringLiteral("AT+GMM"),
            QStringLiteral("AT+VCID=?"), QStringLiteral("AT#CID=?"), QStringLiteral("AT%CCID=?"),
            QStringLiteral("AT+CLIP=?")};
}

QString ModemProbe::nameFrom(const QStringList& lines)
{
    static const QRegularExpression bareNumber(QStringLiteral("^[0-9\\s]*$"));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.startsWith(u"+GMM:", Qt::CaseInsensitive))
            line = line.mid(5).trimmed();
        if (line.isEmpty() || bareNumber.match(line).hasMatch())
            continue;
        return line.left(80);
    }
    return {};
}

void ModemProbe::cancel()
{
    ++m_generation;
    m_mode = Mode::Idle;
    closePort();
}

void ModemProbe::closePort()
{
    if (m_port) {
        m_port->close();
        // The port may be inside one of its own handlers: let it go later.
        m_port.release()->deleteLater();
    }
}

void ModemProbe::detect(const QStringList& ports, int speed)
{
    cancel();
    m_mode = Mode::Detect;
    m_ports = ports;
    m_index = -1;
    m_speed = speed;
    m_found = 0;
    const quint64 generation = m_generation;
    // Start from the event loop, so callers connect before the first signal.
    QTimer::singleShot(0, this, [this, generation] {
        if (generation == m_generation)
            nextPort();
    });
}

void ModemProbe::nextPort()
{
    closePort();
    ++m_index;
    if (m_index >= m_ports.size()) {
        m_mode = Mode::Idle;
        Q_EMIT detectFinished(m_found);
        return;
    }
    const QString port = m_ports.at(m_index);
    Q_EMIT portStarted(m_index, int(m_ports.size()), port);
    if (m_mode != Mode::Detect)
        return; // cancelled by a slot
    m_port = std::make_unique<AtPort>();
    m_port->setDefaultTimeout(m_timeout);
    if (!m_port->open(port, m_speed)) {
        // In use, gone, or no permission: not a modem we can set up now.
        const quint64 generation = m_generation;
        QTimer::singleShot(0, this, [this, generation] {
            if (generation == m_generation)
                nextPort();
        });
        return;
    }
    const quint64 generation = m_generation;
    m_port->send(QStringLiteral("AT"), [this, generation](const AtPort::Reply& reply) {
        if (generation != m_generation)
            return;
        if (!reply.ok()) {
            portDone();
            return;
        }
        askName(0);
    });
}

void ModemProbe::askName(int step)
{
    const QString command = step == 0 ? QStringLiteral("ATI3") : QStringLiteral("AT+GMM");
    const quint64 generation = m_generation;
    m_port->send(command, [this, generation, step](const AtPort::Reply& reply) {
        if (generation != m_generation)
            return;
        if (reply.outcome == AtPort::Outcome::PortLost) {
            portDone(); // unplugged while we asked
            return;
        }
        const QString name = reply.ok() ? nameFrom(reply.lines) : QString();
        if (name.isEmpty() && step == 0) {
            askName(1);
            return;
        }
        ++m_found;
        Q_EMIT modemFound(m_ports.at(m_index), name);
        if (generation == m_generation)
            portDone();
    });
}

void ModemProbe::portDone()
{
    const quint64 generation = m_generation;
    QTimer::singleShot(0, this, [this, generation] {
        if (generation == m_generation)
            nextPort();
    });
}

void ModemProbe::query(const QString& port, int speed)
{
    cancel();
    m_mode = Mode::Query;
    m_commands = queryCommands();
    m_port = std::make_unique<AtPort>();
    m_port->setDefaultTimeout(m_timeout);
    QString error;
    AtPort::OpenError why = AtPort::OpenError::None;
    const bool opened = m_port->open(port, speed, &why, &error);
    const quint64 generation = m_generation;
    QTimer::singleShot(0, this, [this, generation, opened, why, error, port] {
        if (generation != m_generation)
            return;
        if (!opened) {
            m_mode = Mode::Idle;
            closePort();
            QString reason;
            switch (why) {
            case AtPort::OpenError::Locked:
                reason = tr("The port %1 is in use by another program, or by "
                            "Telvaro's own line while it waits for calls.")
                             .arg(port);
                break;
            case AtPort::OpenError::NoDevice:
                reason = tr("There is no serial port %1. Is the modem plugged in?").arg(port);
                break;
            default:
                reason = tr("The port %1 cannot be opened (%2).").arg(port, error);
                break;
            }
            Q_EMIT queryFailed(reason);
            return;
        }
        nextQuery();
    });
}

void ModemProbe::nextQuery()
{
    if (m_commands.isEmpty()) {
        m_mode = Mode::Idle;
        closePort();
        Q_EMIT queryFinished();
        return;
    }
    const QString command = m_commands.takeFirst();
    const quint64 generation = m_generation;
    m_port->send(command, [this, generation, command](const AtPort::Reply& reply) {
        if (generation != m_generation)
            return;
        QStringList text = reply.lines;
        switch (reply.outcome) {
        case AtPort::Outcome::Timeout:
            text << tr("(no answer)");
            break;
        case AtPort::Outcome::Garbage:
            text << tr("(unreadable answer)");
            break;
        case AtPort::Outcome::PortLost:
            break;
        default:
            text << reply.finalLine;
            break;
        }
        Q_EMIT answered(command, text.join(u'\n'));
        if (generation != m_generation)
            return;
        if (reply.outcome == AtPort::Outcome::PortLost) {
            m_mode = Mode::Idle;
            m_commands.clear();
            const quint64 lost = m_generation;
            QTimer::singleShot(0, this, [this, lost] {
                if (lost == m_generation)
                    closePort();
            });
            Q_EMIT queryFailed(tr("The modem stopped answering: its port went away."));
            return;
        }
        const quint64 again = m_generation;
        QTimer::singleShot(0, this, [this, again] {
            if (again == m_generation)
                nextQuery();
        });
    });
}

} // namespace telvaro
