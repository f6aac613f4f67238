#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QImageReader>

#include "shell/ImageLists.h"

namespace vantaro {
namespace {

struct ExpectedList {
    ImageList list;
    const char* name;
    int size;
    QList<int> indexes;
};

// What the window's toolbars and menus refer to.
const QList<ExpectedList>& Expected() {
    static const QList<ExpectedList> lists{
        {ImageList::NormalImageList, "NormalImageList", 28, {2, 3, 4, 5, 6, 7, 8, 9}},
        {ImageList::HighlightedImageList, "HighlightedImageList", 28, {2, 3, 4, 5, 6, 7, 8, 9}},
        {ImageList::DisabledImageList, "DisabledImageList", 28, {2, 3, 4, 5, 6, 7, 8, 9}},
        {ImageList::LogImageListNormal, "LogImageListNormal", 16, {0, 1, 2, 3, 4}},
        {ImageList::LogImageListHighlight, "LogImageListHighlight", 16, {0, 1, 2, 3, 4}},
        {ImageList::MainMenuImageList,
         "MainMenuImageList",
         16,
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 17, 18, 19}},
    };
    return lists;
}

QSize FileSize(const QString& path) {
    return QImageReader(path).size();
}

TEST(ImageLists, EveryUsedIndexHasItsImageAtBothScales) {
    for (const ExpectedList& expected : Expected()) {
        SCOPED_TRACE(expected.name);
        const QSize size(expected.size, expected.size);
        EXPECT_EQ(ImageSize(expected.list), size);
        for (int index : expected.indexes) {
            SCOPED_TRACE(index);
            ASSERT_TRUE(HasImage(expected.list, index));
            EXPECT_EQ(FileSize(ImageFile(expected.list, index, 1)), size);
            EXPECT_EQ(FileSize(ImageFile(expected.list, index, 2)), size * 2);
            const QIcon icon = ListIcon(expected.list, index);
            EXPECT_EQ(icon.pixmap(size, 1.0).size(), size);
            EXPECT_EQ(icon.pixmap(size, 2.0).size(), size * 2);
        }
    }
}

TEST(ImageLists, UnusedIndexesHaveNoImage) {
    EXPECT_FALSE(HasImage(ImageList::MainMenuImageList, 15));
    EXPECT_FALSE(HasImage(ImageList::MainMenuImageList, 16));
    EXPECT_FALSE(HasImage(ImageList::NormalImageList, 1));
    EXPECT_FALSE(HasImage(ImageList::LogImageListNormal, 5));
    EXPECT_TRUE(ListIcon(ImageList::MainMenuImageList, 15).isNull());
    EXPECT_TRUE(ImageFile(ImageList::NormalImageList, 0).isEmpty());
    EXPECT_TRUE(CommandToolbarIcon(11).isNull());
}

bool AllGrey(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) != 0 &&
                (qRed(pixel) != qGreen(pixel) || qRed(pixel) != qBlue(pixel))) {
                return false;
            }
        }
    }
    return true;
}

TEST(ImageLists, ToolbarIconsShowTheirHotAndDisabledImages) {
    for (int index : ImageIndexes(ImageList::NormalImageList)) {
        SCOPED_TRACE(index);
        const QIcon icon = CommandToolbarIcon(index);
        const QImage normal = icon.pixmap(QSize(28, 28), 1.0, QIcon::Normal).toImage();
        const QImage hot = icon.pixmap(QSize(28, 28), 1.0, QIcon::Active).toImage();
        const QImage disabled = icon.pixmap(QSize(28, 28), 2.0, QIcon::Disabled).toImage();
        EXPECT_NE(normal, hot);
        EXPECT_EQ(disabled.size(), QSize(56, 56));
        EXPECT_TRUE(AllGrey(disabled));
        EXPECT_FALSE(AllGrey(normal));
    }
    for (int index : ImageIndexes(ImageList::LogImageListNormal)) {
        SCOPED_TRACE(index);
        const QIcon icon = LogToolbarIcon(index);
        EXPECT_NE(icon.pixmap(QSize(16, 16), 1.0, QIcon::Normal).toImage(),
                  icon.pixmap(QSize(16, 16), 1.0, QIcon::Active).toImage());
    }
}

TEST(ImageLists, DialogPicturesAndAppIconExist) {
    EXPECT_EQ(NoEntryIcon().pixmap(QSize(16, 16), 2.0).size(), QSize(32, 32));
    EXPECT_EQ(WarningIcon().pixmap(QSize(32, 32), 2.0).size(), QSize(64, 64));
    EXPECT_EQ(AboutBannerIcon().pixmap(QSize(297, 56), 2.0).size(), QSize(594, 112));
    const QList<QSize> sizes = AppIcon().availableSizes();
    for (int side : {16, 32, 48, 256}) {
        EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
    }
    // A drawn icon, not an empty square.
    const QImage small = AppIcon().pixmap(QSize(16, 16), 1.0).toImage();
    EXPECT_GT(qAlpha(small.pixel(8, 8)), 200);
}

}  // namespace
}  // namespace vantaro
