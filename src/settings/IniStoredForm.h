#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace vantaro {

// One setting in memory; which alternative it holds is its kind.
using IniValue = std::variant<bool, std::int32_t, std::string>;

// The text a value is stored as: booleans "1"/"0", integers in decimal, strings unchanged.
std::string StoredFormOf(const IniValue& value);

// The stored text read as a value of the default's kind, or the default when it is not one.
IniValue ValueFromStoredForm(std::string_view stored, const IniValue& defaultValue);

// Leading blanks, an optional sign, then decimal digits or hexadecimal digits after "$", "0x"
// or "0X"; nothing may follow. Empty when the text is no such number or leaves 32 bits.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

}  // namespace vantaro
