#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/EngineSettings.h"

namespace vantaro {

// A column of the file list: its caption, which is also its settings key (trailing blank
// included), and its width, which is also the least width a stored value can give it.
struct FileColumn {
    const char* Caption;
    std::int32_t MinimumWidth;
};

inline constexpr std::array<FileColumn, 4> kFileColumns{
    {{"Name ", 128}, {"Size ", 48}, {"Type ", 64}, {"Date Modified", 84}}};

// Everything the main window keeps in the settings file, holding its first-run values until
// loaded. Sizes are pixels.
struct AppSettings {
    std::int32_t FoldersWidth = 177;
    std::array<std::int32_t, kFileColumns.size()> ColumnWidths{128, 48, 64, 84};
    std::int32_t LogHeight = 122;
    std::int32_t LogListsWidth = 266;
    // The size of the window's work area the three pane sizes above were measured in, so they
    // come back in the same proportions whatever size the window has next time; 0 where a file
    // of an earlier version has none.
    std::int32_t WorkAreaWidth = 0;
    std::int32_t WorkAreaHeight = 0;
    std::vector<std::string> ReferencesIgnored;
    std::string OtherFileFormats;  // extra extensions without the dot, separated by ";"
    bool ShowBackupDlg = true;
    bool ShowClearLogPrompt = true;
    bool IncludeSubfolders = false;  // the window's runs take every folder below the shown one
    // What runs work by: the tag toggles, what a scan reports, Preview, the template options
    // and the language rows. The engine reads its own copy of these.
    EngineSettings Engine;
    std::string DefaultPath;                 // the folder shown at the next start, ending in '/'
    std::vector<std::string> RecentFolders;  // newest first, each ending in '/'

    bool operator==(const AppSettings&) const = default;
};

// Reads every setting except "Log Lists" and "Default Path" into settings, reading the file
// once; what the file does not hold keeps the value settings already has, so a window can pass
// its current sizes. The file-format switches go into the process-wide FileFormats table.
// Reports nothing.
void LoadSettings(const std::string& iniFile, AppSettings& settings);
// The same from the text of a settings file already read.
void LoadSettingsFromText(std::string text, AppSettings& settings);

// Writes every setting, FileFormats included, with one reading and at most one replacement of
// the file; when it cannot be written, each key's failure is reported through the settings
// error reporter.
void SaveSettings(const std::string& iniFile, const AppSettings& settings);

// Read at other moments than LoadSettings: when the window is first shown, and when it opens
// the folder of the last session (the home folder when none is stored).
std::int32_t ReadLogListsWidth(const std::string& iniFile, std::int32_t currentWidth);
std::string ReadDefaultPath(const std::string& iniFile);

}  // namespace vantaro
