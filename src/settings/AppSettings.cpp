#include "settings/AppSettings.h"

#include <algorithm>
#include <exception>
#include <optional>

#include "settings/CINI.h"
#include "settings/CommaText.h"
#include "settings/DataPaths.h"
#include "settings/FileFormats.h"
#include "settings/IniDocument.h"
#include "settings/SettingsFile.h"

namespace vantaro {

namespace {

constexpr const char* kMainSection = "MainForm";
constexpr const char* kFormatsSection = "File Formats";

constexpr bool kReportNothing = false;
constexpr bool kReportFailure = true;

// A switch of the settings themselves or of the engine's.
struct BoolKey {
    const char* Key;
    bool AppSettings::*Own = nullptr;
    bool EngineSettings::*Run = nullptr;
};

// In the order in which they are read and written.
constexpr std::array<BoolKey, 10> kBoolKeys{{
    {"Show Backup Dlg", &AppSettings::ShowBackupDlg},
    {"Show DWT Dlg", nullptr, &EngineSettings::ShowDWTDlg},
    {"Show Clear Log Prompt", &AppSettings::ShowClearLogPrompt},
    {"Show Missing Alt Msgs", nullptr, &EngineSettings::ShowMissingAltMsgs},
    {"Show Missing Title Msgs", nullptr, &EngineSettings::ShowMissingTitleMsgs},
    {"Tag Area", nullptr, &EngineSettings::TagArea},
    {"Tag Img", nullptr, &EngineSettings::TagImg},
    {"Tag Input", nullptr, &EngineSettings::TagInput},
    {"Preview", nullptr, &EngineSettings::PreviewMode},
    {"Update DWTs", nullptr, &EngineSettings::UpdateDWTs},
}};

template <typename Settings>
auto& FieldOf(Settings& settings, const BoolKey& key) {
    return key.Own != nullptr ? settings.*key.Own : settings.Engine.*key.Run;
}

// The settings file's values, read from it once. Each value is converted by the rules of
// IniReadInteger, IniReadBool and IniReadString; reading reports nothing.
class StoredValues {
  public:
    explicit StoredValues(std::string text) {
        try {
            values_.emplace(std::move(text));
        } catch (const std::exception&) {
            values_.reset();  // like a file that cannot be read: every key keeps its default
        }
    }

    template <typename T>
    T Read(std::string_view section, std::string_view key, T defaultValue) const {
        try {
            if (const auto stored = values_ ? values_->Value(section, key) : std::nullopt) {
                return std::get<T>(ValueFromStoredForm(*stored, IniValue(defaultValue)));
            }
        } catch (const std::exception&) {
        }
        return defaultValue;
    }

    std::int32_t Integer(const char* key, std::int32_t current) const {
        return Read<std::int32_t>(kMainSection, key, current);
    }

    // A missing key leaves the list as it is: its own comma text is the default.
    void List(const char* key, std::vector<std::string>& list) const {
        list = FromCommaText(Read<std::string>(kMainSection, key, ToCommaText(list)));
    }

  private:
    std::optional<IniValues> values_;
};

// A hand-edited file could hold a width that hides the column, negative ones included.
std::int32_t ColumnWidth(std::int32_t stored, std::int32_t minimum) {
    return std::max(stored, minimum);
}

// Rows are read three items at a time; an incomplete last row of a hand-edited file is dropped.
std::vector<std::string> WholeRows(std::vector<std::string> items) {
    items.resize(items.size() - items.size() % 3);
    return items;
}

std::int32_t ReadInteger(const std::string& iniFile, const char* key, std::int32_t current) {
    return IniReadInteger(iniFile, kMainSection, key, current, kReportNothing);
}

// Every setting in the order of writing, for one write of the file.
class StoredEntries {
  public:
    void Integer(const char* key, std::int32_t value) { Add(kMainSection, key, value); }
    void String(const char* key, const std::string& value) { Add(kMainSection, key, value); }
    // A key that appears in the file only once it has held something other than its default.
    void Optional(const char* key, IniValue value, bool isDefault) {
        entries_.push_back(IniEntry{kMainSection, key, std::move(value), isDefault});
    }
    void Add(std::string_view section, std::string_view key, IniValue value) {
        entries_.push_back(IniEntry{section, key, std::move(value)});
    }
    const std::vector<IniEntry>& Entries() const { return entries_; }

