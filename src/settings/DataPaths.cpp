#include "settings/DataPaths.h"

#include "platform/Paths.h"

namespace vantaro {

namespace {

std::string& AppDataFolderValue() {
    static std::string folder;
    return folder;
}

std::string& IniFileNameValue() {
    static std::string name;
    return name;
}

}  // namespace

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
    const std::optional<std::string> folder = SettingsRootFolder(environment);
    return folder ? WithNativeSeparators(*folder + suffix) : ProgramFolder();
}

void InitDataPaths(const std::string& vendorFolder, const std::string& iniRelativeName) {
    InitDataPaths(vendorFolder, iniRelativeName, ConfigEnvironment::FromProcess());
}

void InitDataPaths(const std::string& vendorFolder, const std::string& iniRelativeName,
                   const ConfigEnvironment& environment) {
    AppDataFolderValue() = GetCommonAppDataPath(vendorFolder, environment);
    IniFileNameValue() = WithNativeSeparators(AppDataFolderValue() + iniRelativeName);
}

std::string HomeFolder() {
    return HomeFolder(ConfigEnvironment::FromProcess());
}

std::string HomeFolder(const ConfigEnvironment& environment) {
    const std::optional<std::string> home = HomeRootFolder(environment);
    return home ? WithTrailingSeparator(*home) : "/";
}

}  // namespace vantaro
