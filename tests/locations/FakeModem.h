// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QStringList>

#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace telvaro::test {

// A modem on a pseudo-terminal that answers AT commands from a table (each
// answer without line ends; "OK" and "ERROR" included by the table). Unknown
// commands get ERROR; a silent modem answers nothing at all.
class FakeModem : public QObject
{
    Q_OBJECT

public:
    FakeModem()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
            return;
        m_path = QString::fromLocal8Bit(::ptsname(m_master));
        // Holding the far end open keeps the master readable while no one
        // has the port open; raw mode stops the terminal echoing answers.
        m_slave = ::open(::ptsname(m_master), O_RDWR | O_NOCTTY);
        termios tio{};
        ::tcgetattr(m_slave, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(m_slave, TCSANOW, &tio);
        m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &FakeModem::readCommands);
        answers.insert(QStringLiteral("AT"), QStringLiteral("OK"));
    }
    ~FakeModem() override
    {
        delete m_notifier;
        if (m_slave >= 0)
            ::close(m_slave);
        if (m_master >= 0)
            ::close(m_master);
    }

    QString path() const { return m_path; }
    bool ok() const { return !m_path.isEmpty() && m_slave >= 0; }

    QHash<QString, QString> answers;
    bool silent = false;
    QStringList received;

private:
    void readCommands()
    {
        char buf[256];
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n <= 0)
            return;
        m_buffer.append(buf, n);
        for (qsizetype end; (end = m_buffer.indexOf('\r')) >= 0;) {
            const QString command = QString::fromLatin1(m_buffer.left(end)).trimmed();
            m_buffer.remove(0, end + 1);
            if (command.isEmpty())
                continue;
            received << command;
            if (silent)
                continue;
            const QString reply = answers.value(command.toUpper(), QStringLiteral("ERROR"));
            QByteArray out;
            for (const QString& line : reply.split(u'\n'))
                out += "\r\n" + line.toLatin1() + "\r\n";
            (void)!::write(m_master, out.constData(), size_t(out.size()));
        }
    }

    int m_master = -1;
    int m_slave = -1;
    QString m_path;
    QSocketNotifier* m_notifier = nullptr;
    QByteArray m_buffer;
};

} // namespace telvaro::test
