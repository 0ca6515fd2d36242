// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;

namespace telvaro {

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the user-interface
// thread (through a pipe written by the signal handler), so the program can
// run its exit sequence instead of dying with unsaved state.
class UnixSignals : public QObject
{
    Q_OBJECT

public:
    explicit UnixSignals(QObject* parent = nullptr);
    ~UnixSignals() override;

Q_SIGNALS:
    void terminationRequested(int signalNumber);

private:
    void readSignal();
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace telvaro
