// xscreensaver_config <quorbel.xml>: writes XScreenSaver's settings file.
#include <cstdio>
#include <string>

#include "x11/xscreensaver_config.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <quorbel.xml>\n", argv[0]);
        return 2;
    }
    const std::string xml = XScreenSaverConfig();
    FILE* file = std::fopen(argv[1], "wb");
    const bool ok = file != nullptr && std::fwrite(xml.data(), 1, xml.size(), file) == xml.size();
    if (file == nullptr || std::fclose(file) != 0 || !ok) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
