#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/IniStoredForm.h"

namespace vantaro {

// One-shot access to a settings file: every call opens the file, makes one read or one write
// and is done with it, so nothing of the file is held between calls.

enum class IniDirection { Read, Write };

// How a failed write reaches the user; the window shows an error box titled "Error".
using IniErrorReporter = std::function<void(const std::string& message)>;

// Installs the reporter and returns the one it replaces. Without one, messages go to stderr.
IniErrorReporter SetIniErrorReporter(IniErrorReporter reporter);

// The one routine behind the six operations below. value holds the value to write, or on a
// read the default, which the value read replaces; its alternative is the kind. Nothing is
// thrown: a read that fails keeps the default, a write that fails reports "Unable to write to
// <fileName>" when showError is set. Reads never report.
void IniAccess(const std::string& fileName, std::string_view section, std::string_view key,
               IniDirection direction, IniValue& value, bool showError);

bool IniReadBool(const std::string& fileName, std::string_view section, std::string_view key,
                 bool defaultValue, bool showError);
std::int32_t IniReadInteger(const std::string& fileName, std::string_view section,
                            std::string_view key, std::int32_t defaultValue, bool showError);
std::string IniReadString(const std::string& fileName, std::string_view section,
                          std::string_view key, std::string_view defaultValue, bool showError);

void IniWriteBool(const std::string& fileName, std::string_view section, std::string_view key,
                  bool value, bool showError);
void IniWriteInteger(const std::string& fileName, std::string_view section, std::string_view key,
                     std::int32_t value, bool showError);
void IniWriteString(const std::string& fileName, std::string_view section, std::string_view key,
                    std::string_view value, bool showError);

// One setting of a batch.
struct IniEntry {
    std::string_view Section;
    std::string_view Key;
    IniValue Value;
    // Set for a key written only over a value the file already has: a setting that is not
    // written while it has its default, and still has to reach a file that holds another value.
    bool OnlyIfPresent = false;
};

// Writes the entries in order with one reading and at most one replacement of the file, with
// the same result as writing them one by one. When the file cannot be written, each entry is
// reported as its own write would have been.
void IniWriteAll(const std::string& fileName, const std::vector<IniEntry>& entries, bool showError);

}  // namespace vantaro
