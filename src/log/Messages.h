#pragma once

#include <string>
#include <string_view>

namespace vantaro::messages {

// The questions and notices a run puts to the user, worded once for both front ends. Line
// breaks are CR LF in the template warning, as its dialog shows it, and LF elsewhere.

// Before a real adding run; Yes goes on.
extern const std::string_view kBackupWarning;

// A scan with both report toggles off.
extern const std::string_view kNoReportsWarning;

// The first insertion into template code of a page; both places name the page.
std::string TemplateWarning(std::string_view fileName);

}  // namespace vantaro::messages
