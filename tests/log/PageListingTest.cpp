#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "log/PageListing.h"

namespace vantaro {
namespace {

using Lines = std::vector<std::string>;
using Spans = std::vector<PageSpan>;

TEST(PageListing, LinesAreCountedAtLineFeedsAndDecodedAsTheLogDecodes) {
    EXPECT_EQ(ListPage("a\r\nb\nc\rd\n", 1, TagKind::None).Lines, (Lines{"a", "b", "c\rd", ""}));
    EXPECT_EQ(ListPage("", 1, TagKind::None).Lines, (Lines{""}));
    // Windows-1252 when the page is not UTF-8 as a whole, even where a line on its own is.
    EXPECT_EQ(ListPage("caf\xC3\xA9\n\xE9t\xE9", 1, TagKind::None).Lines,
              (Lines{"caf\xC3\x83\xC2\xA9", "\xC3\xA9t\xC3\xA9"}));
    EXPECT_EQ(ListPage("caf\xC3\xA9\nx", 1, TagKind::None).Lines, (Lines{"caf\xC3\xA9", "x"}));
}

TEST(PageListing, FindsTheReportedTagsThatCloseOnTheLine) {
    const std::string page =
        "<p>1 < 2</p>\r\n"                                       // line 1
        "<IMG src=\"a.gif\"\r\n"                                 // line 2
        "  title=\"a > b\"> <input type=image> <img src=b>\r\n"  // line 3
        "<img src=c>";                                           // line 4
    EXPECT_EQ(ListPage(page, 3, TagKind::Img).Tags,
              (Spans{PageSpan{1, 0, 2, 16}, PageSpan{2, 36, 2, 47}}));
    EXPECT_EQ(ListPage(page, 3, TagKind::Input).Tags, (Spans{PageSpan{2, 17, 2, 35}}));
    EXPECT_EQ(ListPage(page, 3, TagKind::None).Tags.size(), 3u);
    EXPECT_EQ(ListPage(page, 4, TagKind::Img).Tags, (Spans{PageSpan{3, 0, 3, 11}}));
    EXPECT_TRUE(ListPage(page, 2, TagKind::Img).Tags.empty());
    EXPECT_TRUE(ListPage(page, 5, TagKind::Img).Tags.empty());
    EXPECT_TRUE(ListPage(page, 0, TagKind::Img).Tags.empty());
}

TEST(PageListing, ColumnsCountTheDecodedText) {
    // Each Windows-1252 letter becomes two bytes of UTF-8.
    EXPECT_EQ(ListPage("\xE9\xE9<img src=x>", 1, TagKind::Img).Tags,
              (Spans{PageSpan{0, 4, 0, 15}}));
    EXPECT_EQ(ListPage(std::string("\0<img src=x>", 12), 1, TagKind::Img).Tags,
              (Spans{PageSpan{0, 3, 0, 14}}));
    // An unclosed tag closes nothing.
    EXPECT_TRUE(ListPage("<img src=\"x>\n", 1, TagKind::Img).Tags.empty());
}

}  // namespace
}  // namespace vantaro
