#include "resources/builtin_sheet.h"

#include <cstdlib>
#include <utility>

extern const unsigned char kLife9Dib[];
extern const size_t kLife9Dib_size;

const uint8_t* BuiltInSheetBytes() { return kLife9Dib; }
size_t BuiltInSheetSize() { return kLife9Dib_size; }

bool DecodeSheet(const uint8_t* data, size_t size, DecodedSheet* sheet) {
    PackedDibLayout layout;
    DecodedSheet decoded;
    if (!ParsePackedDib(data, size, &layout) || !DecodePackedRle8(data, size, &decoded.image))
        return false;
    for (uint32_t i = 0; i < layout.colorCount; ++i)
        decoded.palette.push_back(PackedDibColor(data, layout, i));
    *sheet = std::move(decoded);
    return true;
}

const DecodedSheet& BuiltInSheet() {
    static const DecodedSheet sheet = [] {
        DecodedSheet decoded;
        // The bytes were checked when the build drew them; damage here is a
        // broken build, not something to carry on from.
        if (!DecodeSheet(BuiltInSheetBytes(), BuiltInSheetSize(), &decoded))
            std::abort();
        return decoded;
    }();
    return sheet;
}
