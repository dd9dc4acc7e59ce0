#include "host/host_state_windows.h"

#include "saver_program/close_rules.h"

namespace {
HostState InitialHostState() {
    HostState state{};
    state.moveTolerance = kMoveTolerance;
    state.lastCheckEndTick = kNoCheckYet;
    return state;
}
}  // namespace

HostState hostState = InitialHostState();
