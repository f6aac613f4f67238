#pragma once

#include <string>
#include <string_view>

namespace vantaro {

// Page bytes as a log shows them: the text itself when it is valid UTF-8, otherwise each byte
// read as Windows-1252. The result is always valid UTF-8.
std::string DecodeForDisplay(std::string_view bytes);

}  // namespace vantaro
