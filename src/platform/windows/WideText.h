#pragma once

#include <string>
#include <string_view>

namespace vantaro {

// UTF-8 inside the program, UTF-16 at the Win32 calls.
std::wstring WideOf(std::string_view utf8);
std::string Utf8Of(std::wstring_view wide);

// A path for the Win32 calls: UTF-16, backslashes, absolute, and with the "\\?\" prefix where
// it is too long for the calls' usual limit.
std::wstring WidePath(const std::string& path);

// A path the system gave back, without the "\\?\" prefix, as UTF-8.
std::string PathOfWide(std::wstring_view wide);

// errno for the thread's last Win32 error.
int ErrnoOfLastError();
// Sets errno from the last Win32 error and gives false.
bool FailWithLastError();

}  // namespace vantaro
