#include <QAction>
#include <QHeaderView>
#include <QListWidget>
#include <QTreeView>

#include "MainWindowFixture.h"
#include "engine/Engine.h"
#include "settings/FileFormats.h"
#include "shell/PaneSplitter.h"
#include "shell/references/ReferenceListBoxes.h"

namespace vantaro {
namespace {

using test::MainWindowProbe;
using test::MainWindowTest;

int ColumnWidth(const MainWindowProbe& ui, int column) {
    return ui.FilesListView()->header()->sectionSize(column);
}

TEST_F(MainWindowTest, FirstRunStartsFromTheDefaults) {
    FileFormats() = DefaultFileFormats();
    TMainForm& w = CreateShown();
    for (QAction* toggle : ui.Actions({"AreaToolButton", "area1", "ImgToolButton", "img1",
                                       "InputToolButton", "input1", "PreviewToolButton", "Preview1",
                                       "ShowmissingAlts1", "ShowmissingTitles1"})) {
        EXPECT_TRUE(toggle->isChecked()) << toggle->objectName().toStdString();
    }
    EXPECT_TRUE(w.ShowBackupDlg);
    EXPECT_TRUE(w.ShowClearLogPrompt);
    EXPECT_TRUE(w.Settings().UpdateDWTs);
    EXPECT_TRUE(w.Settings().ShowDWTDlg);
    EXPECT_EQ(w.Settings().LanguageTags, EngineSettings::DefaultLanguageTags());
    EXPECT_EQ(ui.IgnoreImagesListBox()->count(), 0);
    EXPECT_EQ(w.CurrentFolder, dir.File("home/"));  // none stored: the home folder

    // Sizes are saved in pixels, as the panes have them at the end.
    const int folders = ui.Find("FoldersPanel")->width();
    const int log = ui.Find("LogPanel")->height();
    const int logLists = ui.Find("LogListsPanel")->width();
    // The columns start at their designed widths or wider, as their text needs.
    const char* const columns[] = {"Name ", "Size ", "Type ", "Date Modified"};
    const int designed[] = {128, 48, 64, 84};
    int widths[4] = {};
    for (int column = 0; column < 4; ++column) {
        widths[column] = ColumnWidth(ui, column);
        EXPECT_GE(widths[column], designed[column]);
    }
    Destroy();
    EXPECT_EQ(ReadIni("Folders"), std::to_string(folders));
    EXPECT_EQ(ReadIni("Log"), std::to_string(log));
    EXPECT_EQ(ReadIni("Log Lists"), std::to_string(logLists));
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(ReadIni(columns[column]), std::to_string(widths[column]));
    }
    EXPECT_EQ(ReadIni("Tag Area"), "1");
    EXPECT_EQ(ReadIni("Preview"), "1");
    EXPECT_EQ(ReadIni("php5", "File Formats"), "1");
    EXPECT_EQ(ReadIni("Language Tags"), "\"ASP, JSP\",<%,%>,PHP,<?php,?>,Script,<script,</script>");
    EXPECT_EQ(ReadIni("Default Path"), dir.File("home/"));
}

TEST_F(MainWindowTest, AWindowNeverShownSavesTheDesignedSizes) {
    Create();
    Destroy();
    EXPECT_EQ(ReadIni("Folders"), "177");
    EXPECT_EQ(ReadIni("Log"), "122");
    EXPECT_EQ(ReadIni("Log Lists"), "266");
}

TEST_F(MainWindowTest, SettingsMadeInOneSessionAreThereInTheNext) {
    {
        TMainForm& w = CreateShown();
        ui.Action("area1")->trigger();
        ui.Action("PreviewToolButton")->trigger();
        ui.Action("ShowmissingTitles1")->trigger();
        ui.FilesListView()->header()->resizeSection(1, 90);
        w.ShowBackupDlg = false;
        w.ShowClearLogPrompt = false;
        w.OtherFileFormats = "txt;xml";
        w.Settings().UpdateDWTs = false;
        w.Settings().LanguageTags = {"Perl", "<perl", "</perl>"};
        ui.IgnoreImagesListBox()->AddReference("logo, small.gif");
        ui.IgnoreImagesListBox()->AddReference("banner.png");
        ui.Find<TPaneSplitter>("HorzSplitter")->SetPaneSize(250);
        ui.Find<TPaneSplitter>("VertSplitter")->SetPaneSize(150);
        ui.Find<TPaneSplitter>("Splitter1")->SetPaneSize(300);
        std::filesystem::create_directories(dir.File("site"));
        w.CurrentFolder = dir.File("site/");
    }
    Destroy();
    EXPECT_EQ(ReadIni("Folders"), "250");
    EXPECT_EQ(ReadIni("Log"), "150");
    EXPECT_EQ(ReadIni("Log Lists"), "300");
    EXPECT_EQ(ReadIni("References Ignored"), "banner.png,\"logo, small.gif\"");
    const double areaWidth = std::stod(ReadIni("Work Area Width"));
    const double areaHeight = std::stod(ReadIni("Work Area Height"));

    TMainForm& w = Create();
    EXPECT_FALSE(w.Settings().TagArea);
    EXPECT_FALSE(ui.Action("AreaToolButton")->isChecked());
    EXPECT_FALSE(ui.Action("area1")->isChecked());
    EXPECT_TRUE(w.Settings().TagImg);
    EXPECT_FALSE(w.Settings().PreviewMode);
    EXPECT_FALSE(ui.Action("Preview1")->isChecked());
    EXPECT_EQ(ui.Action("AddAlt1")->text(), "+alt");
    EXPECT_EQ(ui.Action("AddTitleToolButton")->text(), "+title");
    EXPECT_TRUE(ui.Action("ShowmissingAlts1")->isChecked());
    EXPECT_FALSE(ui.Action("ShowmissingTitles1")->isChecked());
    EXPECT_FALSE(w.Settings().ShowMissingTitleMsgs);
    EXPECT_EQ(ColumnWidth(ui, 0), 128);
    EXPECT_EQ(ColumnWidth(ui, 1), 90);
    EXPECT_FALSE(w.ShowBackupDlg);
    EXPECT_FALSE(w.ShowClearLogPrompt);
    EXPECT_EQ(w.OtherFileFormats, "txt;xml");
    EXPECT_FALSE(w.Settings().UpdateDWTs);
    EXPECT_EQ(w.Settings().LanguageTags, (std::vector<std::string>{"Perl", "<perl", "</perl>"}));
    EXPECT_EQ(ui.IgnoreImagesListBox()->References(),
              (std::vector<std::string>{"banner.png", "logo, small.gif"}));
    // Proportions of the work area the sizes were saved from.
    EXPECT_DOUBLE_EQ(w.FoldersWidthPercent, 250.0 / areaWidth * 100);
    EXPECT_DOUBLE_EQ(w.LogHeightPercent, 150.0 / areaHeight * 100);
    EXPECT_EQ(ui.Find<TPaneSplitter>("HorzSplitter")->PaneSize(), 250);
    // The engine skips the regions of the rows it was given.
    ASSERT_EQ(w.MainEngine().IgnoreTags().Count(), 1u);
    EXPECT_EQ(w.MainEngine().IgnoreTags().Description(0), "Perl");

    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    Settle();
    EXPECT_EQ(w.CurrentFolder, dir.File("site/"));
    EXPECT_DOUBLE_EQ(w.LogListsWidthPercent, 300.0 / areaWidth * 100);
}

// A file written before the work area was stored gives proportions of the designed one.
TEST_F(MainWindowTest, SizesOfAnEarlierVersionAreProportionsOfTheDesignedWorkArea) {
    WriteIni("MainForm", "Folders", "336");
    WriteIni("MainForm", "Log", "116");
    TMainForm& w = Create();
    EXPECT_DOUBLE_EQ(w.FoldersWidthPercent, 50.0);
    EXPECT_DOUBLE_EQ(w.LogHeightPercent, 50.0);
}

// Sizes saved from a large window must not be scaled again against the designed one at the next
// start, or the panes drift further at every restart.
TEST_F(MainWindowTest, RestartingGivesBackTheLayoutTheUserLeft) {
    const QSize large(1400, 900);
    CreateShown(large);
    ui.Find<TPaneSplitter>("HorzSplitter")->SetPaneSize(300);
    ui.Find<TPaneSplitter>("VertSplitter")->SetPaneSize(200);
    ui.Find<TPaneSplitter>("Splitter1")->SetPaneSize(500);
    ui.FilesListView()->header()->resizeSection(0, 210);
    Destroy();
    const std::vector<std::string> keys = {
        "Folders", "Log", "Log Lists", "Name ", "Work Area Width", "Work Area Height"};
    std::vector<std::string> left;
    for (const std::string& key : keys) {
        left.push_back(ReadIni(key));
    }
    EXPECT_EQ(left[0], "300");
    EXPECT_EQ(left[2], "500");
    for (int start = 1; start <= 3; ++start) {
        CreateShown(large);
        EXPECT_EQ(ui.Find<TPaneSplitter>("HorzSplitter")->PaneSize(), 300) << start;
        Destroy();
        for (std::size_t i = 0; i < keys.size(); ++i) {
            EXPECT_EQ(ReadIni(keys[i]), left[i]) << keys[i] << " after start " << start;
        }
    }
}

TEST_F(MainWindowTest, AStoredColumnWidthBelowTheMinimumComesBackAsTheMinimum) {
    WriteIni("MainForm", "Size ", "10");
    WriteIni("MainForm", "Date Modified", "-5");
    Create();
    EXPECT_EQ(ColumnWidth(ui, 1), 48);
    EXPECT_EQ(ColumnWidth(ui, 3), 84);
}

TEST_F(MainWindowTest, EveryFailedWriteIsReportedInAnErrorBox) {
    // A file where the settings folder should be: nothing can be written.
    std::filesystem::create_directories(dir.File("config"));
    dir.Write("config/Corvell", "not a folder");
    Create();
    Destroy();
    // 9 sizes (the work area's two included), 2 strings, 10 switches, 23 formats, Language
    // Tags and Default Path.
    ASSERT_EQ(prompter.messages.size(), 46u);
    for (const Prompter::Message& message : prompter.messages) {
        EXPECT_EQ(message.kind, Prompter::Kind::Error);
        EXPECT_EQ(message.title, "Error");
        EXPECT_TRUE(message.text.startsWith("Unable to write to ")) << message.text.toStdString();
    }
}

}  // namespace
}  // namespace vantaro
