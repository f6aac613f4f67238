#pragma once

#include <QString>
#include <string_view>

namespace vantaro {

// Bytes written to the log as the view shows them, by the same rule as everywhere else a page's
// text is shown: UTF-8 when they are well-formed UTF-8, otherwise Windows-1252, with NUL (which
// would cut the text short wherever it is copied to) as U+FFFD.
QString DisplayText(std::string_view bytes);

}  // namespace vantaro
