#include <gtest/gtest.h>

#include "QStringPrinting.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <filesystem>

#include "ScriptedPrompter.h"
#include "run/FolderListing.h"
#include "shell/FolderTree.h"
#include "support/TempDir.h"

namespace vantaro {
namespace {

using test::ScriptedPrompter;
using test::TempDir;

// Stands in for the main window: counts the messages posted to it.
class MessageCounter : public QObject {
  public:
    int listFiles = 0;
    int others = 0;

  protected:
    bool event(QEvent* event) override {
        (event->type() == UM_LISTFILES ? listFiles : others) += 1;
        return true;
    }
};

class FolderTree : public testing::Test {
  protected:
    FolderTree() {
        std::filesystem::create_directory(dir.File("site"));
        std::filesystem::create_directory(dir.File("other"));
        tree.SetListFilesReceiver(&window);
    }

    QString Path(const char* name) const { return QString::fromStdString(dir.File(name)); }
    QString Canonical(const char* name) const {
        return QFileInfo(Path(name)).canonicalFilePath() + QLatin1Char('/');
    }
    QString SelectedPath() const {
        return tree.FileSystemModel().filePath(tree.selectionModel()->selectedIndexes().value(0));
    }
    void DeliverPosted() { QCoreApplication::sendPostedEvents(&window); }

    ScriptedPrompter prompter;
    TempDir dir;
    MessageCounter window;
    TFolderTree tree;
};

TEST_F(FolderTree, SelectingAFolderSetsCurrentFolderAndPostsOneListing) {
    QSignalSpy changed(&tree, &TFolderTree::CurrentFolderChanged);
    EXPECT_TRUE(tree.CurrentFolder().isEmpty());
    ASSERT_TRUE(tree.SelectFolder(Path("site")));
    EXPECT_EQ(tree.CurrentFolder(), Path("site") + QLatin1Char('/'));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.front().front().toString(), tree.CurrentFolder());
    EXPECT_EQ(window.listFiles, 0);
    DeliverPosted();
    EXPECT_EQ(window.listFiles, 1);

    ASSERT_TRUE(tree.SelectFolder(QStringLiteral("/")));
    EXPECT_EQ(tree.CurrentFolder(), QStringLiteral("/"));
    ASSERT_TRUE(tree.SelectFolder(Path("other") + QLatin1Char('/')));  // as CurrentFolder is saved
    EXPECT_EQ(tree.CurrentFolder(), Path("other") + QLatin1Char('/'));

    // The same folder selected again (as the model does when it refreshes the folders around
    // it) is not listed again, which would drop the file list's selection.
    DeliverPosted();
    const int listings = window.listFiles;
    const qsizetype changes = changed.count();
    const QModelIndex other = tree.currentIndex();
    tree.selectionModel()->clearSelection();
    tree.selectionModel()->select(other, QItemSelectionModel::Select);
    DeliverPosted();
    EXPECT_EQ(window.listFiles, listings);
    EXPECT_EQ(changed.count(), changes);
}

// Folders above the selected one fill in the background; the selected folder must still be in
// view when they have, until the user moves the tree.
TEST_F(FolderTree, TheSelectedFolderStaysInViewWhileItsParentsLoad) {
    for (int i = 0; i < 150; ++i) {
        std::filesystem::create_directory(dir.File("site") + "/a" + std::to_string(1000 + i));
    }
    std::filesystem::create_directory(dir.File("site/zz"));
    tree.resize(300, 200);
    tree.show();
    const QString target = Path("site") + QStringLiteral("/zz");
    ASSERT_TRUE(tree.SelectFolder(target));
    const QModelIndex site = tree.FileSystemModel().index(Path("site"));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return tree.FileSystemModel().rowCount(site) == 151; }, 10000))
        << tree.FileSystemModel().rowCount(site);
    QTest::qWait(50);
    const QModelIndex selected = tree.FileSystemModel().index(target);
    EXPECT_TRUE(tree.viewport()->rect().intersects(tree.visualRect(selected)));

    // Once the user scrolls, the tree stays where the user put it.
    tree.scrollToTop();
    QWheelEvent wheel(QPointF(10, 10), tree.mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(tree.viewport(), &wheel);
    std::filesystem::create_directory(dir.File("site/a0"));
    tree.FileSystemModel().index(Path("site") + QStringLiteral("/a0"));
    QTest::qWait(50);
    EXPECT_FALSE(tree.viewport()->rect().intersects(tree.visualRect(selected)));
}

