#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "MainWindowFixture.h"
#include "QStringPrinting.h"
#include "engine/Engine.h"
#include "shell/FileListView.h"
#include "shell/FolderTree.h"
#include "shell/ProgressGauge.h"
#include "shell/dialogs/CDVTCodeDetectDlg.h"
#include "shell/dialogs/CPreferencesForm.h"
#include "shell/log/LogView.h"
#include "shell/references/ReferenceListBoxes.h"

namespace vantaro::test {
namespace {

const std::string kLogo = "<img src=\"images/logo.gif\" title=\"Logo\">\r\n";
const std::string kPlain = "<p>Nothing to see</p>\r\n";
const std::string kTemplatePage =
    "<!-- InstanceBeginEditable name=\"body\" --><img src=\"e.gif\" title=\"E\">"
    "<!-- InstanceEndEditable -->\r\n<img src=\"t.gif\" title=\"T\">\r\n";

// The log's lines with the run's time stamps taken out.
QStringList LogLines(const MainWindowProbe& ui) {
    QStringList lines = ui.LogRichEdit()->toPlainText().split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.startsWith(QStringLiteral("Process started ")) ||
            line.startsWith(QStringLiteral("Process ended "))) {
            line = line.left(line.indexOf(QStringLiteral("ed ")) + 2);
        }
    }
    while (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.pop_back();
    }
    return lines;
}

class MainWindowRunTest : public MainWindowTest {
  protected:
    TMainForm& ReadyWindow(const std::vector<std::pair<std::string, std::string>>& pages) {
        TMainForm& w = CreateShown();
        w.ShowClearLogPrompt = false;
        // The default folder's listing may have logged nothing, but be sure.
        ui.Action("Clear1")->trigger();
        ListSite(w, pages);
        ui.Action("SelectAll1")->trigger();
        return w;
    }

    std::string Folder() { return dir.File("pages/"); }
};

TEST_F(MainWindowRunTest, AScanReportsIntoTheLogAndTheFoundList) {
    TMainForm& w = ReadyWindow({{"a.htm", kLogo}, {"b.htm", kPlain}, {"notes.txt", kLogo}});
    ASSERT_EQ(ui.FilesListView()->RowCount(), 2);
    ui.Action("Scan1")->trigger();
    EXPECT_EQ(LogLines(ui),
              (QStringList{"Scan for missing alt & title attributes", "Process started",
                           QString::fromStdString("Path : " + Folder()),
                           "a.htm : Line 1 : <img : logo.gif : alt missing", "b.htm : No changes",
                           "Process ended", "Missing alt attributes: 1",
                           "Missing title attributes: 0", "..."}));
    EXPECT_EQ(ui.RefImagesListBox()->References(), std::vector<std::string>{"logo.gif"});
    EXPECT_FALSE(w.Processing());
    EXPECT_TRUE(ui.Action("Scan1")->isEnabled());
    EXPECT_FALSE(ui.Action("Stop1")->isEnabled());
    EXPECT_TRUE(ui.Find<QLabel>("ProgressLabel")->isEnabled());
    const TProgressGauge* gauge = ui.ProgressGauge();
    EXPECT_EQ(gauge->value(), gauge->maximum());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MainWindowRunTest, AddAltWritesThePagesAfterTheBackupWarning) {
    TMainForm& w = ReadyWindow({{"a.htm", kLogo}, {"b.htm", kPlain}});
    ui.Action("Preview1")->trigger();  // Preview off
    ASSERT_FALSE(w.Settings().PreviewMode);
    prompter.answers = {Prompter::No};
    ui.Action("AddAlt1")->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].helpContext, 10000120);
    EXPECT_TRUE(prompter.messages[0].text.startsWith(
        "It is recommended you backup your file(s) before proceeding."));
    EXPECT_TRUE(LogLines(ui).isEmpty());
    EXPECT_EQ(dir.Read("pages/a.htm"), kLogo);

    prompter.answers = {Prompter::Yes};
    ui.Action("AddAlt1")->trigger();
    EXPECT_EQ(dir.Read("pages/a.htm"),
              "<img src=\"images/logo.gif\" alt=\"Logo\" title=\"Logo\">\r\n");
    EXPECT_TRUE(LogLines(ui).contains("a.htm : Line 1 : <img : logo.gif : alt added : \"Logo\""));
    EXPECT_TRUE(LogLines(ui).contains("a.htm : Updated successfully"));
    EXPECT_TRUE(LogLines(ui).contains("1 alt attribute(s) added"));
    EXPECT_TRUE(ui.RefImagesListBox()->References().empty());
    // The status bar followed the pages; the list shows the written page's new size.
    EXPECT_EQ(ui.Find<QLabel>("RunStatusLabel")->text(),
              QString::fromStdString("2 of 2 pages - " + Folder() + "b.htm"));
    EXPECT_EQ(ui.FilesListView()->FileModel().Row(0).Size, dir.Read("pages/a.htm").size());
    EXPECT_EQ(ui.FilesListView()->SelectedCount(), 2);
}

