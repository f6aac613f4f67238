#include "engine/TagKinds.h"

#include <array>

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

const TagStartPairs& KindStartPairs() {
    static const TagStartPairs pairs = [] {
        const auto cases = [](char byte) {
            const auto c = static_cast<unsigned char>(byte);
            const auto lower =
                (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
            return std::array<unsigned char, 2>{FoldAscii(c), lower};
        };
        TagStartPairs table;
        for (std::string_view prefix : TagPrefixes) {
            for (const unsigned char first : cases(prefix[1])) {
                for (const unsigned char second : cases(prefix[2])) {
                    table.Add(first, second);
                }
            }
        }
        return table;
    }();
    return pairs;
}

std::string_view TagPrefix(TagKind kind) {
    return kind == TagKind::None ? std::string_view() : TagPrefixes[static_cast<int>(kind)];
}

}  // namespace vantaro
