// A text's fingerprint, kept in the enabling commands' records to know a
// text of their own again, and written there as 16 hex digits.
#pragma once

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

// FNV-1a: stable across builds, which a record outliving an upgrade needs.
inline std::uint64_t TextHash(const std::string& text) {
    std::uint64_t hash = 14695981039346656037u;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
    }
    return hash;
}

inline std::string HashText(std::uint64_t hash) {
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, hash);
    return text;
}

// Nothing unless it is 16 lower-case hex digits.
inline std::optional<std::uint64_t> HashOf(const std::string& text) {
    if (text.size() != 16 || text.find_first_not_of("0123456789abcdef") != std::string::npos) {
        return std::nullopt;
    }
    return std::stoull(text, nullptr, 16);
}
