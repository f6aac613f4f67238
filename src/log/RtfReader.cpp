#include "log/RtfReader.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "log/TextDecoding.h"

namespace vantaro {
namespace {

constexpr std::size_t kMaxDepth = 256;
constexpr std::size_t kMaxWordLength = 32;
constexpr int kMaxParameterDigits = 10;

// Where the text of a group goes.
enum class Destination { Text, ColourTable, Skip };

// Groups whose text is not part of the document.
constexpr std::string_view kSkippedDestinations[] = {
    "fonttbl",
    "stylesheet",
    "info",
    "pict",
    "object",
    "header",
    "headerl",
    "headerr",
    "headerf",
    "footer",
    "footerl",
    "footerr",
    "footerf",
    "footnote",
    "themedata",
    "colorschememapping",
    "latentstyles",
    "datastore",
    "xmlnstbl",
    "listtable",
    "listoverridetable",
    "rsidtbl",
    "generator",
    "filetbl",
    "revtbl",
    "userprops",
    "nonshppict",
    "pntext",
    "pntxta",
    "pntxtb",
    "fldinst",
};

struct GroupState {
    Destination destination = Destination::Text;
    int colourIndex = 0;  // \cf: an entry of the colour table
    FontStyle style;
    int unicodeSkip = 1;  // \ucN: fallback characters that follow each \uN
};

struct ControlWord {
    std::string name;
    bool hasParameter = false;
    long long parameter = 0;
};

class RtfParser {
  public:
    explicit RtfParser(std::string_view rtf) : rtf_(rtf) {}

    std::optional<LogRuns> Parse() {
        while (pos_ < rtf_.size()) {
            const char c = rtf_[pos_++];
            if (c == '{') {
                if (!OpenGroup()) {
                    return std::nullopt;
                }
            } else if (c == '}') {
                if (CloseGroup()) {
                    return std::move(runs_);
                }
            } else if (c == '\\') {
                Control();
            } else if (c == '\r' || c == '\n' || c == '\0') {
                // line breaks of the file itself carry nothing
            } else {
                Character(static_cast<unsigned char>(c));
            }
        }
        return std::nullopt;  // the outer group never closed
    }

  private:
    GroupState& State() { return groups_.back(); }

    bool OpenGroup() {
        if (groups_.size() >= kMaxDepth) {
            return false;
        }
        FlushSurrogate();
        groups_.push_back(groups_.empty() ? GroupState{} : groups_.back());
        pendingSkip_ = 0;
        return true;
    }

    // True when the outer group has closed.
    bool CloseGroup() {
        FlushSurrogate();
        if (!groups_.empty() && State().destination == Destination::ColourTable) {
            EndColourEntry(/*force=*/false);
        }
        if (!groups_.empty()) {
            groups_.pop_back();
        }
        pendingSkip_ = 0;
        return groups_.empty();
    }

    void Control() {
        if (pos_ >= rtf_.size()) {
            return;
        }
        const char c = rtf_[pos_];
        if (IsLetter(c)) {
            Word(ReadWord());
        } else {
            ++pos_;
            Symbol(c);
        }
    }

    static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    ControlWord ReadWord() {
        ControlWord word;
        while (pos_ < rtf_.size() && IsLetter(rtf_[pos_])) {
            if (word.name.size() < kMaxWordLength) {
                word.name += rtf_[pos_];
            }
            ++pos_;
        }
        const bool negative =
            pos_ + 1 < rtf_.size() && rtf_[pos_] == '-' && IsDigit(rtf_[pos_ + 1]);
        if (negative) {
            ++pos_;
        }
        int digits = 0;
        while (pos_ < rtf_.size() && IsDigit(rtf_[pos_])) {
            if (digits++ < kMaxParameterDigits) {
                word.parameter = word.parameter * 10 + (rtf_[pos_] - '0');
            }
            word.hasParameter = true;
            ++pos_;
        }
        if (negative) {
            word.parameter = -word.parameter;
        }
        if (pos_ < rtf_.size() && rtf_[pos_] == ' ') {
            ++pos_;  // the delimiter belongs to the word
        }
        return word;
    }

    // Whether a fallback character after \uN is being passed over; counts it if so.
    bool SkipFallback() {
        if (pendingSkip_ == 0) {
            return false;
        }
        --pendingSkip_;
        return true;
    }

