#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "MainWindowFixture.h"
#include "shell/FileListView.h"
#include "shell/FolderTree.h"
#include "support/Unprivileged.h"

namespace vantaro::test {
namespace {

// Ways of getting to a site: typing it, dropping it, the recent folders, and the tree following
// the disk.
class MainWindowFindingTest : public MainWindowTest {
  protected:
    MainWindowFindingTest() {
        for (const char* folder : {"one", "two", "three"}) {
            std::filesystem::create_directories(dir.File(folder));
            dir.Write(std::string(folder) + "/a.htm", "");
            dir.Write(std::string(folder) + "/b.htm", "");
        }
        WriteIni("MainForm", "Default Path", dir.File("one/"));
    }

    QStringList RecentCaptions() const {
        QStringList captions;
        for (QAction* item : ui.Find<QMenu>("RecentFolders1")->actions()) {
            captions.append(item->text());
        }
        return captions;
    }

    QString Numbered(int number, const char* folder) const {
        return QStringLiteral("&%1 %2").arg(number).arg(QString::fromStdString(dir.File(folder)) +
                                                        QLatin1Char('/'));
    }

    void Drop(TMainForm& w, const std::string& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &drop);
        Settle();
    }
};

TEST_F(MainWindowFindingTest, ATypedFolderIsShownAndNamedInTheTitle) {
    TMainForm& w = CreateShown();
    EXPECT_EQ(w.windowTitle(), QString::fromStdString(dir.File("one") + " - Vantaro"));
    auto* edit = ui.Find<QLineEdit>("FolderPathEdit");
    EXPECT_EQ(edit->text(), QString::fromStdString(dir.File("one")));

    edit->setText(QString::fromStdString("  " + dir.File("two") + "  "));
    QTest::keyClick(edit, Qt::Key_Return);
    Settle();
    EXPECT_EQ(w.CurrentFolder, dir.File("two/"));
    EXPECT_EQ(ui.FilesListView()->RowCount(), 2);
    EXPECT_EQ(w.windowTitle(), QString::fromStdString(dir.File("two") + " - Vantaro"));

    edit->setText(QString::fromStdString(dir.File("nowhere")));
    QTest::keyClick(edit, Qt::Key_Return);
    Settle();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text,
              QString::fromStdString("Error setting path: \"" + dir.File("nowhere") + "\""));
    EXPECT_EQ(w.CurrentFolder, dir.File("two/"));
}

TEST_F(MainWindowFindingTest, ADroppedPageOpensItsFolderWithThePageSelected) {
    TMainForm& w = CreateShown();
    Drop(w, dir.File("two/b.htm"));
    EXPECT_EQ(w.CurrentFolder, dir.File("two/"));
    EXPECT_EQ(ui.FilesListView()->SelectedCaptions(), QStringList{QStringLiteral("b.htm")});
    // A page of the folder already shown is selected without a new listing.
    Drop(w, dir.File("two/a.htm"));
    EXPECT_EQ(ui.FilesListView()->SelectedCaptions(), QStringList{QStringLiteral("a.htm")});
    Drop(w, dir.File("three"));
    EXPECT_EQ(w.CurrentFolder, dir.File("three/"));
    EXPECT_EQ(ui.FilesListView()->SelectedCount(), 0);
}

