#include "settings/DataPaths.h"

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

std::optional<std::string> ConfigFolder(const ConfigEnvironment& environment) {
    if (std::optional<std::string> folder = AbsoluteFolder(environment.XdgConfigHome)) {
        return folder;
    }
    if (std::optional<std::string> home = AbsoluteFolder(environment.Home)) {
        return *home + "/.config";
    }
    return std::nullopt;
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

std::string& AppDataFolderValue() {
    static std::string folder;
    return folder;
}

std::string& IniFileNameValue() {
    static std::string name;
    return name;
}

}  // namespace

ConfigEnvironment ConfigEnvironment::FromProcess() {
    return {Variable("XDG_CONFIG_HOME"), Variable("HOME")};
}

const std::string& ProgramFolder() {
    static const std::string folder = ExecutableFolder();
    return folder;
}

const std::string& AppDataFolder() {
    return AppDataFolderValue();
}

const std::string& IniFileName() {
    return IniFileNameValue();
}

std::string GetCommonAppDataPath(const std::string& suffix) {
    return GetCommonAppDataPath(suffix, ConfigEnvironment::FromProcess());
}

std::string GetCommonAppDataPath(const std::string& suffix, const ConfigEnvironment& environment) {
    const std::optional<std::string> folder = ConfigFolder(environment);
    return folder ? *folder + suffix : ProgramFolder();
}

void InitDataPaths(const std::string& vendorFolder, const std::string& iniRelativeName) {
    InitDataPaths(vendorFolder, iniRelativeName, ConfigEnvironment::FromProcess());
}

void InitDataPaths(const std::string& vendorFolder, const std::string& iniRelativeName,
                   const ConfigEnvironment& environment) {
    AppDataFolderValue() = GetCommonAppDataPath(vendorFolder, environment);
    IniFileNameValue() = AppDataFolderValue() + iniRelativeName;
}

std::string HomeFolder() {
    return HomeFolder(ConfigEnvironment::FromProcess());
}

std::string HomeFolder(const ConfigEnvironment& environment) {
    const std::optional<std::string> home = AbsoluteFolder(environment.Home);
    return home ? *home + "/" : "/";
}

}  // namespace vantaro
