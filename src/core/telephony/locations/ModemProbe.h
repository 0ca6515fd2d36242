// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace telvaro {

class AtPort;

// Talks to modems on serial ports for the system-modems dialog, without ever
// blocking: detection asks every port in turn whether a modem answers "AT"
// and for its name (ATI3, then AT+GMM); a query sends a modem the
// identification and caller-ID commands and hands on each answer.
class ModemProbe : public QObject
{
    Q_OBJECT

public:
    explicit ModemProbe(QObject* parent = nullptr);
    ~ModemProbe() override;

    // How long each command may take (milliseconds).
    void setTimeout(int ms) { m_timeout = ms; }
    int timeout() const { return m_timeout; }

    // Probes `ports` one after the other at `speed`. Emits portStarted for
    // each, modemFound for each that answers, then detectFinished.
    void detect(const QStringList& ports, int speed = 115200);
    // Sends the query commands to the modem on `port`. Emits answered for each
    // command, then queryFinished; queryFailed when the port cannot be used.
    void query(const QString& port, int speed);
    // Stops what runs and closes the port; emits nothing more.
    void cancel();
    bool running() const { return m_mode != Mode::Idle; }

    // The commands of a query, in order.
    static QStringList queryCommands();
    // The modem's name in the answer to ATI3 or AT+GMM; empty when the lines
    // name nothing (a bare number, an error).
    static QString nameFrom(const QStringList& lines);

Q_SIGNALS:
    void portStarted(int index, int count, const QString& port);
    void modemFound(const QString& port, const QString& name);
    void detectFinished(int found);
    void answered(const QString& command, const QString& answer);
    void queryFinished();
    void queryFailed(const QString& reason);

private:
    enum class Mode { Idle, Detect, Query };

    void nextPort();
    void askName(int step);
    void portDone();
    void nextQuery();
    void closePort();

    std::unique_ptr<AtPort> m_port;
    Mode m_mode = Mode::Idle;
    QStringList m_ports;
    int m_index = -1;
    int m_speed = 115200;
    int m_found = 0;
    int m_timeout = 2000;
    QStringList m_commands;
    quint64 m_generation = 0; // answers of a cancelled run are ignored
};

} // namespace telvaro
