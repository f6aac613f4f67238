#include "log/DisplayText.h"

#include "log/TextDecoding.h"

namespace vantaro {

std::string DecodeForDisplay(std::string_view bytes) {
    if (IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    std::string text;
    text.reserve(bytes.size() * 2);
    for (char c : bytes) {
        AppendUtf8(text, Windows1252ToUnicode(static_cast<unsigned char>(c)));
    }
    return text;
}

}  // namespace vantaro
