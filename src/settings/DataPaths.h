#pragma once

#include <optional>
#include <string>

namespace vantaro {

// The part of the process environment that decides where settings live.
struct ConfigEnvironment {
    std::optional<std::string> XdgConfigHome;
    std::optional<std::string> Home;

    static ConfigEnvironment FromProcess();
};

// The folder of the program's own executable, ending in '/'.
const std::string& ProgramFolder();
// Set by InitDataPaths; empty before.
const std::string& AppDataFolder();
const std::string& IniFileName();

// The user's configuration folder (without a trailing '/') followed by suffix, or
// ProgramFolder alone when there is no such folder.
std::string GetCommonAppDataPath(const std::string& suffix);
std::string GetCommonAppDataPath(const std::string& suffix, const ConfigEnvironment& environment);

// AppDataFolder becomes GetCommonAppDataPath(vendorFolder), IniFileName that followed by
// iniRelativeName. Called first thing by a host, before any setting is read.
void InitDataPaths(const std::string& vendorFolder, const std::string& iniRelativeName);
void InitDataPaths(const std::string& vendorFolder, const std::string& iniRelativeName,
                   const ConfigEnvironment& environment);

// The user's home folder ending in '/', or "/" when it is unknown.
std::string HomeFolder();
std::string HomeFolder(const ConfigEnvironment& environment);

}  // namespace vantaro
