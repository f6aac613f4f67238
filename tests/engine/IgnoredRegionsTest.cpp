#include <gtest/gtest.h>

#include <string>

#include "engine/EngineSettings.h"
#include "engine/IgnoredRegions.h"

namespace vantaro {
namespace {

const unsigned char* Bytes(const std::string& text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

std::size_t OpenRows(const IgnoreTagList& list) {
    std::size_t open = 0;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        open += list.Row(i).Inside ? 1 : 0;
    }
    return open;
}

// Walks the text the way a scan does: '[' and ']' for a delimiter that opened or closed a
// region, then '1' or '0' for each other byte, by whether a region is open there.
std::string Walk(IgnoreTagList& list, const std::string& text) {
    std::string trace;
    std::size_t p = 0;
    while (p < text.size()) {
        const std::size_t before = OpenRows(list);
        const std::size_t matched = list.CheckIgnoreDelimiter(Bytes(text) + p, text.size() - p);
        if (matched > 0) {
            trace += OpenRows(list) > before ? '[' : ']';
            p += matched;
        } else {
            trace += list.InIgnoredRegion() ? '1' : '0';
            ++p;
        }
    }
    return trace;
}

TEST(IgnoredRegions, DefaultRowsOpenAndCloseWithLetterCaseAside) {
    IgnoreTagList list;
    list.BuildIgnoreTagList(EngineSettings::DefaultLanguageTags());
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list.Description(0), "ASP, JSP");
    EXPECT_EQ(list.Row(2).OpenTag, "<script");
    EXPECT_EQ(list.Row(2).CloseTag, "</script>");

    EXPECT_EQ(Walk(list, "a<%b%>c"), "0[1]0");
    EXPECT_EQ(Walk(list, "<SCRIPT type=x>y</Script>z"), "[111111111]0");
    EXPECT_EQ(Walk(list, "<?PHP ?>"), "[1]");
    // The open delimiter of a row is not looked for while that row is inside.
    EXPECT_EQ(Walk(list, "<%<%%>%>"), "[11]00");
}

TEST(IgnoredRegions, RegionsOfDifferentRowsNestAndCloseIndependently) {
    IgnoreTagList list;
    list.BuildIgnoreTagList(EngineSettings::DefaultLanguageTags());
    // A PHP region opened inside a script region: each closes at its own delimiter.
    EXPECT_EQ(Walk(list, "<script><?php</script>x?>y"), "[1[]1]0");
    list.CloseAllRegions();
    EXPECT_FALSE(list.InIgnoredRegion());
    EXPECT_EQ(Walk(list, "<script><?php?>x</script>y"), "[1[]1]0");
}

TEST(IgnoredRegions, FirstRowThatMatchesWins) {
    IgnoreTagList list;
    list.BuildIgnoreTagList({"Short", "<a", "a>", "Long", "<ab", "b>"});
    EXPECT_EQ(Walk(list, "<aba>"), "[1]");
    EXPECT_EQ(Walk(list, "<ab"), "[1");
    EXPECT_TRUE(list.Row(0).Inside);
    EXPECT_FALSE(list.Row(1).Inside);
}

TEST(IgnoredRegions, EmptyAndHandEditedLists) {
    IgnoreTagList list;
    list.BuildIgnoreTagList({});
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(Walk(list, "<%x%>"), "00000");
    // An incomplete last row is dropped; a row with an empty delimiter can never match.
    list.BuildIgnoreTagList({"A", "{", "}", "B", "[", "", "C", "("});
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(Walk(list, "{[(}"), "[11]");
    EXPECT_TRUE(list.MayStartDelimiter('{'));
    EXPECT_FALSE(list.MayStartDelimiter('['));
    EXPECT_FALSE(list.MayStartDelimiter('('));
}

TEST(IgnoredRegions, DelimitersRunningPastTheDataOrTheLengthLimitNeverMatch) {
    IgnoreTagList list;
    list.BuildIgnoreTagList({"Script", "<script", "</script>"});
    const std::string text = "<scrip";
    EXPECT_EQ(list.CheckIgnoreDelimiter(Bytes(text), text.size()), 0u);
    const std::string full = "<script";
    EXPECT_EQ(list.CheckIgnoreDelimiter(Bytes(full), full.size(), 6), 0u);
    EXPECT_EQ(list.CheckIgnoreDelimiter(Bytes(full), full.size(), 7), 7u);
    EXPECT_TRUE(list.InIgnoredRegion());
    EXPECT_EQ(list.LongestDelimiter(), 9u);
    EXPECT_TRUE(list.MayStartDelimiter('<'));
}

TEST(IgnoredRegions, OnlyAsciiLettersAreFolded) {
    IgnoreTagList list;
    list.BuildIgnoreTagList({"X", "\xC3\xA9<", ">\xC3\xA9"});
    EXPECT_TRUE(MatchDelimiterAt("\xC3\xA9<", Bytes("\xC3\xA9<"), 3));
    EXPECT_FALSE(MatchDelimiterAt("\xC3\xA9<", Bytes("\xC3\x89<"), 3));
    EXPECT_TRUE(MatchDelimiterAt("aBc", Bytes("AbC"), 3));
    EXPECT_FALSE(MatchDelimiterAt("[", Bytes("{"), 1));
    EXPECT_TRUE(list.MayStartDelimiter(0xC3));
}

}  // namespace
}  // namespace vantaro
