#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vantaro {

// Page text is a plain byte sequence; only ASCII letters are ever folded, every other byte
// compares exactly.
constexpr unsigned char FoldAscii(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);
bool StartsWithIgnoreAsciiCase(std::string_view text, std::string_view prefix);
bool ContainsIgnoreAsciiCase(std::string_view text, std::string_view needle);

}  // namespace vantaro
