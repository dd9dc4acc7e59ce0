#include "x11/screen_facts_x11.h"

#include <X11/Xresource.h>

ScreenFacts ReadScreenFacts(Display* display) {
    ScreenFacts facts;
    const int screen = DefaultScreen(display);
    facts.pixels = {DisplayWidth(display, screen), DisplayHeight(display, screen)};
    facts.millimetres = {DisplayWidthMM(display, screen), DisplayHeightMM(display, screen)};
    // The resources as the server held them when the display was opened.
    const char* resources = XResourceManagerString(display);
    if (resources == nullptr) {
        return facts;
    }
    XrmInitialize();
    const XrmDatabase database = XrmGetStringDatabase(resources);
    char* type = nullptr;
    XrmValue value{};
    if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr != nullptr) {
        facts.xftDpi = std::string(value.addr, value.size > 0 ? value.size - 1 : 0);
    }
    XrmDestroyDatabase(database);
    return facts;
}
