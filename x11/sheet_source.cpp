// Stand-in until the sheet is built into the program: reads the generated
// packed bitmap from the build folder.
#include "x11/sheet_source.h"

#include <fstream>
#include <iterator>

const SheetSource& TheSheet() {
    static const SheetSource sheet = [] {
        SheetSource s;
        std::ifstream file(QUORBEL_SHEET_DIR "/life9.dib", std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        PackedDibLayout layout;
        if (ParsePackedDib(bytes.data(), bytes.size(), &layout) &&
            DecodePackedRle8(bytes.data(), bytes.size(), &s.image)) {
            for (uint32_t i = 0; i < layout.colorCount; ++i) {
                s.palette.push_back(PackedDibColor(bytes.data(), layout, i));
            }
        }
        return s;
    }();
    return sheet;
}
