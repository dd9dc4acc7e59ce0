// The Generations box's text as the dialog reads it, over any UTF-16 text.
// Checks against the rule itself (blanks, then digits up to the first other
// character, 0 without digits or beyond 32 bits), that what follows the
// digits does not matter, and that the number shown for a count reads back
// as that count (counts from 2^31 show as negative numbers, which read as 0).
#include <string>

#include "fuzz_check.h"
#include "settings/config_dialog_logic.h"

namespace {

std::u16string Widened(const std::string& text) { return std::u16string(text.begin(), text.end()); }

uint32_t ByTheRule(const std::u16string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    unsigned long long value = 0;
    size_t digits = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i, ++digits) {
        if (value <= 0xFFFFFFFFull)
            value = value * 10 + (text[i] - u'0');
    }
    return digits == 0 || value > 0xFFFFFFFFull ? 0 : static_cast<uint32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));

    const uint32_t count = ParseGenerations(text);
    FUZZ_CHECK(count == ByTheRule(text));
    FUZZ_CHECK(ParseGenerations(text + u"x") == count);

    const std::string shown = FormatGenerations(count);
    FUZZ_CHECK(ParseGenerations(Widened(shown)) == (count < 0x80000000u ? count : 0));
    return 0;
}
