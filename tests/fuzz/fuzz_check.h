// What the fuzz targets share: a check that stops the run with a message
// (libFuzzer then keeps the input), and the input as an exactly-sized heap
// copy, so that ASan sees a read one byte past it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

// The bytes in a heap block of their own size (at least one byte, so that an
// empty input still has a valid address).
inline std::unique_ptr<uint8_t[]> ExactCopy(const uint8_t* data, size_t size) {
    std::unique_ptr<uint8_t[]> copy(new uint8_t[size ? size : 1]);
    for (size_t i = 0; i < size; ++i)
        copy[i] = data[i];
    return copy;
}

// The bytes followed by one NUL, in a block of exactly that size: text for
// the parsers that stop at NUL.
inline std::unique_ptr<char[]> ExactText(const uint8_t* data, size_t size) {
    std::unique_ptr<char[]> text(new char[size + 1]);
    for (size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>(data[i]);
    text[size] = '\0';
    return text;
}