TEST_F(MainWindowRunTest, IncludeSubfoldersRunsTheWholeSiteFolderByFolder) {
    TMainForm& w = ReadyWindow({{"a.htm", kLogo}});
    for (const char* page : {"sub/b.htm", "sub/deeper/c.htm", ".hidden/d.htm", "Alpha/e.htm"}) {
        std::filesystem::create_directories(std::filesystem::path(Folder() + page).parent_path());
        dir.Write(std::string("pages/") + page, kLogo);
    }
    std::filesystem::create_directories(Folder() + "empty");
    std::filesystem::create_directory_symlink(Folder() + "sub", Folder() + "link");
    ui.Action("DeselectAll1")->trigger();
    EXPECT_FALSE(ui.Action("Scan1")->isEnabled());

    ui.Action("SubfoldersToolButton")->trigger();
    EXPECT_TRUE(w.IncludeSubfolders);
    EXPECT_TRUE(ui.Action("IncludeSubfolders1")->isChecked());
    // With nothing selected the shown folder gives all its pages.
    ASSERT_TRUE(ui.Action("Scan1")->isEnabled());
    ui.Action("Scan1")->trigger();
    QStringList paths;
    for (const QString& line : LogLines(ui)) {
        if (line.startsWith(QStringLiteral("Path : "))) {
            paths.append(line.mid(7));
        }
    }
    const QString top = QString::fromStdString(Folder());
    EXPECT_EQ(paths, (QStringList{top, top + "Alpha/", top + "sub/", top + "sub/deeper/"}));
    EXPECT_EQ(LogLines(ui).filter(QStringLiteral("alt missing")).size(), 4);
    EXPECT_EQ(ui.ProgressGauge()->Progress(), 4 * kLogo.size());
    EXPECT_EQ(ui.ProgressGauge()->value(), ui.ProgressGauge()->maximum());

    Destroy();
    CreateShown();
    EXPECT_TRUE(ui.Action("IncludeSubfolders1")->isChecked());
    EXPECT_TRUE(ui.Action("SubfoldersToolButton")->isChecked());
}

TEST_F(MainWindowRunTest, StopDuringARunLeavesThePageUnsaved) {
    std::string big;
    while (big.size() < 2'000'000) {
        big += kLogo;
    }
    TMainForm& w = ReadyWindow({{"a.htm", big}, {"b.htm", kLogo}});
    ui.Action("Preview1")->trigger();
    w.ShowBackupDlg = false;
    prompter.answers = {Prompter::Yes};  // the Stop confirmation
    QAction* stop = ui.Action("Stop1");
    QTimer::singleShot(0, &w, [stop] { stop->trigger(); });
    ASSERT_TRUE(ui.Action("AddAlt1")->isEnabled())
        << w.CurrentFolder << " " << ui.FilesListView()->SelectedCount();
    ui.Action("AddAlt1")->trigger();
    const QStringList lines = LogLines(ui);
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[lines.size() - 4], "a.htm : Process stopped by user");
    EXPECT_EQ(lines[lines.size() - 3], "a.htm : Modifications to a.htm have not been saved");
    EXPECT_EQ(lines[lines.size() - 2], "Process ended");
    EXPECT_EQ(lines.back(), "...");
    EXPECT_EQ(dir.Read("pages/a.htm"), big);
    EXPECT_EQ(dir.Read("pages/b.htm"), kLogo);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Stop process ? Are you sure ?");
    EXPECT_FALSE(w.Processing());
}

