#include <gtest/gtest.h>

#include "QStringPrinting.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDateTime>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <random>

#include "run/WordSort.h"
#include "settings/FileFormats.h"
#include "shell/FileListView.h"
#include "support/TempDir.h"

namespace vantaro {
namespace {

using test::TempDir;

void MakeFile(const std::string& path, off_t size = 0) {
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(::ftruncate(fd, size), 0);
    ::close(fd);
}

void SetModified(const std::string& path, const QDateTime& when) {
    const timespec times[2] = {{when.toSecsSinceEpoch(), 0}, {when.toSecsSinceEpoch(), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

// Only the given built-in formats are enabled.
void EnableOnly(std::initializer_list<const char*> extensions) {
    for (TFileFormat& format : FileFormats()) {
        format.Enabled = std::any_of(extensions.begin(), extensions.end(),
                                     [&](const char* e) { return format.Extension == e; });
    }
}

FileFormatTable Formats(std::initializer_list<const char*> enabled) {
    FileFormatTable table = DefaultFileFormats();
    for (TFileFormat& format : table) {
        format.Enabled = std::any_of(enabled.begin(), enabled.end(),
                                     [&](const char* e) { return format.Extension == e; });
    }
    return table;
}

class FileList : public testing::Test {
  protected:
    void SetUp() override {
        previousLocale_ = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        FileFormats() = DefaultFileFormats();
    }
    void TearDown() override {
        FileFormats() = DefaultFileFormats();
        QLocale::setDefault(previousLocale_);
    }

    void Files(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            MakeFile(dir.File(name));
        }
    }
    void List(const std::string& other = {}) {
        view.ListFolderFiles(QString::fromStdString(dir.Path()), other);
    }
    QStringList Captions() const {
        QStringList captions;
        for (int row = 0; row < view.RowCount(); ++row) {
            captions.push_back(view.Caption(row));
        }
        return captions;
    }
    QString Cell(int row, int column) const {
        return view.model()->index(row, column).data().toString();
    }
    void Select(std::initializer_list<const char*> captions) {
        for (const char* caption : captions) {
            const int row = static_cast<int>(Captions().indexOf(QLatin1String(caption)));
            ASSERT_GE(row, 0) << caption;
            view.selectionModel()->select(view.model()->index(row, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }

    TempDir dir;
    TFileListView view;

  private:
    QLocale previousLocale_;
};

TEST_F(FileList, ListsOnlyNamesWithAnActiveExtensionEachOnce) {
    Files({"a.htm", "b.html", "c.HTM", "d.txt", ".hidden.htm", "e.htm.bak"});
    ASSERT_EQ(::mkdir(dir.File("folder.htm").c_str(), 0755), 0);
    EnableOnly({"htm"});
    List("HTM;htm");
    EXPECT_EQ(Captions(), (QStringList{"a.htm", "c.HTM"}));
    EXPECT_EQ(view.Folder(), QString::fromStdString(dir.Path()));
}

TEST_F(FileList, WildcardAndEmptyOtherFormatsListNothing) {
    Files({"a.htm", "b.html", "c"});
    EnableOnly({});
    List("h*;;");
    EXPECT_EQ(view.RowCount(), 0);
    List(";");
    EXPECT_EQ(view.RowCount(), 0);
}

TEST_F(FileList, RowsAreInWordSortOrder) {
    Files({"b.htm", "B.htm", "a-c.htm", "ab.htm", "10.htm", "2.htm"});
    List();
    const QStringList captions = Captions();
    ASSERT_EQ(captions.size(), 6);
    EXPECT_EQ(captions.mid(2), (QStringList{"ab.htm", "a-c.htm", "b.htm", "B.htm"}));
}

TEST_F(FileList, SizeShowsWholeKilobytesAtLeastOne) {
    MakeFile(dir.File("a.htm"), 0);
    MakeFile(dir.File("b.htm"), 2047);
    MakeFile(dir.File("c.htm"), 2048);
    MakeFile(dir.File("d.htm"), 1'500'000);
    MakeFile(dir.File("e.htm"), off_t{5} << 30);  // beyond 32 bits, sparse
    List();
    const QStringList sizes{Cell(0, 1), Cell(1, 1), Cell(2, 1), Cell(3, 1), Cell(4, 1)};
    EXPECT_EQ(sizes, (QStringList{"1 KB", "1 KB", "2 KB", "1,464 KB", "5,242,880 KB"}));
    EXPECT_EQ(view.model()->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignRight,
              Qt::AlignRight);
}

TEST_F(FileList, DateShowsShortDateAndTimeOrTheDateAloneAtMidnight) {
    const QDate day(2020, 5, 17);
    Files({"a.htm", "b.htm", "c.htm", "d.htm"});
    SetModified(dir.File("a.htm"), QDateTime(day, QTime(0, 0), Qt::LocalTime));
    SetModified(dir.File("b.htm"), QDateTime(day, QTime(0, 0, 1), Qt::LocalTime));
    SetModified(dir.File("c.htm"), QDateTime(day, QTime(13, 5, 59), Qt::LocalTime));
    SetModified(dir.File("d.htm"), QDateTime(day, QTime(0, 1), Qt::LocalTime));
    List();
    EXPECT_EQ(Cell(0, 3), QStringLiteral("5/17/20"));
    EXPECT_EQ(Cell(1, 3), QStringLiteral("5/17/20"));  // two-second resolution
    EXPECT_EQ(Cell(2, 3), QStringLiteral("5/17/20 13:05"));
    EXPECT_EQ(Cell(3, 3), QStringLiteral("5/17/20 00:01"));
    // The log's run stamps show the same date.
    EXPECT_EQ(TimeStampText(QDateTime(day, QTime(13, 5, 59), Qt::LocalTime)),
              QStringLiteral("5/17/20 13:05:59"));
}

TEST_F(FileList, ACutOffCellShowsItsWholeTextAsItsTooltip) {
    Files({"a-rather-long-page-name-that-cannot-fit.htm", "b.htm"});
    List();
    view.resize(600, 200);
    view.show();
    const auto tooltipAt = [this](int row) {
        const QRect cell = view.visualRect(view.model()->index(row, 0));
        QHelpEvent help(QEvent::ToolTip, cell.center(),
                        view.viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(view.viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tooltipAt(1), QString());
    EXPECT_EQ(tooltipAt(0), QStringLiteral("a-rather-long-page-name-that-cannot-fit.htm"));
}

// Before any width is stored, a page's size, type and date are shown whole.
TEST_F(FileList, TheFirstWidthsShowAPagesSizeTypeAndDateWhole) {
    Files({"page.html"});
    dir.Write("big.html", std::string(3 << 20, 'x'));
    List();
    for (int row = 0; row < 2; ++row) {
        for (int column = 1; column < 4; ++column) {
            // The text and an item view's margins either side of it.
            EXPECT_LE(view.fontMetrics().horizontalAdvance(Cell(row, column)) + 6,
                      view.columnWidth(column))
                << Cell(row, column).toStdString();
        }
    }
}

TEST_F(FileList, ColumnsKeepTheirLeastWidths) {
    view.setColumnWidth(2, 10);  // as a stored width below the least one would
    view.setColumnWidth(3, 200);
    EXPECT_EQ(view.columnWidth(2), 64);
    EXPECT_EQ(view.columnWidth(3), 200);
}

TEST_F(FileList, UntickingAFormatDropsExactlyItsRowsAndKeepsTheOthersSelection) {
    Files({"a.php", "B.PHP", "c.htm", "d.html", "e.php3"});
    List();
    Select({"a.php", "c.htm", "e.php3"});
    QSignalSpy changed(&view, &TFileListView::SelectionChanged);
    view.ApplyFormatChanges(
        DefaultFileFormats(),
        [] {
            FileFormatTable table = DefaultFileFormats();
            table[19].Enabled = false;  // php
            return table;
        }(),
        "", "");
    EXPECT_EQ(Captions(), (QStringList{"c.htm", "d.html", "e.php3"}));
    EXPECT_EQ(view.SelectedCaptions(), (QStringList{"c.htm", "e.php3"}));
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(FileList, AddingAnOtherFormatAddsItsFilesUnselectedInSortedPlace) {
    Files({"a.htm", "b.txt", "c.htm", "d.TXT", "e.vbs"});
    List();
    Select({"a.htm", "c.htm"});
    view.ApplyFormatChanges(DefaultFileFormats(), DefaultFileFormats(), "txt", "");
    EXPECT_EQ(Captions(), (QStringList{"a.htm", "b.txt", "c.htm", "d.TXT"}));
    EXPECT_EQ(view.SelectedCaptions(), (QStringList{"a.htm", "c.htm"}));
    EXPECT_EQ(view.SelectedPageNames(), (std::vector<std::string>{"a.htm", "c.htm"}));
}

TEST_F(FileList, AnExtensionMovedBetweenTableAndOtherFormatsChangesNothing) {
    Files({"a.php", "b.htm"});
    List();
    Select({"a.php"});
    QSignalSpy changed(&view, &TFileListView::SelectionChanged);
    view.ApplyFormatChanges(Formats({"php", "htm"}), Formats({"htm"}), "PHP", "");
    EXPECT_EQ(Captions(), (QStringList{"a.php", "b.htm"}));
    EXPECT_EQ(view.SelectedCaptions(), QStringList{"a.php"});
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(FileList, WhileProcessingSelectionIsRefusedAndListingWaitsForTheEnd) {
    Files({"a.htm", "b.htm"});
    TempDir other;
    MakeFile(other.File("z.htm"));
    List();
    view.resize(400, 300);
    view.show();
    Select({"a.htm"});
    QSignalSpy changed(&view, &TFileListView::SelectionChanged);

    view.SetProcessing(true);
    view.SelectAllFiles();
    view.DeselectAllFiles();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                      view.visualRect(view.model()->index(1, 0)).center());
    QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
    view.ListFolderFiles(QString::fromStdString(other.Path()), "");
    EXPECT_EQ(view.SelectedCaptions(), QStringList{"a.htm"});
    EXPECT_EQ(Captions(), (QStringList{"a.htm", "b.htm"}));
    EXPECT_EQ(changed.count(), 0);

    view.SetProcessing(false);
    EXPECT_EQ(Captions(), QStringList{"z.htm"});
    EXPECT_EQ(view.Folder(), QString::fromStdString(other.Path()));
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(FileList, SelectionCommandsAndCounts) {
    Files({"a.htm", "b.htm", "c.htm"});
    List();
    QSignalSpy changed(&view, &TFileListView::SelectionChanged);
    EXPECT_EQ(view.SelectedCount(), 0);
    view.SelectAllFiles();
    EXPECT_EQ(view.SelectedCount(), 3);
    EXPECT_EQ(view.SelectedCaptions(), (QStringList{"a.htm", "b.htm", "c.htm"}));
    view.DeselectAllFiles();
    EXPECT_EQ(view.SelectedCount(), 0);
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(FileList, DoubleClickOpensTheFirstSelectedRowInRowOrder) {
    Files({"a.htm", "b.htm", "c.htm"});
    List();
    std::vector<QUrl> opened;
    view.SetFileOpener([&](const QUrl& url) { opened.push_back(url); });

    view.FilesListViewDblClick();
    EXPECT_TRUE(opened.empty());

    Select({"c.htm", "b.htm"});
    view.FilesListViewDblClick();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened.back(), QUrl::fromLocalFile(QString::fromStdString(dir.File("b.htm"))));

    view.resize(400, 300);
    view.show();
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {},
                       view.visualRect(view.model()->index(0, 0)).center());
    ASSERT_FALSE(opened.empty());
    EXPECT_EQ(opened.back(), QUrl::fromLocalFile(QString::fromStdString(dir.File("a.htm"))));
}

TEST_F(FileList, AHundredThousandPagesListInOneSortedPass) {
    constexpr int Count = 100'000;
    std::vector<int> numbers(Count);
    std::iota(numbers.begin(), numbers.end(), 0);
    std::shuffle(numbers.begin(), numbers.end(), std::mt19937(7));
    for (int number : numbers) {
        char name[32];
        std::snprintf(name, sizeof name, number % 2 ? "Page%06d.htm" : "page%06d.php", number);
        MakeFile(dir.File(name));
    }
    QElapsedTimer timer;
    timer.start();
    List();
    const qint64 listing = timer.elapsed();
    view.resize(600, 400);
    view.show();
    QCoreApplication::processEvents();
    qInfo("Listing %d files took %lld ms (shown after %lld ms)", Count, listing, timer.elapsed());

    ASSERT_EQ(view.RowCount(), Count);
    EXPECT_EQ(view.Caption(0), QStringLiteral("page000000.php"));
    EXPECT_EQ(view.Caption(Count - 1), QStringLiteral("Page099999.htm"));
    const std::vector<FileRow>& rows = view.FileModel().Rows();
    EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end(), [](const FileRow& a, const FileRow& b) {
        return CompareWordSort(a.Name, b.Name) < 0;
    }));

    timer.restart();
    view.SelectAllFiles();
    view.ApplyFormatChanges(DefaultFileFormats(), Formats({"htm"}), "", "");
    qInfo("Dropping %d rows took %lld ms", Count / 2, timer.elapsed());
    EXPECT_EQ(view.RowCount(), Count / 2);
    EXPECT_EQ(view.SelectedCount(), Count / 2);
}

}  // namespace
}  // namespace vantaro
