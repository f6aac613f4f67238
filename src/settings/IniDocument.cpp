#include "settings/IniDocument.h"

#include <algorithm>

#include "engine/ByteText.h"

namespace vantaro {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool SameName(std::string_view a, std::string_view b) {
    return EqualsIgnoreAsciiCase(Trimmed(a), Trimmed(b));
}

// An editor may have put a byte-order mark before the first line.
std::string_view WithoutMark(std::string_view body, std::size_t index) {
    if (index == 0 && body.starts_with(kUtf8Mark)) {
        body.remove_prefix(kUtf8Mark.size());
    }
    return body;
}

std::optional<std::string_view> SectionName(std::string_view body) {
    const std::string_view text = Trimmed(body);
    const std::size_t close = text.find(']');
    if (!text.starts_with('[') || close == std::string_view::npos) {
        return std::nullopt;
    }
    return text.substr(1, close - 1);
}

struct KeyLine {
    std::string_view Key;
    std::size_t ValueStart;
};

std::optional<KeyLine> KeyOf(std::string_view body) {
    const std::size_t equals = body.find('=');
    const std::string_view key = Trimmed(body.substr(0, equals == body.npos ? 0 : equals));
    if (equals == body.npos || key.starts_with(';') || key.starts_with('#')) {
        return std::nullopt;
    }
    return KeyLine{key, equals + 1};
}

// A name as IniValues keeps it: names that differ only in letter case or surrounding blanks
// are kept alike.
std::string Folded(std::string_view name) {
    std::string folded(Trimmed(name));
    for (char& c : folded) {
        c = static_cast<char>(FoldAscii(static_cast<unsigned char>(c)));
    }
    return folded;
}

std::string OneLine(std::string_view value) {
    std::string line(value);
    for (char& c : line) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return line;
}

}  // namespace

IniDocument::IniDocument(std::string_view text) {
    while (!text.empty()) {
        const std::size_t stop = text.find_first_of("\r\n");
        if (stop == std::string_view::npos) {
            lines_.push_back({std::string(text), ""});
            break;
        }
        const std::size_t endSize = text.substr(stop).starts_with("\r\n") ? 2 : 1;
        lines_.push_back(
            {std::string(text.substr(0, stop)), std::string(text.substr(stop, endSize))});
        text.remove_prefix(stop + endSize);
    }
}

IniDocument::Place IniDocument::Find(std::string_view section, std::string_view key) const {
    Place place;
    bool inSection = false;
    bool inFirstSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::string_view body = WithoutMark(lines_[i].Body, i);
        if (const std::optional<std::string_view> name = SectionName(body)) {
            inSection = SameName(*name, section);
            inFirstSection = inSection && !place.SectionInsert;
            if (inFirstSection) {
                place.SectionInsert = i + 1;
            }
            continue;
        }
        if (inFirstSection && !Trimmed(body).empty()) {
            place.SectionInsert = i + 1;
        }
        const std::optional<KeyLine> line = inSection ? KeyOf(body) : std::nullopt;
        if (line && SameName(line->Key, key)) {
            place.KeyLine = i;
            return place;
        }
    }
    return place;
}

std::optional<std::string> IniDocument::Value(std::string_view section,
                                              std::string_view key) const {
    const Place place = Find(section, key);
    if (!place.KeyLine) {
        return std::nullopt;
    }
    const std::string& body = lines_[*place.KeyLine].Body;
    return body.substr(KeyOf(body)->ValueStart);
}

// g++ 12 at -O3 reports an impossible overlap inside std::string's operator+ (-Wrestrict) here.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
void IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    const Place place = Find(section, key);
    if (place.KeyLine) {
        std::string& body = lines_[*place.KeyLine].Body;
        body.replace(KeyOf(body)->ValueStart, std::string::npos, OneLine(value));
        return;
    }
    const std::string keyLine = OneLine(key) + "=" + OneLine(value);
    if (place.SectionInsert) {
        InsertLine(*place.SectionInsert, keyLine);
        return;
    }
    InsertLine(lines_.size(), "[" + OneLine(section) + "]");
    InsertLine(lines_.size(), keyLine);
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

void IniDocument::InsertLine(std::size_t index, std::string body) {
    const std::string end = LineEnd();
    if (index > 0 && lines_[index - 1].End.empty()) {
        lines_[index - 1].End = end;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), Line{std::move(body), end});
}

// New lines end the way the file's lines already do.
std::string IniDocument::LineEnd() const {
    for (const Line& line : lines_) {
        if (!line.End.empty()) {
            return line.End;
        }
    }
    return "\n";
}

std::string IniDocument::Text() const {
    std::string text;
    for (const Line& line : lines_) {
        text += line.Body;
        text += line.End;
    }
    return text;
}

IniValues::IniValues(std::string text) : text_(std::move(text)) {
    const std::string_view all(text_);
    Keys* keys = nullptr;  // those of the section the line is in
    for (std::size_t start = 0, index = 0; start < all.size(); ++index) {
        const std::size_t stop = std::min(all.find_first_of("\r\n", start), all.size());
        const std::string_view body = WithoutMark(all.substr(start, stop - start), index);
        if (const std::optional<std::string_view> name = SectionName(body)) {
            keys = &sections_[Folded(*name)];
        } else if (const std::optional<KeyLine> line = keys ? KeyOf(body) : std::nullopt) {
            // The first occurrence counts, also across repeated sections.
            const std::size_t valueStart =
                static_cast<std::size_t>(body.data() - all.data()) + line->ValueStart;
            keys->try_emplace(Folded(line->Key), Span{valueStart, stop - valueStart});
        }
        start = all.substr(stop).starts_with("\r\n") ? stop + 2 : stop + 1;
    }
}

std::optional<std::string_view> IniValues::Value(std::string_view section,
                                                 std::string_view key) const {
    const auto keys = sections_.find(Folded(section));
    if (keys == sections_.end()) {
        return std::nullopt;
    }
    const auto value = keys->second.find(Folded(key));
    if (value == keys->second.end()) {
        return std::nullopt;
    }
    return std::string_view(text_).substr(value->second.Start, value->second.Size);
}

}  // namespace vantaro
