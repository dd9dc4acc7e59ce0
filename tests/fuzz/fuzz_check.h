// What the fuzz targets share: a check that stops the run with a message
// (libFuzzer then keeps the input), and the input as an exactly-sized heap
// copy, so that ASan sees a read one byte past it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <memory>
#include <vector>

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

// A command line from the input: the bytes split at NUL into arguments, each
// in a block of exactly its size, after a program name; argv[argc] is null.
class FuzzArguments {
public:
    FuzzArguments(const char* program, const uint8_t* data, size_t size) {
        add(reinterpret_cast<const uint8_t*>(program), std::char_traits<char>::length(program));
        size_t start = 0;
        for (size_t i = 0; i <= size; ++i) {
            if (i == size || data[i] == 0) {
                add(data + start, i - start);
                start = i + 1;
            }
        }
        for (const auto& text : texts_)
            argv_.push_back(text.get());
        argv_.push_back(nullptr);
    }
    int argc() const { return static_cast<int>(texts_.size()); }
    const char* const* argv() const { return argv_.data(); }

private:
    void add(const uint8_t* bytes, size_t length) { texts_.push_back(ExactText(bytes, length)); }
    std::vector<std::unique_ptr<char[]>> texts_;
    std::vector<const char*> argv_;
};