TEST_F(FolderTree, AFolderShortcutStandsForItsTarget) {
    dir.Write("site/index.htm", "<img src=a.gif>");
    std::filesystem::create_directory_symlink(dir.File("site"), dir.File("shortcut"));
    ASSERT_TRUE(tree.SelectFolder(Path("shortcut")));
    EXPECT_EQ(SelectedPath(), Path("shortcut"));
    EXPECT_EQ(tree.CurrentFolder(), Canonical("site"));
    const auto files = ListFolderFiles(tree.CurrentFolder().toStdString(), {"htm"});
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].Name, "index.htm");
}

TEST_F(FolderTree, AShortcutThatCannotBeResolvedListsNothing) {
    std::filesystem::create_directory_symlink(dir.File("gone"), dir.File("dangling"));
    dir.Write("index.htm", "");
    const QString folder = ResolveFolderShortcut(Path("dangling"));
    EXPECT_TRUE(folder.endsWith(QLatin1Char('/')));
    EXPECT_NE(folder, QStringLiteral("/"));
    EXPECT_TRUE(ListFolderFiles(folder.toStdString(), {"htm"}).empty());
}

TEST_F(FolderTree, AMissingDefaultPathIsReportedAndChangesNothing) {
    ASSERT_TRUE(tree.SelectFolder(Path("site")));
    DeliverPosted();
    const QString missing = Path("no such folder");
    EXPECT_FALSE(tree.SelectFolder(missing));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].kind, Prompter::Kind::Error);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Error"));
    EXPECT_EQ(prompter.messages[0].text,
              QStringLiteral("Error setting path: \"") + missing + QLatin1Char('"'));
    EXPECT_EQ(SelectedPath(), Path("site"));
    EXPECT_EQ(tree.CurrentFolder(), Path("site") + QLatin1Char('/'));
    DeliverPosted();
    EXPECT_EQ(window.listFiles, 1);

    dir.Write("page.htm", "");
    EXPECT_FALSE(tree.SelectFolder(Path("page.htm")));  // a file is no folder
    EXPECT_EQ(prompter.messages.size(), 2u);
}

TEST_F(FolderTree, AHiddenFolderCanStillBeTheDefaultPath) {
    std::filesystem::create_directory(dir.File(".hidden"));
    ASSERT_TRUE(tree.SelectFolder(Path(".hidden")));
    EXPECT_EQ(tree.CurrentFolder(), Path(".hidden") + QLatin1Char('/'));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(FolderTree, ARightClickSelectsTheFolderUnderTheMouse) {
    tree.resize(400, 2000);
    tree.show();
    ASSERT_TRUE(tree.SelectFolder(Path("site")));
    const QModelIndex other = tree.FileSystemModel().index(Path("other"));
    tree.scrollTo(other);
    QCoreApplication::processEvents();
    const QRect where = tree.visualRect(other);
    ASSERT_TRUE(where.isValid());
    QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, where.center());
    EXPECT_EQ(tree.CurrentFolder(), Path("other") + QLatin1Char('/'));
}

TEST_F(FolderTree, NeverEditsAFolderName) {
    ASSERT_TRUE(tree.SelectFolder(Path("site")));
    tree.show();
    tree.edit(tree.currentIndex());
    QTest::keyClick(&tree, Qt::Key_F2);
    EXPECT_TRUE(tree.findChildren<QLineEdit*>().isEmpty());
}

}  // namespace
}  // namespace vantaro
