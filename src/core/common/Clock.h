// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

#include <chrono>

namespace telvaro {

// The clocks of the program: the wall clock for dates and times written to
// logs and memo stamps, a monotonic clock for waits. Tests install their own.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    virtual std::chrono::steady_clock::time_point monotonic() const = 0;
};

// The clock every part reads the time from. One of the program's only three
// process-wide objects, with the settings file (settings::file()) and the
// live options (options()).
Clock& clock();
// Installs `c` (not owned); nullptr restores the system clock.
void setClock(Clock* c);

} // namespace telvaro
