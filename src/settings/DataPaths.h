#pragma once

#include <optional>
#include <string>

#include "platform/SystemFolders.h"

namespace vantaro {

// The part of the process environment that decides where settings live.
using ConfigEnvironment = FolderEnvironment;

// The folder of the program's own executable, ending in its separator.
const std::string& ProgramFolder();
// Set by InitDataPaths; empty before.
const std::string& AppDataFolder();
const std::string& IniFileName();

// The folder of shared settings (the user's configuration folder; on Windows the common
// application-data folder) followed by suffix, or ProgramFolder alone when there is no such
// folder. Shown and stored with the system's own separators.
std::string GetCommonAppDataPath(const std::string& suffix);
std::string GetCommonAppDataPath(const std::string& suffix, const ConfigEnvironment& environment);

// AppDataFolder becomes GetCommonAppDataPath(vendorFolder), IniFileName that followed by
// iniRelativeName. Called first thing by a host, before any setting is read.
void InitDataPaths(const std::string& vendorFolder, const std::string& iniRelativeName);
void InitDataPaths(const std::string& vendorFolder, const std::string& iniRelativeName,
                   const ConfigEnvironment& environment);

// The user's home folder ending in its separator, or "/" when it is unknown.
std::string HomeFolder();
std::string HomeFolder(const ConfigEnvironment& environment);

}  // namespace vantaro
