#pragma once

#include <optional>
#include <string>

namespace vantaro {

// The part of the process environment that decides where settings and caches live on POSIX
// systems. Windows asks the system for its known folders instead.
struct FolderEnvironment {
    std::optional<std::string> XdgConfigHome;
    std::optional<std::string> Home;
    std::optional<std::string> XdgCacheHome = std::nullopt;

    static FolderEnvironment FromProcess();
};

// The folder of shared settings, without a trailing separator: $XDG_CONFIG_HOME, else
// $HOME/.config (POSIX; only absolute folders count); the common application-data folder
// (Windows). Nothing when there is none.
std::optional<std::string> SettingsRootFolder(const FolderEnvironment& environment);
// The user's cache folder, likewise: $XDG_CACHE_HOME, else the home folder's .cache (POSIX);
// the user's local application-data folder (Windows).
std::optional<std::string> CacheRootFolder(const FolderEnvironment& environment);
// The user's home folder without a trailing separator (empty for the root folder).
std::optional<std::string> HomeRootFolder(const FolderEnvironment& environment);

// The folder of the program's own executable, ending in its separator.
std::string ExecutableFolder();
// The working folder, or empty when it cannot be told.
std::string WorkingFolder();
// A path with the system's own separators ('\' on Windows), for showing and storing.
std::string WithNativeSeparators(std::string path);

}  // namespace vantaro
