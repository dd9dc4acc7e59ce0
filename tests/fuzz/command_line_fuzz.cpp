// The saver's command line: the program name, the mode letter and the window
// number, over any bytes. Checks that no step leaves the text, that the mode
// matches the letter it came from, and that the number is the decimal digits
// taken modulo 2^32 and reads back from its own decimal form.
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "host/command_line.h"

namespace {

const char* textEnd = nullptr;  // the current input's terminating NUL

// Code page 932: a lead byte takes the next byte with it, unless that is the
// end, as CharNextA does.
const char* NextDoubleByteCharacter(const char* p) {
    FUZZ_CHECK(p < textEnd);
    const unsigned char c = static_cast<unsigned char>(*p);
    const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    return lead && p[1] != '\0' ? p + 2 : p + 1;
}

bool Within(const char* p, const char* begin) { return p >= begin && p <= textEnd; }

RunMode ModeOfLetter(char letter) {
    switch (letter | 0x20) {
        case 'c':
            return RunMode::ConfigurationOwned;
        case 's':
            return RunMode::FullScreen;
        case 'p':
        case 'l':
            return RunMode::Preview;
        case 'a':
            return RunMode::ChangePassword;
        default:
            return RunMode::Unrecognised;
    }
}

uint32_t DigitsModulo32Bits(const char* p) {
    uint64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        value = (value * 10 + static_cast<uint64_t>(*p - '0')) & 0xFFFFFFFFu;
    return static_cast<uint32_t>(value);
}

void CheckArguments(const char* arguments) {
    const ModeRequest request = ParseMode(arguments);
    if (request.mode == RunMode::Configuration || request.mode == RunMode::Unrecognised) {
        FUZZ_CHECK(request.argument == nullptr);
        if (request.mode == RunMode::Configuration) {
            for (const char* p = arguments; *p; ++p)
                FUZZ_CHECK(*p == ' ' || *p == '-' || *p == '/');
        }
        return;
    }
    FUZZ_CHECK(request.argument != nullptr && request.argument > arguments && Within(request.argument, arguments));
    FUZZ_CHECK(ModeOfLetter(request.argument[-1]) == request.mode);
    for (const char* p = arguments; p < request.argument - 1; ++p)
        FUZZ_CHECK(*p == ' ' || *p == '-' || *p == '/');

    const char* number = SkipSpaces(request.argument);
    FUZZ_CHECK(Within(number, request.argument));
    FUZZ_CHECK(*number != ' ');
    const uint32_t window = ParseWindowNumber(number);
    FUZZ_CHECK(window == DigitsModulo32Bits(number));
    FUZZ_CHECK(ParseWindowNumber(std::to_string(window).c_str()) == window);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto text = ExactText(data, size);
    textEnd = text.get() + std::strlen(text.get());

    for (NextCharFn next : {static_cast<NextCharFn>(NextByte), NextDoubleByteCharacter}) {
        const char* arguments = SkipProgramName(text.get(), next);
        FUZZ_CHECK(Within(arguments, text.get()));
        FUZZ_CHECK(arguments == textEnd || static_cast<unsigned char>(*arguments) > ' ');
        CheckArguments(arguments);
    }
    // The modes also see text that had no program name in front.
    CheckArguments(text.get());
    return 0;
}
