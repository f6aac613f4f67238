#include "platform/Paths.h"

#include <algorithm>

namespace vantaro {

namespace {

#ifdef _WIN32
constexpr bool kWindowsPaths = true;
#else
constexpr bool kWindowsPaths = false;
#endif

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::size_t LastSeparator(std::string_view path) {
    if (!kWindowsPaths) {
        return path.rfind('/');
    }
    const std::size_t separator = path.find_last_of("\\/");
    if (separator == std::string_view::npos && path.size() >= 2 && path[1] == ':' &&
        IsDriveLetter(path[0])) {
        return 1;  // "C:name": the name lies after the drive's colon
    }
    return separator;
}

}  // namespace

bool IsPathSeparator(char c) {
    return c == '/' || (kWindowsPaths && c == '\\');
}

bool IsAbsolutePath(std::string_view path) {
    if (!kWindowsPaths) {
        return path.starts_with('/');
    }
    if (path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1])) {
        return true;  // a share, \\server\share
    }
    return path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == ':' && IsPathSeparator(path[2]);
}

std::string FolderOf(const std::string& path) {
    const std::size_t separator = LastSeparator(path);
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

std::string_view FileNameOf(std::string_view path) {
    const std::size_t separator = LastSeparator(path);
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::string WithTrailingSeparator(std::string folder) {
    if (folder.empty() || !IsPathSeparator(folder.back())) {
        folder += kWindowsPaths ? '\\' : '/';
    }
    return folder;
}

bool NeedsEscapeInFileName(char c) {
    return IsPathSeparator(c) || (kWindowsPaths && c == ':');
}

std::string WithSystemSeparators(std::string path) {
    if (kWindowsPaths) {
        std::replace(path.begin(), path.end(), '/', '\\');
    }
    return path;
}

}  // namespace vantaro
