#include "display/display_window_windows.h"

#include "display/animation_thread_windows.h"
#include "display/display_lifecycle_windows.h"
#include "display/display_state_windows.h"
#include "display/effective_settings.h"
#include "display/gdi_paint_target_windows.h"
#include "display/saver_world_windows.h"
#include "display/sheet_graphics_windows.h"
#include "display/world_lifecycle.h"
#include "host/host_state_windows.h"
#include "settings/config_dialog_windows.h"
#include "settings/settings_store.h"
#include "world/random_source.h"

namespace {

const uint8_t* LoadSheet() {
    displayState.sheetInfo = FindResourceA(hostState.instance, "LIFE9DIB", RT_BITMAP);
    if (!displayState.sheetInfo) {
        return nullptr;
    }
    displayState.sheetResource = LoadResource(hostState.instance, displayState.sheetInfo);
    if (!displayState.sheetResource) {
        return nullptr;
    }
    return static_cast<const uint8_t*>(LockResource(displayState.sheetResource));
}

}  // namespace

int StartDisplay(HWND window) {
    LoadAppStrings();
    LoadSettings();
    SeedRandomWithTime();
    ResolveStartSettings(userSettings, effectiveSettings);

    if (const uint8_t* sheet = LoadSheet()) {
        displayState.sheetBitmap = BuildSheetGraphics(sheet);
    }

    // saverWindow is not yet set during creation: measure the window we got.
    AllocateFirstWorld(theWorld, userSettings, effectiveSettings, ClientSizeOf(window));
    StartAnimation(window);
    return 1;
}

void EndDisplay() {
    // The thread may be mid-tick with the bitmap selected; it must be gone
    // before anything is deleted.
    StopAnimation();
    if (displayState.sheetResource) {
        FreeResource(displayState.sheetResource);
        displayState.sheetResource = nullptr;
        displayState.sheetInfo = nullptr;
    }
    if (displayState.sheetBitmap) {
        DeleteObject(displayState.sheetBitmap);
        displayState.sheetBitmap = nullptr;
    }
    if (displayState.sheetPalette) {
        DeleteObject(displayState.sheetPalette);
        displayState.sheetPalette = nullptr;
    }
}

LRESULT CALLBACK DisplayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            StartDisplay(window);
            break;
        case WM_DESTROY:
            EndDisplay();
            break;
        case WM_ERASEBKGND:
            FillClientBlack(window, reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_TIMER:
            RunTick(window);
            break;
        default:
            break;
    }
    return CloseOnInputProc(window, message, wParam, lParam);
}
