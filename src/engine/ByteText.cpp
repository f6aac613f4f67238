#include "engine/ByteText.h"

namespace vantaro {

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && StartsWithIgnoreAsciiCase(a, b);
}

bool StartsWithIgnoreAsciiCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (FoldAscii(static_cast<unsigned char>(text[i])) !=
            FoldAscii(static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

std::string_view FileNameOf(std::string_view fullPath) {
    const std::size_t slash = fullPath.rfind('/');
    return slash == std::string_view::npos ? fullPath : fullPath.substr(slash + 1);
}

}  // namespace vantaro
