#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vantaro {

// The text of a settings file as lines, so that one value can be looked up or replaced while
// every other byte (comments, unknown keys, other sections, line ends) stays as it was.
// Section and key names match without regard to ASCII letter case or surrounding blanks; a
// value is everything after the first '=' of its line, blanks included. When a name occurs
// more than once, the first occurrence counts.
class IniDocument {
  public:
    explicit IniDocument(std::string_view text);

    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    // Replaces the key's value in place, else adds the key at the end of its section, else
    // appends the section. A line break inside the value is stored as a blank, so a value can
    // never spill into a line of its own.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);

    std::string Text() const;

  private:
    struct Line {
        std::string Body;
        std::string End;  // "\n", "\r\n", "\r", or empty for a last line without one
    };
    struct Place {
        std::optional<std::size_t> KeyLine;
        // Where a new key of the section goes: after its last line that is not blank.
        std::optional<std::size_t> SectionInsert;
    };

    Place Find(std::string_view section, std::string_view key) const;
    void InsertLine(std::size_t index, std::string body);
    std::string LineEnd() const;

    std::vector<Line> lines_;
};

// The values of a settings text for reading many keys: the text is gone through once, and each
// key is then found by the same rules as IniDocument::Value.
class IniValues {
  public:
    explicit IniValues(std::string text);

    std::optional<std::string_view> Value(std::string_view section, std::string_view key) const;

  private:
    struct Span {
        std::size_t Start;
        std::size_t Size;
    };
    using Keys = std::unordered_map<std::string, Span>;

    std::string text_;
    std::unordered_map<std::string, Keys> sections_;  // by folded name, then folded key
};

}  // namespace vantaro