    void Word(const ControlWord& word) {
        if (word.name == "bin") {
            // Binary data: its bytes are not RTF and count as one fallback character.
            const auto length = static_cast<std::size_t>(std::max(0LL, word.parameter));
            pos_ += std::min(length, rtf_.size() - pos_);
            SkipFallback();
            return;
        }
        if (SkipFallback() || groups_.empty()) {
            return;
        }
        GroupState& state = State();
        if (Destinations(word.name, state)) {
            return;
        }
        if (state.destination == Destination::ColourTable) {
            ColourComponent(word);
            return;
        }
        if (state.destination == Destination::Skip) {
            return;
        }
        if (Formatting(word, state)) {
            return;
        }
        TextWord(word, state);
    }

    bool Destinations(const std::string& name, GroupState& state) {
        if (name == "colortbl") {
            state.destination = Destination::ColourTable;
            colours_.clear();
            entry_ = ColourEntry{};
            return true;
        }
        if (std::find(std::begin(kSkippedDestinations), std::end(kSkippedDestinations), name) !=
            std::end(kSkippedDestinations)) {
            state.destination = Destination::Skip;
            return true;
        }
        return false;
    }

    static bool Formatting(const ControlWord& word, GroupState& state) {
        const bool on = !word.hasParameter || word.parameter != 0;
        const auto set = [&](FontStyle::Flag flag, bool value) {
            state.style = state.style.With(flag, value);
        };
        const std::string& name = word.name;
        if (name == "cf") {
            state.colourIndex = static_cast<int>(std::clamp(word.parameter, 0LL, 1LL << 20));
        } else if (name == "b") {
            set(FontStyle::Bold, on);
        } else if (name == "i") {
            set(FontStyle::Italic, on);
        } else if (name == "ul" || name == "ulw" || name == "uld" || name == "uldb" ||
                   name == "ulth" || name == "uldash" || name == "ulwave") {
            set(FontStyle::Underline, on);
        } else if (name == "ulnone") {
            set(FontStyle::Underline, false);
        } else if (name == "strike" || name == "striked") {
            set(FontStyle::StrikeOut, on);
        } else if (name == "plain") {
            state.colourIndex = 0;
            state.style = FontStyle::Plain();
        } else if (name == "uc") {
            state.unicodeSkip = static_cast<int>(std::clamp(word.parameter, 0LL, 16LL));
        } else {
            return false;
        }
        return true;
    }

    void TextWord(const ControlWord& word, const GroupState& state) {
        const std::string& name = word.name;
        if (name == "u") {
            UnicodeUnit(static_cast<char32_t>(word.parameter & 0xFFFF));
            pendingSkip_ = state.unicodeSkip;
        } else if (name == "par" || name == "line") {
            LineEnd();
        } else if (name == "tab") {
            Emit('\t');
        } else if (name == "emdash") {
            Emit(0x2014);
        } else if (name == "endash") {
            Emit(0x2013);
        } else if (name == "emspace") {
            Emit(0x2003);
        } else if (name == "enspace") {
            Emit(0x2002);
        } else if (name == "bullet") {
            Emit(0x2022);
        } else if (name == "lquote") {
            Emit(0x2018);
        } else if (name == "rquote") {
            Emit(0x2019);
        } else if (name == "ldblquote") {
            Emit(0x201C);
        } else if (name == "rdblquote") {
            Emit(0x201D);
        }
    }

    void Symbol(char c) {
        if (c == '\'') {
            HexByte();
            return;
        }
        if (SkipFallback() || groups_.empty()) {
            return;
        }
        GroupState& state = State();
        if (c == '*') {
            state.destination = Destination::Skip;  // an optional destination we do not know
            return;
        }
        if (state.destination != Destination::Text) {
            return;
        }
        switch (c) {
            case '\\':
            case '{':
            case '}':
                Emit(static_cast<unsigned char>(c));
                break;
            case '~':
                Emit(0x00A0);
                break;
            case '_':
                Emit(0x2011);
                break;
            case '\r':
            case '\n':
                LineEnd();
                break;
            default:
                break;  // \- (optional hyphen) and the rest show nothing
        }
    }

