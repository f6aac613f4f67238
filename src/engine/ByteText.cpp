#include "engine/ByteText.h"

#include <cstring>

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

bool ContainsIgnoreAsciiCase(std::string_view text, std::string_view needle) {
    if (needle.empty()) {
        return true;
    }
    const unsigned char first = FoldAscii(static_cast<unsigned char>(needle.front()));
    const bool letter = first >= 'A' && first <= 'Z';
    for (std::size_t i = 0; i + needle.size() <= text.size(); ++i) {
        if (!letter) {
            // Not a letter: its one form can be looked for quickly.
            const void* found = std::memchr(text.data() + i, first, text.size() - i);
            if (found == nullptr) {
                return false;
            }
            i = static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
            if (i + needle.size() > text.size()) {
                return false;
            }
        }
        if (FoldAscii(static_cast<unsigned char>(text[i])) == first &&
            StartsWithIgnoreAsciiCase(text.substr(i), needle)) {
            return true;
        }
    }
    return false;
}

std::string_view FileNameOf(std::string_view fullPath) {
    const std::size_t slash = fullPath.rfind('/');
    return slash == std::string_view::npos ? fullPath : fullPath.substr(slash + 1);
}

}  // namespace vantaro
