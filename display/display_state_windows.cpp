#include "display/display_state_windows.h"

DisplayState displayState{};
