#include "log/TextDecoding.h"

#include <array>

namespace vantaro {
namespace {

constexpr std::array<char16_t, 32> kHigh1252 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

// The length of the well-formed character at pos, or 0 when there is none.
std::size_t CharacterLength(std::string_view text, std::size_t pos) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const unsigned char lead = at(0);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;  // the allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (text.size() - pos < length || at(1) < low || at(1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (!IsUtf8Continuation(text[pos + i])) {
            return 0;
        }
    }
    return length;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
            ++pos;
            continue;
        }
        const std::size_t length = CharacterLength(bytes, pos);
        if (length == 0) {
            return false;
        }
        pos += length;
    }
    return true;
}

char32_t Windows1252ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return kHigh1252[byte - 0x80];
    }
    return byte;
}

char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
    const std::size_t length = CharacterLength(text, pos);
    const auto byte = [&](std::size_t i) { return static_cast<char32_t>(text[pos + i] & 0xFF); };
    char32_t codePoint = kReplacementCharacter;
    switch (length) {
        case 0:
            pos += 1;
            return kReplacementCharacter;
        case 1:
            codePoint = byte(0);
            break;
        case 2:
            codePoint = ((byte(0) & 0x1F) << 6) | (byte(1) & 0x3F);
            break;
        case 3:
            codePoint = ((byte(0) & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
            break;
        default:
            codePoint = ((byte(0) & 0x07) << 18) | ((byte(1) & 0x3F) << 12) |
                        ((byte(2) & 0x3F) << 6) | (byte(3) & 0x3F);
            break;
    }
    pos += length;
    return codePoint;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
    if ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF) {
        codePoint = kReplacementCharacter;
    }
    const auto put = [&](char32_t value) { out += static_cast<char>(value); };
    if (codePoint < 0x80) {
        put(codePoint);
    } else if (codePoint < 0x800) {
        put(0xC0 | (codePoint >> 6));
        put(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        put(0xE0 | (codePoint >> 12));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    } else {
        put(0xF0 | (codePoint >> 18));
        put(0x80 | ((codePoint >> 12) & 0x3F));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    }
}

}  // namespace vantaro
