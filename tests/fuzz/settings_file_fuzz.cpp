// The per-user settings file, as any text. Checks that what it parses is
// written back in a form that parses to the same thing, that each value
// answers a query of exactly its length (and refuses one byte less) without
// writing past the buffer, and that the settings loaded from it lie inside
// their enumerations.
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "settings/settings_file_key.h"
#include "settings/settings_transfer.h"
#include "settings_ranges.h"

namespace {

std::string Written(const SettingsFileKey& key) {
    std::ostringstream text;
    key.Write(text);
    return text.str();
}

std::vector<uint8_t> FromHex(const std::string& hex) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

void CheckQueries(SettingsFileKey& key, const std::string& written) {
    std::istringstream lines(written);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string name, type, hex;
        fields >> name >> type >> hex;
        const std::vector<uint8_t> expected = FromHex(hex);
        auto buffer = ExactCopy(expected.data(), expected.size());
        const auto got = key.QueryValue(name.c_str(), buffer.get(), expected.size());
        // A name holding a NUL cannot be asked for by its text.
        if (name.find('\0') != std::string::npos)
            continue;
        FUZZ_CHECK(got && *got == expected.size());
        FUZZ_CHECK(std::equal(expected.begin(), expected.end(), buffer.get()));
        if (!expected.empty())
            FUZZ_CHECK(!key.QueryValue(name.c_str(), buffer.get(), expected.size() - 1));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream text(std::string(reinterpret_cast<const char*>(data), size));
    SettingsFileKey key;
    key.Parse(text);

    const std::string first = Written(key);
    SettingsFileKey again;
    std::istringstream firstText(first);
    again.Parse(firstText);
    FUZZ_CHECK(Written(again) == first);

    CheckQueries(key, first);
    CheckInsideEnumerations(ReadSettings(key));
    return 0;
}
