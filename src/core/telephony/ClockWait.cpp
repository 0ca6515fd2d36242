// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/telephony/ClockWait.h"

#include "core/common/Clock.h"

#include <cmath>

namespace telvaro {

ClockWait::ClockWait(QObject* parent, int tickMs) : QObject(parent), m_tickMs(tickMs)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ClockWait::onTimeout);
}

void ClockWait::start(double seconds)
{
    m_length = seconds;
    m_start = clock().monotonic();
    m_active = true;
    schedule();
}

void ClockWait::stop()
{
    m_active = false;
    m_timer.stop();
}

double ClockWait::left() const
{
    const double gone = std::chrono::duration<double>(clock().monotonic() - m_start).count();
    return std::max(0.0, m_length - gone);
}

void ClockWait::schedule()
{
    const double seconds = left();
    m_timer.start(std::clamp(int(std::ceil(seconds * 1000)), 0, m_tickMs));
}

void ClockWait::onTimeout()
{
    if (!m_active)
        return;
    if (left() > 0) {
        Q_EMIT ticked();
        if (m_active)
            schedule();
        return;
    }
    m_active = false;
    Q_EMIT finished();
}

} // namespace telvaro
