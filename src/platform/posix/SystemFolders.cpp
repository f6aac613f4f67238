#include "platform/SystemFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vantaro {

namespace {

std::optional<std::string> Variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::nullopt : std::optional<std::string>(value);
}

// Only an absolute folder is trusted: a relative one would move with the working folder.
std::optional<std::string> AbsoluteFolder(const std::optional<std::string>& folder) {
    if (!folder || !folder->starts_with('/')) {
        return std::nullopt;
    }
    std::string path = *folder;
    while (path.ends_with('/')) {
        path.pop_back();
    }
    return path;
}

// As AbsoluteFolder, but the root folder stays "/".
std::optional<std::string> AbsoluteFolderOrRoot(const std::optional<std::string>& folder) {
    if (!folder || !folder->starts_with('/')) {
        return std::nullopt;
    }
    std::string path = *folder;
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

}  // namespace

FolderEnvironment FolderEnvironment::FromProcess() {
    return {Variable("XDG_CONFIG_HOME"), Variable("HOME"), Variable("XDG_CACHE_HOME")};
}

std::optional<std::string> SettingsRootFolder(const FolderEnvironment& environment) {
    if (std::optional<std::string> folder = AbsoluteFolder(environment.XdgConfigHome)) {
        return folder;
    }
    if (std::optional<std::string> home = AbsoluteFolder(environment.Home)) {
        return *home + "/.config";
    }
    return std::nullopt;
}

std::optional<std::string> CacheRootFolder(const FolderEnvironment& environment) {
    if (std::optional<std::string> cache = AbsoluteFolderOrRoot(environment.XdgCacheHome)) {
        return cache;
    }
    std::optional<std::string> home = AbsoluteFolderOrRoot(environment.Home);
    if (!home) {
        const passwd* user = ::getpwuid(::getuid());
        home = AbsoluteFolderOrRoot(user != nullptr ? std::optional<std::string>(user->pw_dir)
                                                    : std::nullopt);
    }
    if (!home) {
        return std::nullopt;
    }
    return *home + "/.cache";
}

std::optional<std::string> HomeRootFolder(const FolderEnvironment& environment) {
    return AbsoluteFolder(environment.Home);
}

std::string ExecutableFolder() {
    std::error_code error;
    std::string folder =
        std::filesystem::read_symlink("/proc/self/exe", error).parent_path().string();
    if (error || folder.empty()) {
        folder = std::filesystem::current_path(error).string();
    }
    if (!folder.ends_with('/')) {
        folder += '/';
    }
    return folder;
}

std::string WorkingFolder() {
    std::error_code error;
    return std::filesystem::current_path(error).string();
}

std::string WithNativeSeparators(std::string path) {
    return path;
}

}  // namespace vantaro
