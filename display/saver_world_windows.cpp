#include "display/saver_world_windows.h"

#include "display/display_hooks.h"
#include "display/effective_settings.h"
#include "settings/settings.h"

GdiPaintTarget windowTarget;

DisplayHooks saverHooks(theWorld, userSettings, effectiveSettings, windowTarget);

World theWorld(saverHooks);