  private:
    std::vector<IniEntry> entries_;
};

}  // namespace

void LoadSettings(const std::string& iniFile, AppSettings& settings) {
    LoadSettingsFromText(ReadSettingsFile(iniFile).value_or(std::string()), settings);
}

void LoadSettingsFromText(std::string text, AppSettings& settings) {
    const StoredValues stored(std::move(text));
    settings.FoldersWidth = stored.Integer("Folders", settings.FoldersWidth);
    for (std::size_t i = 0; i < kFileColumns.size(); ++i) {
        const std::int32_t width =
            stored.Integer(kFileColumns[i].Caption, settings.ColumnWidths[i]);
        settings.ColumnWidths[i] = ColumnWidth(width, kFileColumns[i].MinimumWidth);
    }
    settings.LogHeight = stored.Integer("Log", settings.LogHeight);
    settings.WorkAreaWidth = stored.Integer("Work Area Width", settings.WorkAreaWidth);
    settings.WorkAreaHeight = stored.Integer("Work Area Height", settings.WorkAreaHeight);
    stored.List("References Ignored", settings.ReferencesIgnored);
    stored.List("Recent Folders", settings.RecentFolders);
    settings.IncludeSubfolders =
        stored.Read<bool>(kMainSection, "Include Subfolders", settings.IncludeSubfolders);
    settings.OtherFileFormats =
        stored.Read<std::string>(kMainSection, "Other File Formats", settings.OtherFileFormats);
    for (const BoolKey& entry : kBoolKeys) {
        bool& field = FieldOf(settings, entry);
        field = stored.Read<bool>(kMainSection, entry.Key, field);
    }
    for (TFileFormat& format : FileFormats()) {
        format.Enabled = stored.Read<bool>(kFormatsSection, format.Extension, format.Enabled);
    }
    std::vector<std::string>& languageTags = settings.Engine.LanguageTags;
    stored.List("Language Tags", languageTags);
    languageTags = WholeRows(std::move(languageTags));
}

void SaveSettings(const std::string& iniFile, const AppSettings& settings) {
    StoredEntries stored;
    stored.Integer("Folders", settings.FoldersWidth);
    for (std::size_t i = 0; i < kFileColumns.size(); ++i) {
        stored.Integer(kFileColumns[i].Caption, settings.ColumnWidths[i]);
    }
    stored.Integer("Log", settings.LogHeight);
    stored.Integer("Log Lists", settings.LogListsWidth);
    if (settings.WorkAreaWidth > 0 && settings.WorkAreaHeight > 0) {
        stored.Integer("Work Area Width", settings.WorkAreaWidth);
        stored.Integer("Work Area Height", settings.WorkAreaHeight);
    }
    stored.String("References Ignored", ToCommaText(settings.ReferencesIgnored));
    stored.String("Other File Formats", settings.OtherFileFormats);
    for (const BoolKey& entry : kBoolKeys) {
        stored.Add(kMainSection, entry.Key, FieldOf(settings, entry));
    }
    for (const TFileFormat& format : FileFormats()) {
        stored.Add(kFormatsSection, format.Extension, format.Enabled);
    }
    stored.String("Language Tags", ToCommaText(settings.Engine.LanguageTags));
    stored.String("Default Path", settings.DefaultPath);
    // Written once they differ from their defaults, so a file that never had them stays as it
    // was; a file that has them always gets their current values.
    stored.Optional("Recent Folders", ToCommaText(settings.RecentFolders),
                    settings.RecentFolders.empty());
    stored.Optional("Include Subfolders", settings.IncludeSubfolders, !settings.IncludeSubfolders);
    IniWriteAll(iniFile, stored.Entries(), kReportFailure);
}

std::int32_t ReadLogListsWidth(const std::string& iniFile, std::int32_t currentWidth) {
    return ReadInteger(iniFile, "Log Lists", currentWidth);
}

std::string ReadDefaultPath(const std::string& iniFile) {
    return IniReadString(iniFile, kMainSection, "Default Path", HomeFolder(), kReportNothing);
}

}  // namespace vantaro
