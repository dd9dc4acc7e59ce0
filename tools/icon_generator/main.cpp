// icon_generator <output.ico>: writes the saver's icon. The committed
// resources/quorbel.ico is this program's output; a test keeps them equal.
#include <cstdio>

#include "icon_image.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: icon_generator <output.ico>\n");
        return 2;
    }
    const std::vector<uint8_t> bytes = BuildIconFile();
    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed ? 0 : 1;
}