    void HexByte() {
        int value = 0;
        for (int i = 0; i < 2; ++i) {
            const int digit = pos_ < rtf_.size() ? HexDigit(rtf_[pos_]) : -1;
            if (digit < 0) {
                return;  // not an escape after all
            }
            value = value * 16 + digit;
            ++pos_;
        }
        if (SkipFallback()) {
            return;
        }
        Character(static_cast<unsigned char>(value), /*counted=*/true);
    }

    static int HexDigit(char c) {
        if (IsDigit(c)) {
            return c - '0';
        }
        if (c >= 'a' && c <= 'f') {
            return c - 'a' + 10;
        }
        if (c >= 'A' && c <= 'F') {
            return c - 'A' + 10;
        }
        return -1;
    }

    void Character(unsigned char byte, bool counted = false) {
        if ((!counted && SkipFallback()) || groups_.empty()) {
            return;
        }
        const Destination destination = State().destination;
        if (destination == Destination::ColourTable) {
            if (byte == ';') {
                EndColourEntry(/*force=*/true);
            }
            return;
        }
        if (destination == Destination::Text && (byte >= 0x20 || byte == '\t')) {
            Emit(Windows1252ToUnicode(byte));
        }
    }

    // A UTF-16 unit from \uN: surrogate halves are paired, lone ones become U+FFFD.
    void UnicodeUnit(char32_t unit) {
        if (unit >= 0xDC00 && unit <= 0xDFFF && highSurrogate_ != 0) {
            const char32_t codePoint =
                0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00);
            highSurrogate_ = 0;
            Emit(codePoint);
        } else if (unit >= 0xD800 && unit <= 0xDBFF) {
            FlushSurrogate();
            highSurrogate_ = unit;
        } else {
            Emit(unit);
        }
    }

    void FlushSurrogate() {
        if (highSurrogate_ != 0) {
            highSurrogate_ = 0;
            AppendCharacter(kReplacementCharacter);
        }
    }

    void Emit(char32_t codePoint) {
        FlushSurrogate();
        AppendCharacter(codePoint == 0 ? kReplacementCharacter : codePoint);
    }

    void AppendCharacter(char32_t codePoint) {
        std::string utf8;
        AppendUtf8(utf8, codePoint);
        AppendRun(runs_, utf8, Colour(), State().style, false);
    }

    void LineEnd() {
        FlushSurrogate();
        AppendRun(runs_, "", Colour(), State().style, true);
    }

    LogColour Colour() const {
        const auto index = static_cast<std::size_t>(groups_.back().colourIndex);
        if (index < colours_.size() && colours_[index].has_value()) {
            return *colours_[index];
        }
        return NearestLogColour(0x000000);  // the automatic colour: the view's black text
    }

    struct ColourEntry {
        bool given = false;
        std::uint32_t red = 0, green = 0, blue = 0;
    };

    void ColourComponent(const ControlWord& word) {
        const auto value = static_cast<std::uint32_t>(std::clamp(word.parameter, 0LL, 255LL));
        if (word.name == "red") {
            entry_.red = value;
        } else if (word.name == "green") {
            entry_.green = value;
        } else if (word.name == "blue") {
            entry_.blue = value;
        } else {
            return;
        }
        entry_.given = true;
    }

    // Entries end with ';'; an entry without components is the automatic colour. A last entry
    // missing its ';' still counts when it has components.
    void EndColourEntry(bool force) {
        if (!force && !entry_.given) {
            return;
        }
        if (entry_.given) {
            colours_.push_back(
                NearestLogColour((entry_.red << 16) | (entry_.green << 8) | entry_.blue));
        } else {
            colours_.push_back(std::nullopt);
        }
        entry_ = ColourEntry{};
    }

    std::string_view rtf_;
    std::size_t pos_ = 0;
    std::vector<GroupState> groups_;
    std::vector<std::optional<LogColour>> colours_;  // by \cf number; empty: automatic
    ColourEntry entry_;
    int pendingSkip_ = 0;
    char32_t highSurrogate_ = 0;
    LogRuns runs_;
};

}  // namespace

std::optional<LogRuns> ReadLogRtf(std::string_view rtf) {
    if (rtf.substr(0, 5) != "{\\rtf") {
        return std::nullopt;
    }
    return RtfParser(rtf).Parse();
}

}  // namespace vantaro
