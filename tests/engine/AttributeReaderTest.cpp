#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/AttributeReader.h"
#include "engine/EngineSettings.h"

namespace vantaro {
namespace {

struct Read {
    std::string joined;
    std::vector<std::string> list;
    std::int64_t firstPos;
};

Read ReadAttr(const std::string& tag, const std::string& name, bool fileNames = false,
              bool keepQuotes = true) {
    IgnoreTagList regions;
    regions.BuildIgnoreTagList(EngineSettings::DefaultLanguageTags());
    const TagMask mask(tag, regions);
    Read read;
    read.firstPos = GetAttributeValues(mask, name, read.joined, fileNames, read.list, keepQuotes);
    return read;
}

TEST(AttributeReader, ValuesKeepTheirQuotesAndPositionIsOneBased) {
    const Read alt = ReadAttr("<img src=\"a.gif\" alt=\"x y\">", "alt");
    EXPECT_EQ(alt.joined, "\"x y\"");
    EXPECT_EQ(alt.list, (std::vector<std::string>{"\"x y\""}));
    EXPECT_EQ(alt.firstPos, 18);
    const Read none = ReadAttr("<img src=\"a.gif\">", "alt");
    EXPECT_EQ(none.joined, "");
    EXPECT_TRUE(none.list.empty());
    EXPECT_EQ(none.firstPos, -1);
    EXPECT_EQ(ReadAttr("<IMG ALT=\"Up\">", "alt").joined, "\"Up\"");
}

TEST(AttributeReader, NamesAreFoundAsSubstringsOutsideQuotesOnly) {
    EXPECT_EQ(ReadAttr("<img data-alt=\"d\" src=\"s\">", "alt").joined, "\"d\"");
    EXPECT_EQ(ReadAttr("<img title=\"alt text\">", "alt").firstPos, -1);
    const Read src = ReadAttr("<img lowsrc=\"a/lo.gif\" src=\"b/hi.gif\">", "Src", true, false);
    EXPECT_EQ(src.joined, "lo.gif : hi.gif");
    EXPECT_EQ(src.firstPos, 9);
}

TEST(AttributeReader, AValueIsTheNextQuotedStringWhereverItStands) {
    // An unquoted alt takes the title's quoted value, and still counts one place.
    const Read alt = ReadAttr("<img alt=x title=\"t\">", "alt");
    EXPECT_EQ(alt.joined, "\"t\"");
    EXPECT_EQ(alt.list.size(), 1u);
    // A name with no double quote after it yields an empty item that still counts.
    const Read bare = ReadAttr("<img src=\"s\" alt>", "alt");
    EXPECT_EQ(bare.joined, "");
    EXPECT_EQ(bare.list, (std::vector<std::string>{""}));
    EXPECT_EQ(ReadAttr("<img alt='x' title=\"t\">", "alt").joined, "\"t\"");
    // An unclosed quote runs to the end of the tag.
    EXPECT_EQ(ReadAttr("<img alt=\"abc>", "alt").joined, "\"abc>");
}

TEST(AttributeReader, RepeatedNamesGiveOneItemEach) {
    const Read alt = ReadAttr("<img alt=\"a\" ALT=\"b\">", "alt");
    EXPECT_EQ(alt.list, (std::vector<std::string>{"\"a\"", "\"b\""}));
    EXPECT_EQ(alt.joined, "\"a\" : \"b\"");
    EXPECT_EQ(JoinValues({"", "x"}), "x");
    EXPECT_EQ(JoinValues({"x", ""}), "x : ");
    EXPECT_EQ(JoinValues({"", ""}), "");
    EXPECT_EQ(JoinValues({}), "");
}

TEST(AttributeReader, FileNamesKeepOnlyTheLastPathComponent) {
    EXPECT_EQ(ReadAttr("<img src=\"images/logo.gif\">", "Src", true, false).joined, "logo.gif");
    EXPECT_EQ(ReadAttr("<img src=\"images\\logo.gif\">", "Src", true, false).joined, "logo.gif");
    EXPECT_EQ(ReadAttr("<img src=\"C:logo.gif\">", "Src", true, false).joined, "logo.gif");
    EXPECT_EQ(ReadAttr("<img src=\"http://x.org/a/b.png\">", "Src", true, false).joined, "b.png");
    EXPECT_EQ(ReadAttr("<img src=\"dir/\">", "Src", true, false).joined, "");
    EXPECT_EQ(ReadAttr("<area shape=\"rect\">", "Shape", false, false).joined, "rect");
    EXPECT_EQ(ReadAttr("<area shape=\"a/b\">", "Shape", false, false).joined, "a/b");
}

TEST(AttributeReader, LanguageRegionsAreHiddenDelimitersIncluded) {
    // The region's own quotes neither count nor toggle.
    EXPECT_EQ(ReadAttr("<img <% \"x %> alt=\"v\">", "alt").joined, "\"v\"");
    EXPECT_EQ(ReadAttr("<img <% alt=\"x\" %> title=\"t\">", "alt").firstPos, -1);
    // A name followed by a region takes the next quoted string after it.
    EXPECT_EQ(ReadAttr("<img alt=<% \"q\" %> title=\"t\">", "alt").joined, "\"t\"");
    // A region that opens inside quotes hides the rest of the tag.
    const Read alt = ReadAttr("<img alt=\"<%\" title=\"t\">", "alt");
    EXPECT_EQ(alt.joined, "\"<%\" title=\"t\">");
    EXPECT_EQ(ReadAttr("<img alt=\"<%\" title=\"t\">", "title").firstPos, -1);
    // Values are taken from the tag's own bytes, not from the mask.
    EXPECT_EQ(ReadAttr("<img alt=\"<%=a%>\">", "alt").joined, "\"<%=a%>\"");
}

TEST(AttributeReader, MaskLeavesRegionsAsTheWalkEnds) {
    IgnoreTagList regions;
    regions.BuildIgnoreTagList(EngineSettings::DefaultLanguageTags());
    const TagMask closed("<img <%x%>>", regions);
    EXPECT_EQ(closed.Masked(), "<IMG " + std::string(5, '?') + ">");
    EXPECT_FALSE(regions.InIgnoredRegion());
    const TagMask open("<img alt=\"a\" <?php >", regions);
    EXPECT_EQ(open.Masked(), "<IMG ALT=\"?\" " + std::string(7, '?'));
    EXPECT_TRUE(regions.InIgnoredRegion());
}

}  // namespace
}  // namespace vantaro
