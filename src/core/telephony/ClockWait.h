// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

namespace telvaro {

// A wait measured on the program's monotonic clock (so a test's fast clock
// shortens it) that never blocks: the event loop runs on while it waits.
// While waiting it looks at the clock at least every `tickMs` and says so
// through ticked(); when the time is up it says finished() once.
class ClockWait : public QObject
{
    Q_OBJECT

public:
    explicit ClockWait(QObject* parent = nullptr, int tickMs = 50);

    // (Re)starts the wait; a wait of zero seconds or less ends at the next
    // turn of the event loop.
    void start(double seconds);
    void stop();
    bool isActive() const { return m_active; }
    // Seconds left (0 when the time is up).
    double left() const;

Q_SIGNALS:
    // A look at the clock before the time was up (a handler may stop the
    // wait).
    void ticked();
    void finished();

private:
    void onTimeout();
    void schedule();

    QTimer m_timer;
    int m_tickMs;
    bool m_active = false;
    double m_length = 0;
    std::chrono::steady_clock::time_point m_start{};
};

} // namespace telvaro
