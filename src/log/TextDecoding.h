#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vantaro {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// A byte that continues a UTF-8 character rather than starting one.
inline bool IsUtf8Continuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0u) == 0x80u;
}

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// The Windows-1252 character of a byte; the five bytes the code page leaves undefined map to
// the code point of the same value, as the platform's own conversion does.
char32_t Windows1252ToUnicode(unsigned char byte);

// Decodes the UTF-8 character at pos and moves pos past it. A byte that does not start a
// well-formed character decodes as U+FFFD and is passed over on its own.
char32_t NextCodePoint(std::string_view text, std::size_t& pos);

// Appends a code point as UTF-8; surrogates and values above U+10FFFF become U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace vantaro
