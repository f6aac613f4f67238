#include "engine/TagKinds.h"

#include "engine/ByteText.h"

namespace vantaro {

TagKind ClassifyTag(std::string_view tagText) {
    // The byte after '<' tells which prefixes can match at all.
    const unsigned char second =
        tagText.size() > 1 ? FoldAscii(static_cast<unsigned char>(tagText[1])) : 0;
    const auto matches = [&](TagKind kind) {
        return StartsWithIgnoreAsciiCase(tagText, TagPrefixes[static_cast<int>(kind)]);
    };
    switch (second) {
        case '!':
            return matches(TagKind::EditableStart) ? TagKind::EditableStart
                   : matches(TagKind::EditableEnd) ? TagKind::EditableEnd
                                                   : TagKind::None;
        case 'I':
            return matches(TagKind::Img)     ? TagKind::Img
                   : matches(TagKind::Input) ? TagKind::Input
                                             : TagKind::None;
        case 'A':
            return matches(TagKind::Area) ? TagKind::Area : TagKind::None;
        default:
            return TagKind::None;
    }
}

const std::array<bool, 256>& KindStartBytes() {
    static const std::array<bool, 256> bytes = [] {
        std::array<bool, 256> table{};
        for (std::string_view prefix : TagPrefixes) {
            const auto second = static_cast<unsigned char>(prefix[1]);
            table[FoldAscii(second)] = true;
            table[second] = true;
        }
        return table;
    }();
    return bytes;
}

std::string_view TagPrefix(TagKind kind) {
    return kind == TagKind::None ? std::string_view() : TagPrefixes[static_cast<int>(kind)];
}

}  // namespace vantaro
