#include "host/host_state_windows.h"

#include "host/close_rules.h"

namespace {
HostState InitialHostState() {
    HostState state{};
    state.moveTolerance = kMoveTolerance;
    state.lastCheckEndTick = kNoCheckYet;
    return state;
}
}  // namespace

HostState hostState = InitialHostState();
