// The saver's one World, painted into the saver window through GDI.
#pragma once

#include "display/display_hooks.h"
#include "display/gdi_paint_target_windows.h"
#include "world/world.h"

extern World theWorld;
extern GdiPaintTarget windowTarget;
// The painter and the world succession, drawing on windowTarget.
extern DisplayHooks saverHooks;
