#include "settings/IniStoredForm.h"

#include <limits>

namespace vantaro {

namespace {

int DigitValue(char c, int base) {
    int value = base;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value < base ? value : -1;
}

// The base announced by a prefix, with the prefix removed from text.
int TakeBase(std::string_view& text) {
    if (text.starts_with('$')) {
        text.remove_prefix(1);
        return 16;
    }
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        return 16;
    }
    return 10;
}

}  // namespace

std::optional<std::int32_t> ParseIniInteger(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+')) {
        text.remove_prefix(1);
    }
    const int base = TakeBase(text);
    if (text.empty()) {
        return std::nullopt;
    }
    // Collected as a magnitude so that the most negative 32-bit number still fits.
    const std::int64_t limit =
        negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                 : std::numeric_limits<std::int32_t>::max();
    std::int64_t magnitude = 0;
    for (const char c : text) {
        const int digit = DigitValue(c, base);
        if (digit < 0) {
            return std::nullopt;
        }
        magnitude = magnitude * base + digit;
        if (magnitude > limit) {
            return std::nullopt;
        }
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::string StoredFormOf(const IniValue& value) {
    if (const bool* flag = std::get_if<bool>(&value)) {
        return *flag ? "1" : "0";
    }
    if (const std::int32_t* number = std::get_if<std::int32_t>(&value)) {
        return std::to_string(*number);
    }
    return std::get<std::string>(value);
}

IniValue ValueFromStoredForm(std::string_view stored, const IniValue& defaultValue) {
    if (std::holds_alternative<std::string>(defaultValue)) {
        return std::string(stored);
    }
    const std::optional<std::int32_t> number = ParseIniInteger(stored);
    if (!number) {
        return defaultValue;
    }
    if (std::holds_alternative<bool>(defaultValue)) {
        return *number != 0;
    }
    return *number;
}

}  // namespace vantaro
