// A text's fingerprint, kept in quorbel-enable's record to know a text of
// its own again.
#pragma once

#include <cstdint>
#include <string>

// FNV-1a: stable across builds, which a record outliving an upgrade needs.
inline std::uint64_t TextHash(const std::string& text) {
    std::uint64_t hash = 14695981039346656037u;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
    }
    return hash;
}
