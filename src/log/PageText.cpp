#include "log/PageText.h"

#include "log/TextDecoding.h"

namespace vantaro {

std::string DecodeForDisplay(std::string_view bytes) {
    return DecodeForDisplay(bytes, IsValidUtf8(bytes));
}

std::string DecodeForDisplay(std::string_view bytes, bool utf8) {
    if (utf8 && bytes.find('\0') == std::string_view::npos) {
        return std::string(bytes);
    }
    std::string text;
    text.reserve(bytes.size() + 8);
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t code = 0;
        if (utf8) {
            code = NextCodePoint(bytes, i);
        } else {
            code = Windows1252ToUnicode(static_cast<unsigned char>(bytes[i++]));
        }
        AppendUtf8(text, code == 0 ? kReplacementCharacter : code);
    }
    return text;
}

}  // namespace vantaro
