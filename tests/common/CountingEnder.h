// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/ProgramParts.h"

namespace telvaro::test {

// Stands in for the end of the process: counts the ends of the exit sequence
// into `count`, and the test goes on.
class CountingEnder final : public ProcessEnder
{
public:
    explicit CountingEnder(int& count) : m_count(count) {}
    CountingEnder() : m_count(m_own) {}
    void endProcess() override { ++m_count; }

private:
    int m_own = 0;
    int& m_count;
};

} // namespace telvaro::test
