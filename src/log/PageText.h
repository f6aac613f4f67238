#pragma once

#include <string>
#include <string_view>

namespace vantaro {

// Page bytes as the log shows them, as UTF-8: the bytes themselves when they are well-formed
// UTF-8, otherwise each byte read as Windows-1252. NUL shows as U+FFFD.
std::string DecodeForDisplay(std::string_view bytes);

}  // namespace vantaro