TEST_F(MainWindowRunTest, TheTemplateWarningIsAnsweredYesNoOrStop) {
    const auto press = [this](const char* button) {
        prompter.onExec = [button](QDialog& dialog) {
            dialog.setResult(-1);
            dialog.show();
            dialog.findChild<QPushButton*>(QLatin1String(button))->click();
            return dialog.result();
        };
    };
    TMainForm& w = ReadyWindow({{"a.htm", kTemplatePage}, {"b.htm", kTemplatePage}});
    ui.Action("Preview1")->trigger();
    w.ShowBackupDlg = false;

    press("BitBtn1");  // Yes, for both pages
    ui.Action("AddAlt1")->trigger();
    EXPECT_EQ(prompter.dialogs.size(), 2u);
    EXPECT_NE(dir.Read("pages/a.htm").find("alt=\"T\""), std::string::npos);
    EXPECT_TRUE(LogLines(ui).contains("4 alt attribute(s) added"));

    ListSite(w, {{"a.htm", kTemplatePage}, {"b.htm", kTemplatePage}});
    ui.Action("SelectAll1")->trigger();
    ui.Action("Clear1")->trigger();
    press("BitBtn2");  // No: each page is abandoned, the run goes on
    ui.Action("AddAlt1")->trigger();
    QStringList lines = LogLines(ui);
    EXPECT_TRUE(lines.contains("a.htm : Update aborted by user"));
    EXPECT_TRUE(lines.contains("b.htm : Modifications to b.htm have not been saved"));
    EXPECT_EQ(lines[lines.size() - 2], "Process ended");  // the last page was abandoned
    EXPECT_EQ(dir.Read("pages/a.htm"), kTemplatePage);

    ui.Action("Clear1")->trigger();
    prompter.answers = {Prompter::Yes};  // the Stop confirmation
    press("BitBtn3");
    ui.Action("AddAlt1")->trigger();
    lines = LogLines(ui);
    EXPECT_TRUE(lines.contains("a.htm : Process stopped by user"));
    EXPECT_FALSE(lines.join('\n').contains("b.htm"));
    EXPECT_EQ(dir.Read("pages/b.htm"), kTemplatePage);
}

TEST_F(MainWindowRunTest, IgnoredReferencesKeepTheirTagsOutOfTheNextRun) {
    ReadyWindow({{"a.htm", kLogo + "<img src=\"x.png\">"}});
    ui.Action("Scan1")->trigger();
    ASSERT_EQ(ui.RefImagesListBox()->References(), (std::vector<std::string>{"logo.gif", "x.png"}));
    ui.RefImagesListBox()->item(0)->setSelected(true);
    ui.Find<QToolButton>("IgnoreImgSpeedButton")->click();
    EXPECT_EQ(ui.IgnoreImagesListBox()->References(), std::vector<std::string>{"logo.gif"});

    ui.Action("Clear1")->trigger();
    ui.Action("Scan1")->trigger();
    EXPECT_FALSE(LogLines(ui).join('\n').contains("logo.gif"));
    EXPECT_EQ(ui.RefImagesListBox()->References(), std::vector<std::string>{"x.png"});

    ui.IgnoreImagesListBox()->item(0)->setSelected(true);
    ui.Find<QToolButton>("StopIgnoreImgSpeedButton")->click();
    ui.Action("Clear1")->trigger();
    ui.Action("Scan1")->trigger();
    EXPECT_TRUE(LogLines(ui).join('\n').contains("logo.gif : alt missing"));
}

