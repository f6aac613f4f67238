#pragma once

#include <cstdint>
#include <string_view>

namespace vantaro {

// The seven colours every log writer chooses from. The enumerator values are the RGB values.
enum class LogColour : std::uint32_t {
    LogDarkGrey = 0x333333,
    LogGrey = 0x666666,
    LogRed = 0xFF0000,
    LogDarkRed = 0xCC0000,
    LogGreen = 0x339900,
    LogOrange = 0xFF9900,
    LogBlue = 0x003399,
};

inline constexpr LogColour kLogPalette[] = {
    LogColour::LogDarkGrey, LogColour::LogGrey,   LogColour::LogRed,  LogColour::LogDarkRed,
    LogColour::LogGreen,    LogColour::LogOrange, LogColour::LogBlue,
};

constexpr std::uint32_t ToRgb(LogColour colour) {
    return static_cast<std::uint32_t>(colour);
}

std::string_view LogColourName(LogColour colour);

// The palette colour closest to an RGB value (0xRRGGBB); colours read back from a log file are
// brought onto the palette with it.
LogColour NearestLogColour(std::uint32_t rgb);

// A font-style set over {bold, italic, underline, strikeout}.
class FontStyle {
  public:
    enum Flag : std::uint8_t { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };

    constexpr FontStyle() = default;
    constexpr FontStyle(Flag flag) : bits_(flag) {}  // NOLINT: a single flag reads as a set

    static constexpr FontStyle Plain() { return FontStyle(); }
    constexpr bool Has(Flag flag) const { return (bits_ & flag) != 0; }
    constexpr bool IsPlain() const { return bits_ == 0; }
    constexpr std::uint8_t Bits() const { return bits_; }
    constexpr FontStyle operator|(Flag flag) const { return FontStyle(bits_ | flag); }
    constexpr FontStyle With(Flag flag, bool on) const {
        return FontStyle(on ? (bits_ | flag) : (bits_ & ~flag));
    }
    constexpr bool operator==(const FontStyle&) const = default;

  private:
    constexpr explicit FontStyle(int bits) : bits_(static_cast<std::uint8_t>(bits)) {}
    std::uint8_t bits_ = 0;
};

}  // namespace vantaro
