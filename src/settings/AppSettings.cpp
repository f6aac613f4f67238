#include "settings/AppSettings.h"

#include <algorithm>

#include "settings/CINI.h"
#include "settings/CommaText.h"
#include "settings/DataPaths.h"
#include "settings/FileFormats.h"

namespace vantaro {

namespace {

constexpr const char* kMainSection = "MainForm";
constexpr const char* kFormatsSection = "File Formats";

constexpr bool kReportNothing = false;
constexpr bool kReportFailure = true;

struct BoolKey {
    const char* Key;
    bool AppSettings::*Field;
};

// In the order in which they are read and written.
constexpr std::array<BoolKey, 10> kBoolKeys{{
    {"Show Backup Dlg", &AppSettings::ShowBackupDlg},
    {"Show DWT Dlg", &AppSettings::ShowDWTDlg},
    {"Show Clear Log Prompt", &AppSettings::ShowClearLogPrompt},
    {"Show Missing Alt Msgs", &AppSettings::ShowMissingAltMsgs},
    {"Show Missing Title Msgs", &AppSettings::ShowMissingTitleMsgs},
    {"Tag Area", &AppSettings::TagArea},
    {"Tag Img", &AppSettings::TagImg},
    {"Tag Input", &AppSettings::TagInput},
    {"Preview", &AppSettings::PreviewMode},
    {"Update DWTs", &AppSettings::UpdateDWTs},
}};

std::int32_t ReadInteger(const std::string& iniFile, const char* key, std::int32_t current) {
    return IniReadInteger(iniFile, kMainSection, key, current, kReportNothing);
}

// A hand-edited file could hold a width that hides the column, negative ones included.
std::int32_t ColumnWidth(std::int32_t stored, std::int32_t minimum) {
    return std::max(stored, minimum);
}

// A missing key leaves the list as it is: its own comma text is the default.
void ReadList(const std::string& iniFile, const char* key, std::vector<std::string>& list) {
    list =
        FromCommaText(IniReadString(iniFile, kMainSection, key, ToCommaText(list), kReportNothing));
}

// Rows are read three items at a time; an incomplete last row of a hand-edited file is dropped.
std::vector<std::string> WholeRows(std::vector<std::string> items) {
    items.resize(items.size() - items.size() % 3);
    return items;
}

void ReadFileFormats(const std::string& iniFile) {
    for (TFileFormat& format : FileFormats()) {
        format.Enabled =
            IniReadBool(iniFile, kFormatsSection, format.Extension, format.Enabled, kReportNothing);
    }
}

void WriteInteger(const std::string& iniFile, const char* key, std::int32_t value) {
    IniWriteInteger(iniFile, kMainSection, key, value, kReportFailure);
}

void WriteString(const std::string& iniFile, const char* key, const std::string& value) {
    IniWriteString(iniFile, kMainSection, key, value, kReportFailure);
}

}  // namespace

void LoadSettings(const std::string& iniFile, AppSettings& settings) {
    settings.FoldersWidth = ReadInteger(iniFile, "Folders", settings.FoldersWidth);
    for (std::size_t i = 0; i < kFileColumns.size(); ++i) {
        const std::int32_t stored =
            ReadInteger(iniFile, kFileColumns[i].Caption, settings.ColumnWidths[i]);
        settings.ColumnWidths[i] = ColumnWidth(stored, kFileColumns[i].MinimumWidth);
    }
    settings.LogHeight = ReadInteger(iniFile, "Log", settings.LogHeight);
    ReadList(iniFile, "References Ignored", settings.ReferencesIgnored);
    settings.OtherFileFormats = IniReadString(iniFile, kMainSection, "Other File Formats",
                                              settings.OtherFileFormats, kReportNothing);
    for (const BoolKey& entry : kBoolKeys) {
        settings.*entry.Field =
            IniReadBool(iniFile, kMainSection, entry.Key, settings.*entry.Field, kReportNothing);
    }
    ReadFileFormats(iniFile);
    ReadList(iniFile, "Language Tags", settings.LanguageTags);
    settings.LanguageTags = WholeRows(std::move(settings.LanguageTags));
}

void SaveSettings(const std::string& iniFile, const AppSettings& settings) {
    WriteInteger(iniFile, "Folders", settings.FoldersWidth);
    for (std::size_t i = 0; i < kFileColumns.size(); ++i) {
        WriteInteger(iniFile, kFileColumns[i].Caption, settings.ColumnWidths[i]);
    }
    WriteInteger(iniFile, "Log", settings.LogHeight);
    WriteInteger(iniFile, "Log Lists", settings.LogListsWidth);
    WriteString(iniFile, "References Ignored", ToCommaText(settings.ReferencesIgnored));
    WriteString(iniFile, "Other File Formats", settings.OtherFileFormats);
    for (const BoolKey& entry : kBoolKeys) {
        IniWriteBool(iniFile, kMainSection, entry.Key, settings.*entry.Field, kReportFailure);
    }
    for (const TFileFormat& format : FileFormats()) {
        IniWriteBool(iniFile, kFormatsSection, format.Extension, format.Enabled, kReportFailure);
    }
    WriteString(iniFile, "Language Tags", ToCommaText(settings.LanguageTags));
    WriteString(iniFile, "Default Path", settings.DefaultPath);
}

std::int32_t ReadLogListsWidth(const std::string& iniFile, std::int32_t currentWidth) {
    return ReadInteger(iniFile, "Log Lists", currentWidth);
}

std::string ReadDefaultPath(const std::string& iniFile) {
    return IniReadString(iniFile, kMainSection, "Default Path", HomeFolder(), kReportNothing);
}

void ApplyToEngine(const AppSettings& settings, EngineSettings& engine) {
    engine.TagImg = settings.TagImg;
    engine.TagArea = settings.TagArea;
    engine.TagInput = settings.TagInput;
    engine.ShowMissingAltMsgs = settings.ShowMissingAltMsgs;
    engine.ShowMissingTitleMsgs = settings.ShowMissingTitleMsgs;
    engine.PreviewMode = settings.PreviewMode;
    engine.UpdateDWTs = settings.UpdateDWTs;
    engine.ShowDWTDlg = settings.ShowDWTDlg;
    engine.LanguageTags = settings.LanguageTags;
}

void TakeFromEngine(const EngineSettings& engine, AppSettings& settings) {
    settings.TagImg = engine.TagImg;
    settings.TagArea = engine.TagArea;
    settings.TagInput = engine.TagInput;
    settings.ShowMissingAltMsgs = engine.ShowMissingAltMsgs;
    settings.ShowMissingTitleMsgs = engine.ShowMissingTitleMsgs;
    settings.PreviewMode = engine.PreviewMode;
    settings.UpdateDWTs = engine.UpdateDWTs;
    settings.ShowDWTDlg = engine.ShowDWTDlg;
    settings.LanguageTags = engine.LanguageTags;
}

}  // namespace vantaro
