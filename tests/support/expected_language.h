// The language the tests expect the program's texts in: Japanese when the
// locale Wine runs under is Japanese (LC_ALL, LC_MESSAGES, LANG, in POSIX
// order), English otherwise. Taken from the locale rather than asked of
// Windows, so that a wrong choice of resources shows as a failure.
#pragma once

#include <cstdlib>
#include <cstring>

inline bool ExpectJapaneseTexts() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return std::strncmp(value, "ja", 2) == 0;
    }
    return false;
}
