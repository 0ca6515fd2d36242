// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/TestEnv.h"

#include "core/telephony/lineapi/LineApi.h"
#include "core/telephony/lineapi/ModemConfig.h"

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <vector>

namespace telvaro::test {

// telvaro-modemsim running on a pseudo-terminal, configured as modem 0 of
// the test's telephony configuration (short timeouts), with the port locks
// in a folder of the test's own.
class SimModem
{
public:
    explicit SimModem(const QStringList& args, ModemSettings settings = fastSettings());
    ~SimModem();
    SimModem(const SimModem&) = delete;
    SimModem& operator=(const SimModem&) = delete;

    bool started() const { return !m_device.isEmpty(); }
    QString device() const { return m_device; }
    QString lockDir() const { return m_locks.path(); }
    // The command lines the simulator received so far.
    QStringList log() const;
    // Stops the simulator at once (like a modem switched off).
    void kill();
    // Tells the simulator what happens on the line: "ring NUMBER NAME",
    // "silent" ...
    void tell(const QString& line);

    static ModemSettings fastSettings();

private:
    QProcess m_process;
    QTemporaryDir m_locks;
    QString m_logFile;
    QString m_device;
};

// Line events as the callback received them.
struct LineEvent
{
    quint32 device = 0;
    quint32 msg = 0;
    quintptr p1 = 0, p2 = 0, p3 = 0;
};

class EventLog
{
public:
    LINECALLBACK callback();
    std::vector<LineEvent> events;
    // Waits (processing events) until an event matching msg/p1 arrives after
    // position `from`; returns its index, -1 on timeout.
    int waitFor(quint32 msg, quintptr p1, int timeoutMs = 5000, size_t from = 0);
    int find(quint32 msg, quintptr p1, size_t from = 0) const;
    // The call states in order.
    QList<quint32> callStates() const;
};

} // namespace telvaro::test
