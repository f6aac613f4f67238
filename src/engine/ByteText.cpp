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

bool ContainsIgnoreAsciiCase(std::string_view text, std::string_view needle) {
    // The needle's leading bytes up to its first letter have one form only, and can be looked
    // for quickly; only where they stand is the rest compared letter case aside.
    const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    std::size_t plain = 0;
    while (plain < needle.size() && !isLetter(needle[plain])) {
        ++plain;
    }
    if (plain == 0) {
        for (std::size_t i = 0; i + needle.size() <= text.size(); ++i) {
            if (StartsWithIgnoreAsciiCase(text.substr(i), needle)) {
                return true;
            }
        }
        return false;
    }
    const std::string_view anchor = needle.substr(0, plain);
    for (std::size_t at = text.find(anchor); at != std::string_view::npos;
         at = text.find(anchor, at + 1)) {
        if (StartsWithIgnoreAsciiCase(text.substr(at), needle)) {
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
