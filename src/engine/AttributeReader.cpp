#include "engine/AttributeReader.h"

#include "engine/ByteText.h"

namespace vantaro {

namespace {

constexpr char kMaskByte = '?';

std::string FileNamePart(std::string value) {
    for (char& c : value) {
        if (c == '/') {
            c = '\\';
        }
    }
    const std::size_t cut = value.find_last_of("\\:");
    return cut == std::string::npos ? value : value.substr(cut + 1);
}

void StripEnclosingQuotes(std::string& value) {
    if (!value.empty() && value.front() == '"') {
        value.erase(0, 1);
    }
    if (!value.empty() && value.back() == '"') {
        value.pop_back();
    }
}

}  // namespace

TagMask::TagMask(std::string_view tagText, IgnoreTagList& regions, std::string& storage)
    : text_(tagText) {
    storage.assign(tagText);
    std::string& masked = storage;
    regions.CloseAllRegions();
    const auto* bytes = reinterpret_cast<const unsigned char*>(tagText.data());
    const std::size_t length = tagText.size();
    bool inQuote = false;
    std::size_t p = 0;
    while (p < length) {
        if (regions.MayStartDelimiterAt(bytes + p, length - p)) {
            const std::size_t matched = regions.CheckIgnoreDelimiter(bytes + p, length - p);
            if (matched > 0) {
                masked.replace(p, matched, matched, kMaskByte);
                p += matched;
                continue;
            }
        }
        const bool inRegion = regions.InIgnoredRegion();
        if (bytes[p] == '"' && !inRegion) {
            inQuote = !inQuote;
        } else if (inQuote || inRegion) {
            masked[p] = kMaskByte;
        } else {
            masked[p] = static_cast<char>(FoldAscii(bytes[p]));
        }
        ++p;
    }
    masked_ = masked;
}

std::int64_t GetAttributeValues(const TagMask& tag, std::string_view name, std::string& joined,
                                bool fileNames, std::vector<std::string>& list, bool keepQuotes) {
    joined.clear();
    list.clear();
    std::int64_t firstPos = -1;
    const std::string_view text = tag.Text();
    const std::string_view masked = tag.Masked();
    const std::size_t length = text.size();
    if (length == 0 || name.empty()) {
        return firstPos;
    }
    std::string folded(name);
    for (char& c : folded) {
        c = static_cast<char>(FoldAscii(static_cast<unsigned char>(c)));
    }
    std::size_t p = 0;
    while (p < length) {
        p = masked.find(folded, p);
        if (p == std::string_view::npos) {
            break;
        }
        if (firstPos == -1) {
            firstPos = static_cast<std::int64_t>(p) + 1;
        }
        p = masked.find('"', p);
        if (p == std::string_view::npos) {
            p = length;
        }
        std::string value;
        if (p < length) {
            value.push_back(text[p]);
            ++p;
            const std::size_t close = std::min(masked.find('"', p), length);
            value.append(text.substr(p, close - p));
            p = close;
            if (p < length) {
                value.push_back(text[p]);
            }
        }
        if (!keepQuotes) {
            StripEnclosingQuotes(value);
        }
        list.push_back(fileNames ? FileNamePart(std::move(value)) : std::move(value));
        ++p;
    }
    joined = JoinValues(list);
    return firstPos;
}

std::string JoinValues(const std::vector<std::string>& list) {
    std::string joined;
    for (const std::string& item : list) {
        if (!joined.empty()) {
            joined += " : ";
        }
        joined += item;
    }
    return joined;
}

}  // namespace vantaro
