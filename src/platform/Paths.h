#pragma once

#include <string>
#include <string_view>

namespace vantaro {

// Paths are UTF-8 everywhere in the program. On Windows both '\' and '/' separate folders and
// a drive letter with its colon ("C:") starts an absolute path; elsewhere only '/' counts.

bool IsPathSeparator(char c);

// Whether a path starts at the root of a file system (or, on Windows, of a drive or share).
bool IsAbsolutePath(std::string_view path);

// The folder part of a path, ending in its separator, or empty for a bare name.
std::string FolderOf(const std::string& path);

// The final component of a path: the text after the last separator (or drive colon).
std::string_view FileNameOf(std::string_view path);

// The path with a separator at its end (the system's own where one is added).
std::string WithTrailingSeparator(std::string folder);

// Whether a character of a path has to be escaped where the path is made part of one file
// name: the separators, and on Windows the drive colon too.
bool NeedsEscapeInFileName(char c);

// The path with every separator written as the system's own ('\\' on Windows), so that two
// spellings of one path compare equal.
std::string WithSystemSeparators(std::string path);

}  // namespace vantaro
