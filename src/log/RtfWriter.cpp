#include "log/RtfWriter.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "log/TextDecoding.h"

namespace vantaro {
namespace {

class ColourTable {
  public:
    explicit ColourTable(const LogRuns& runs)
        : colours_(std::begin(kLogPalette), std::end(kLogPalette)) {
        for (const LogRun& run : runs) {
            if (IndexOf(run.colour) == 0) {
                colours_.push_back(run.colour);
            }
        }
    }

    // 1-based, as \cf counts them: entry 0 is the automatic colour.
    int IndexOf(LogColour colour) const {
        const auto found = std::find(colours_.begin(), colours_.end(), colour);
        return found == colours_.end() ? 0 : static_cast<int>(found - colours_.begin()) + 1;
    }

    void Write(std::string& out) const {
        out += "{\\colortbl ;";
        for (LogColour colour : colours_) {
            const std::uint32_t rgb = ToRgb(colour);
            out += "\\red" + std::to_string((rgb >> 16) & 0xFF);
            out += "\\green" + std::to_string((rgb >> 8) & 0xFF);
            out += "\\blue" + std::to_string(rgb & 0xFF) + ";";
        }
        out += "}\r\n";
    }

  private:
    std::vector<LogColour> colours_;
};

void AppendUnicodeEscape(std::string& out, char32_t unit) {
    // \u takes a signed 16-bit value; '?' is the fallback for readers without Unicode.
    const int value = unit > 0x7FFF ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit);
    out += "\\u" + std::to_string(value) + "?";
}

void AppendCharacter(std::string& out, char32_t codePoint) {
    if (codePoint == 0) {
        codePoint = kReplacementCharacter;  // a NUL ends the text for many readers
    }
    if (codePoint == '\\' || codePoint == '{' || codePoint == '}') {
        out += '\\';
        out += static_cast<char>(codePoint);
    } else if (codePoint == '\t') {
        out += "\\tab ";
    } else if (codePoint >= 0x20 && codePoint < 0x7F) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x10000) {
        AppendUnicodeEscape(out, codePoint);
    } else {
        const char32_t offset = codePoint - 0x10000;
        AppendUnicodeEscape(out, 0xD800 + (offset >> 10));
        AppendUnicodeEscape(out, 0xDC00 + (offset & 0x3FF));
    }
}

void AppendText(std::string& out, std::string_view utf8) {
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        AppendCharacter(out, NextCodePoint(utf8, pos));
    }
}

// Tracks the character format written so far and writes only what a run changes.
class FormatState {
  public:
    void Change(std::string& out, int colourIndex, FontStyle style) {
        std::string words;
        if (colourIndex != colourIndex_) {
            words += "\\cf" + std::to_string(colourIndex);
            colourIndex_ = colourIndex;
        }
        Toggle(words, style, FontStyle::Bold, "\\b", "\\b0");
        Toggle(words, style, FontStyle::Italic, "\\i", "\\i0");
        Toggle(words, style, FontStyle::Underline, "\\ul", "\\ulnone");
        Toggle(words, style, FontStyle::StrikeOut, "\\strike", "\\strike0");
        style_ = style;
        if (!words.empty()) {
            out += words + " ";
        }
    }

  private:
    void Toggle(std::string& words, FontStyle style, FontStyle::Flag flag, const char* on,
                const char* off) const {
        if (style.Has(flag) != style_.Has(flag)) {
            words += style.Has(flag) ? on : off;
        }
    }

    int colourIndex_ = -1;
    FontStyle style_;
};

void AppendFontTable(std::string& out, const RtfFont& font) {
    out += "{\\fonttbl{\\f0\\fnil\\fcharset0 ";
    std::string family;
    AppendText(family, font.family);
    std::replace(family.begin(), family.end(), ';', ' ');  // ';' ends the entry
    out += family + ";}}\r\n";
}

}  // namespace

std::string WriteLogRtf(const LogRuns& runs, const RtfFont& font) {
    const ColourTable colours(runs);
    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1";
    AppendFontTable(out, font);
    colours.Write(out);
    out +=
        "\\viewkind4\\pard\\f0\\fs" + std::to_string(std::clamp(font.pointSize, 1, 1638) * 2) + " ";
    FormatState format;
    for (const LogRun& run : runs) {
        format.Change(out, colours.IndexOf(run.colour), run.style);
        AppendText(out, run.text);
        if (run.endLine) {
            out += "\\par\r\n";
        }
    }
    out += "}\r\n";
    return out;
}

}  // namespace vantaro
