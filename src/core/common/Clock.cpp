// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/Clock.h"

namespace telvaro {
namespace {

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    std::chrono::steady_clock::time_point monotonic() const override
    {
        return std::chrono::steady_clock::now();
    }
};

SystemClock g_systemClock;
Clock* g_clock = nullptr;

} // namespace

Clock& clock()
{
    return g_clock ? *g_clock : g_systemClock;
}

void setClock(Clock* c)
{
    g_clock = c;
}

} // namespace telvaro