TEST_F(MainWindowFindingTest, RecentFoldersAreNewestFirstKeptAndForgottenWhenGone) {
    TMainForm& w = CreateShown();
    EXPECT_TRUE(w.OpenPath(QString::fromStdString(dir.File("two"))));
    Settle();
    EXPECT_TRUE(w.OpenPath(QString::fromStdString(dir.File("three"))));
    Settle();
    EXPECT_TRUE(w.OpenPath(QString::fromStdString(dir.File("two"))));
    Settle();
    EXPECT_EQ(RecentCaptions(),
              (QStringList{Numbered(1, "two"), Numbered(2, "three"), Numbered(3, "one")}));

    Destroy();
    std::filesystem::remove_all(dir.File("three"));
    CreateShown();
    EXPECT_EQ(RecentCaptions(),
              (QStringList{Numbered(1, "two"), Numbered(2, "three"), Numbered(3, "one")}));
    ui.Find<QMenu>("RecentFolders1")->actions().at(1)->trigger();
    Settle();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(RecentCaptions(), (QStringList{Numbered(1, "two"), Numbered(2, "one")}));
    ui.Find<QMenu>("RecentFolders1")->actions().at(1)->trigger();
    Settle();
    EXPECT_EQ(window->CurrentFolder, dir.File("one/"));
}

TEST_F(MainWindowFindingTest, OnlyTheLastTenFoldersAreKept) {
    TMainForm& w = CreateShown();
    for (int i = 0; i < 12; ++i) {
        const std::string folder = dir.File("many" + std::to_string(i));
        std::filesystem::create_directories(folder);
        ASSERT_TRUE(w.OpenPath(QString::fromStdString(folder)));
        Settle();
    }
    const QStringList captions = RecentCaptions();
    ASSERT_EQ(captions.size(), 10) << captions.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(captions.front(), Numbered(1, "many11"));
    EXPECT_EQ(captions.back(), QString::fromStdString(dir.File("many2") + "/"));
}

TEST_F(MainWindowFindingTest, AnUnreadableFolderSaysSoInTheStatusBar) {
    VANTARO_SKIP_AS_SUPERUSER("the superuser reads every folder");
    TMainForm& w = CreateShown();
    auto* status = ui.Find<QLabel>("FolderStatusLabel");
    EXPECT_TRUE(status->text().isEmpty());
    std::filesystem::create_directories(dir.File("locked"));
    dir.Write("locked/a.htm", "");
    std::filesystem::permissions(dir.File("locked"), std::filesystem::perms::owner_exec);
    ASSERT_TRUE(w.OpenPath(QString::fromStdString(dir.File("locked"))));
    Settle();
    EXPECT_EQ(status->text(), QString::fromStdString("The folder " + dir.File("locked/") +
                                                     " cannot be read (Permission denied)"));
    EXPECT_EQ(ui.FilesListView()->RowCount(), 0);
    ASSERT_TRUE(w.OpenPath(QString::fromStdString(dir.File("one"))));
    Settle();
    EXPECT_TRUE(status->text().isEmpty());
    std::filesystem::permissions(dir.File("locked"), std::filesystem::perms::owner_all);
}

TEST_F(MainWindowFindingTest, FoldersMadeOrRemovedWhileRunningAppearAndDisappear) {
    CreateShown();
    QFileSystemModel& model = ui.Find<TFolderTree>("FoldersShellTreeView")->FileSystemModel();
    // The folder above the shown one is open in the tree.
    const QModelIndex parent = model.index(QString::fromStdString(dir.Path()));
    int folders = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        folders += entry.is_directory() ? 1 : 0;
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.rowCount(parent) == folders; }, 10000))
        << model.rowCount(parent);
    std::filesystem::create_directories(dir.File("fresh"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.rowCount(parent) == folders + 1; }, 10000))
        << model.rowCount(parent);
    std::filesystem::remove_all(dir.File("fresh"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.rowCount(parent) == folders; }, 10000))
        << model.rowCount(parent);

    // The shown folder going away leaves the folder above it shown, not a neighbour.
    TMainForm& w = *window;
    ASSERT_TRUE(w.OpenPath(QString::fromStdString(dir.File("two/"))));
    Settle();
    std::filesystem::remove_all(dir.File("two"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.CurrentFolder == dir.File(""); }, 10000))
        << w.CurrentFolder;
    Settle();
    EXPECT_EQ(ui.FilesListView()->RowCount(), 0);
}

}  // namespace
}  // namespace vantaro::test
