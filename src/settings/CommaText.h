#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantaro {

// Comma text: the one-line form in which a list of strings is stored. Items are joined by
// commas; an item holding a byte of code 0 to 32, a double quote or a comma is enclosed in
// double quotes with its quotes doubled; a lone empty item is written as two double quotes.
// Bytes above 127 are ordinary characters, never decoded.
std::string ToCommaText(const std::vector<std::string>& items);

// The items of a comma text. Bytes of code 0 to 32 around items are skipped, and outside
// quotes they end an item just as a comma does; a comma with nothing after it adds one last,
// empty item. A quoted item without its closing quote runs to the end of the text.
std::vector<std::string> FromCommaText(std::string_view text);

}  // namespace vantaro