TEST_F(MainWindowRunTest, PreferencesFollowedByTheFileList) {
    ReadyWindow({{"a.htm", "<%= x %><img src=\"a.gif\">"}, {"b.php", kPlain}});
    ASSERT_EQ(ui.FilesListView()->RowCount(), 2);
    prompter.onExec = [](QDialog& dialog) {
        auto& preferences = dynamic_cast<TPreferencesForm&>(dialog);
        auto* formats = preferences.findChild<QListWidget*>("FileFormatsCheckListBox");
        for (int row = 0; row < formats->count(); ++row) {
            if (formats->item(row)->text() == "php") {
                formats->item(row)->setCheckState(Qt::Unchecked);
            }
        }
        preferences.findChild<QPushButton*>("OKButton")->click();
        return preferences.result();
    };
    ui.Action("Preferences1")->trigger();
    EXPECT_EQ(ui.FilesListView()->RowCount(), 1);
    EXPECT_EQ(ui.FilesListView()->Caption(0), "a.htm");
    EXPECT_EQ(prompter.dialogs.back(), "vantaro::TPreferencesForm");
}

TEST_F(MainWindowRunTest, TheFolderOfTheLastSessionIsListedAtStart) {
    std::filesystem::create_directories(dir.File("site"));
    dir.Write("site/index.htm", kLogo);
    WriteIni("MainForm", "Default Path", dir.File("site/"));
    TMainForm& w = CreateShown();
    Settle();
    EXPECT_EQ(w.CurrentFolder, dir.File("site/"));
    ASSERT_EQ(ui.FilesListView()->RowCount(), 1);
    EXPECT_EQ(ui.FilesListView()->Caption(0), "index.htm");
}

TEST_F(MainWindowRunTest, AMissingDefaultFolderIsReported) {
    WriteIni("MainForm", "Default Path", dir.File("gone/"));
    CreateShown();
    Settle();
    ASSERT_FALSE(prompter.messages.empty());
    EXPECT_EQ(prompter.messages[0].text,
              QString::fromStdString("Error setting path: \"" + dir.File("gone/") + "\""));
}

// What the program is given to open takes the place of the last session's folder.
class MainWindowStartTest : public MainWindowTest {
  protected:
    MainWindowStartTest() {
        std::filesystem::create_directories(dir.File("last"));
        dir.Write("last/a.htm", kLogo);
        std::filesystem::create_directories(dir.File("site"));
        for (const char* name : {"a.htm", "b.htm", "c.htm"}) {
            dir.Write(std::string("site/") + name, kLogo);
        }
        WriteIni("MainForm", "Default Path", dir.File("last/"));
    }

    TMainForm& StartWith(const std::string& path) {
        TMainForm& w = Create();
        w.OpenAtStart(QString::fromStdString(path));
        w.resize(1000, 700);
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        Settle();
        return w;
    }
};

TEST_F(MainWindowStartTest, AGivenFolderIsListedInsteadOfTheLastOne) {
    TMainForm& w = StartWith(dir.File("site"));
    EXPECT_EQ(w.CurrentFolder, dir.File("site/"));
    EXPECT_EQ(ui.FilesListView()->RowCount(), 3);
    EXPECT_EQ(ui.FilesListView()->SelectedCount(), 0);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MainWindowStartTest, AGivenPageIsSelectedInItsFolderReadyToScan) {
    TMainForm& w = StartWith(dir.File("site/b.htm"));
    EXPECT_EQ(w.CurrentFolder, dir.File("site/"));
    EXPECT_EQ(ui.FilesListView()->SelectedCaptions(), QStringList{QStringLiteral("b.htm")});
    EXPECT_TRUE(ui.Action("ScanSpeedButton")->isEnabled());
}

// The page's name must not be selected in whatever folder is shown instead.
TEST_F(MainWindowStartTest, AGivenPageThatCannotBeShownIsReportedAndTheLastFolderShown) {
    TMainForm& w = StartWith(dir.File("gone/a.htm"));
    ASSERT_FALSE(prompter.messages.empty());
    EXPECT_EQ(prompter.messages[0].text,
              QString::fromStdString("Error setting path: \"" + dir.File("gone") + "\""));
    EXPECT_EQ(w.CurrentFolder, dir.File("last/"));
    EXPECT_EQ(ui.FilesListView()->RowCount(), 1);
    EXPECT_EQ(ui.FilesListView()->SelectedCount(), 0);
}

}  // namespace
}  // namespace vantaro::test
