#include "core/common/ProgramState.h"

namespace telvaro {
namespace {
ProgramState g_state;
}

ProgramState& state()
{
    return g_state;
}

void resetState()
{
    g_state = ProgramState{};
}

} // namespace telvaro
