#pragma once

// Character stepping of the GBK text model, shared by the text operations.

#include <cstddef>
#include <string_view>

namespace lecdl {

// Bytes of the character at `at`: 2 for a lead byte (>= 0x80) with a byte after it, else 1.
inline size_t CharLength(std::string_view text, size_t at) {
  return (static_cast<unsigned char>(text[at]) >= 0x80 && at + 1 < text.size()) ? 2 : 1;
}

// Lower case for ASCII letters only; every other byte stays.
inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace lecdl
