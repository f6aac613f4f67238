#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ReporterCapture.h"
#include "settings/AppSettings.h"
#include "settings/CINI.h"
#include "settings/DataPaths.h"
#include "settings/FileFormats.h"
#include "support/TempDir.h"

namespace vantaro {
namespace {

using namespace test;
using namespace std::string_literals;
using List = std::vector<std::string>;

const char* const kExtensions[] = {"htm", "html", "hta", "htc", "xhtml", "shtm", "shtml", "stm",
                                   "ssi", "inc",  "dwt", "asp", "asa",   "aspx", "ascx",  "asmx",
                                   "cfm", "cfml", "cfc", "php", "php3",  "php4", "php5"};

class AppSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override { FileFormats() = DefaultFileFormats(); }
    void TearDown() override { FileFormats() = DefaultFileFormats(); }

    AppSettings LoadedFrom(const std::string& content) {
        AppSettings settings;
        LoadSettings(dir_.Write("App.ini", content), settings);
        return settings;
    }

    TempDir dir_;
};

TEST_F(AppSettingsTest, FirstRunKeepsTheDesignedValuesAndCreatesNothing) {
    const std::string file = dir_.File("Corvell/Vantaro/App.ini");
    AppSettings settings;
    LoadSettings(file, settings);
    EXPECT_TRUE(settings == AppSettings{});
    EXPECT_EQ(FileFormats(), DefaultFileFormats());
    EXPECT_EQ(ReadLogListsWidth(file, 266), 266);
    EXPECT_EQ(ReadDefaultPath(file), HomeFolder());
    EXPECT_FALSE(std::filesystem::exists(dir_.File("Corvell")));
}

TEST_F(AppSettingsTest, TheWindowsCurrentSizesAreTheDefaults) {
    AppSettings settings;
    settings.FoldersWidth = 300;
    settings.ColumnWidths = {200, 60, 70, 90};
    LoadSettings(dir_.Write("App.ini", "[MainForm]\nLog=99\n"), settings);
    EXPECT_EQ(settings.FoldersWidth, 300);
    EXPECT_EQ(settings.ColumnWidths, (std::array<std::int32_t, 4>{200, 60, 70, 90}));
    EXPECT_EQ(settings.LogHeight, 99);
    EXPECT_EQ(ReadLogListsWidth(dir_.File("App.ini"), 400), 400);
}

TEST_F(AppSettingsTest, SavingWritesEveryKeyInOrderOnAFreshMachine) {
    const std::string file = dir_.File("config/Corvell/Vantaro/App.ini");
    AppSettings settings;
    settings.DefaultPath = "/home/u/sites/";
    ReporterCapture reports;
    SaveSettings(file, settings);
    std::string expected =
        "[MainForm]\n"
        "Folders=177\n"
        "Name =128\n"
        "Size =48\n"
        "Type =64\n"
        "Date Modified=84\n"
        "Log=122\n"
        "Log Lists=266\n"
        "References Ignored=\n"
        "Other File Formats=\n"
        "Show Backup Dlg=1\n"
        "Show DWT Dlg=1\n"
        "Show Clear Log Prompt=1\n"
        "Show Missing Alt Msgs=1\n"
        "Show Missing Title Msgs=1\n"
        "Tag Area=1\n"
        "Tag Img=1\n"
        "Tag Input=1\n"
        "Preview=1\n"
        "Update DWTs=1\n"
        "Language Tags=\"ASP, JSP\",<%,%>,PHP,<?php,?>,Script,<script,</script>\n"
        "Default Path=/home/u/sites/\n"
        "[File Formats]\n";
    for (const char* extension : kExtensions) {
        expected += std::string(extension) + "=1\n";
    }
    EXPECT_EQ(ReadWholeFile(file), expected);
    EXPECT_TRUE(reports.Messages().empty());
}

TEST_F(AppSettingsTest, EverySettingSurvivesSaveAndLoad) {
    const std::string file = dir_.File("App.ini");
    AppSettings saved;
    saved.FoldersWidth = 250;
    saved.ColumnWidths = {300, 49, 65, 85};
    saved.LogHeight = 1;
    saved.LogListsWidth = 400;
    saved.WorkAreaWidth = 1900;
    saved.WorkAreaHeight = 950;
    saved.ReferencesIgnored = {"images/my photo.jpg", "a,b.gif", "say \"hi\".png", ""};
    saved.OtherFileFormats = "tpl;JSP";
    saved.ShowBackupDlg = saved.ShowClearLogPrompt = saved.Engine.ShowMissingTitleMsgs = false;
    saved.Engine.TagImg = saved.Engine.PreviewMode = false;
    saved.Engine.LanguageTags = {"Mine", "{{", "}}"};
    saved.DefaultPath = "/srv/www/my site/";
    FileFormats()[0].Enabled = FileFormats()[22].Enabled = false;
    const FileFormatTable savedFormats = FileFormats();
    SaveSettings(file, saved);

    FileFormats() = DefaultFileFormats();
    AppSettings loaded;
    LoadSettings(file, loaded);
    loaded.LogListsWidth = ReadLogListsWidth(file, 266);
    loaded.DefaultPath = ReadDefaultPath(file);
    EXPECT_TRUE(loaded == saved);
    EXPECT_EQ(FileFormats(), savedFormats);
}

TEST_F(AppSettingsTest, KeysAddedLaterAppearOnceSetAndAreThenAlwaysWritten) {
    const std::string file = dir_.File("App.ini");
    AppSettings settings;
    settings.IncludeSubfolders = true;
    settings.RecentFolders = {"/srv/a/", "/srv/b,c/"};
    SaveSettings(file, settings);
    AppSettings loaded;
    LoadSettings(file, loaded);
    EXPECT_TRUE(loaded.IncludeSubfolders);
    EXPECT_EQ(loaded.RecentFolders, settings.RecentFolders);

    // Back at their defaults, they are written over what the file holds, never left behind.
    SaveSettings(file, AppSettings());
    const std::string text = ReadWholeFile(file);
    EXPECT_NE(text.find("Include Subfolders=0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Recent Folders=\n"), std::string::npos) << text;
    LoadSettings(file, loaded);
    EXPECT_FALSE(loaded.IncludeSubfolders);
    EXPECT_TRUE(loaded.RecentFolders.empty());
}

TEST_F(AppSettingsTest, AColumnNeverComesBackNarrowerThanDesigned) {
    const AppSettings settings =
        LoadedFrom("[MainForm]\nName =10\nSize =-5\nType =0x100\nDate Modified=84\nname=500\n");
    EXPECT_EQ(settings.ColumnWidths, (std::array<std::int32_t, 4>{128, 48, 256, 84}));
    // The key is the caption, trailing blank and all; only surrounding blanks are forgiven.
    EXPECT_EQ(LoadedFrom("[MainForm]\nNam=500\nDateModified=500\n").ColumnWidths,
              (std::array<std::int32_t, 4>{128, 48, 64, 84}));
}

TEST_F(AppSettingsTest, FormatSwitchesComeFromTheirOwnSection) {
    LoadedFrom("[MainForm]\nhtm=0\n[File Formats]\nPHP=0\nhtml=2\nasp=no\nxhtml=0x0\n");
    EXPECT_TRUE(FileFormats()[0].Enabled);    // htm: only in the other section
    EXPECT_TRUE(FileFormats()[1].Enabled);    // html=2
    EXPECT_FALSE(FileFormats()[4].Enabled);   // xhtml=0x0
    EXPECT_TRUE(FileFormats()[11].Enabled);   // asp: a word keeps the default
    EXPECT_FALSE(FileFormats()[19].Enabled);  // php, letter case aside
    EXPECT_TRUE(FileFormats()[20].Enabled);   // php3: missing
}

TEST_F(AppSettingsTest, StoredListsAreReadAsCommaText) {
    const AppSettings empty = LoadedFrom("[MainForm]\nLanguage Tags=\nReferences Ignored=\n");
    EXPECT_EQ(empty.Engine.LanguageTags, List{});
    EXPECT_EQ(empty.ReferencesIgnored, List{});

    const AppSettings edited = LoadedFrom(
        "[MainForm]\nReferences Ignored=my image.gif,\"a b.gif\"\n"
        "Language Tags=A,<a,a>,B,<b\n");
    EXPECT_EQ(edited.ReferencesIgnored, (List{"my", "image.gif", "a b.gif"}));
    EXPECT_EQ(edited.Engine.LanguageTags, (List{"A", "<a", "a>"}));
}

TEST_F(AppSettingsTest, ALineBreakInAValueCannotInjectSettings) {
    const std::string file = dir_.File("App.ini");
    AppSettings saved;
    saved.ReferencesIgnored = {"x.gif\nTag Img=0"};
    saved.OtherFileFormats = "tpl\r\nPreview=0";
    saved.DefaultPath = "/a\n[File Formats]\nhtm=0\n";
    SaveSettings(file, saved);
    AppSettings loaded;
    LoadSettings(file, loaded);
    EXPECT_TRUE(loaded.Engine.TagImg);
    EXPECT_TRUE(loaded.Engine.PreviewMode);
    EXPECT_TRUE(FileFormats()[0].Enabled);
    EXPECT_EQ(loaded.ReferencesIgnored, List{"x.gif Tag Img=0"});
    EXPECT_EQ(loaded.OtherFileFormats, "tpl  Preview=0");
    EXPECT_EQ(ReadDefaultPath(file), "/a [File Formats] htm=0 ");
}

TEST_F(AppSettingsTest, ADamagedFileGivesDefaultsWhereNothingCanBeRead) {
    std::string damaged =
        "\xEF\xBB\xBF garbage\r\n[MainForm\r\n\0\0\0\r\n[MainForm]\r\nFolders=wide\r\n"
        "Log=\r\nTag Img=0\r\nShow DWT Dlg\r\n"s;
    damaged += "Other File Formats=" + std::string(1 << 20, 'x') + "\r\n";
    const AppSettings settings = LoadedFrom(damaged);
    EXPECT_EQ(settings.FoldersWidth, 177);
    EXPECT_EQ(settings.LogHeight, 122);
    EXPECT_FALSE(settings.Engine.TagImg);
    EXPECT_TRUE(settings.Engine.ShowDWTDlg);
    EXPECT_EQ(settings.OtherFileFormats.size(), 1u << 20);
    EXPECT_EQ(settings.Engine.LanguageTags, EngineSettings::DefaultLanguageTags());
}

TEST_F(AppSettingsTest, EachFailedWriteIsReportedAndSavingGoesOn) {
    dir_.Write("blocker", "");
    const std::string file = dir_.File("blocker/App.ini");
    ReporterCapture reports;
    SaveSettings(file, AppSettings{});
    EXPECT_EQ(reports.Messages(), List(44, "Unable to write to " + file));
}

}  // namespace
}  // namespace vantaro
