#pragma once

#include <string>
#include <string_view>

namespace vantaro {

// Page bytes as the log shows them, as UTF-8: the bytes themselves when they are well-formed
// UTF-8, otherwise each byte read as Windows-1252. NUL shows as U+FFFD.
std::string DecodeForDisplay(std::string_view bytes);
// The same for a piece of a page, decoded as the whole page is (utf8: the whole page is
// well-formed UTF-8), so that every piece of it reads alike.
std::string DecodeForDisplay(std::string_view bytes, bool utf8);

}  // namespace vantaro
