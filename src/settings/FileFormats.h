#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace vantaro {

// A built-in page extension (lower case, no dot) and whether the file list shows its files.
struct TFileFormat {
    std::string Extension;
    bool Enabled = true;

    bool operator==(const TFileFormat&) const = default;
};

inline constexpr std::size_t kFileFormatCount = 23;

// In table order, which is also the order of reading and writing the settings. Copyable and
// comparable, so a dialog can keep the table as it was and tell whether it changed.
using FileFormatTable = std::array<TFileFormat, kFileFormatCount>;

// Every built-in extension, all enabled.
FileFormatTable DefaultFileFormats();

// The process-wide table: the defaults until settings are loaded, then read and written in
// place by its users.
FileFormatTable& FileFormats();

}  // namespace vantaro
