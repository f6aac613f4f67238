#include "engine/TagKinds.h"

#include "engine/ByteText.h"

namespace vantaro {

TagKind ClassifyTag(std::string_view tagText) {
    // Every prefix has '!', 'i' or 'a' after its '<'.
    const unsigned char second = tagText.size() > 1 ? FoldAscii(static_cast<unsigned char>(tagText[1])) : 0;
    if (second != '!' && second != 'I' && second != 'A') {
        return TagKind::None;
    }
    for (int i = 0; i < static_cast<int>(std::size(TagPrefixes)); ++i) {
        if (StartsWithIgnoreAsciiCase(tagText, TagPrefixes[i])) {
            return static_cast<TagKind>(i);
        }
    }
    return TagKind::None;
}

std::string_view TagPrefix(TagKind kind) {
    return kind == TagKind::None ? std::string_view() : TagPrefixes[static_cast<int>(kind)];
}

}  // namespace vantaro
