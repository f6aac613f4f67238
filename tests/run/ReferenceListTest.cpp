#include <gtest/gtest.h>

#include "run/ReferenceList.h"

namespace vantaro {
namespace {

TEST(ReferenceList, KeepsWordSortOrderAndAllowsEqualTexts) {
    ReferenceList list;
    EXPECT_EQ(list.Add("b.gif"), 0u);
    EXPECT_EQ(list.Add("A.gif"), 0u);
    EXPECT_EQ(list.Add("a.gif"), 0u);
    EXPECT_EQ(list.Add("b.gif"), 3u);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"a.gif", "A.gif", "b.gif", "b.gif"}));
}

TEST(ReferenceList, LooksUpLetterCaseAsideAndForgetsRemovedEntries) {
    ReferenceList list;
    list.Assign({"Logo.GIF", "x.png", "logo.gif"});
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"logo.gif", "Logo.GIF", "x.png"}));
    EXPECT_TRUE(list.Contains("LOGO.gif"));
    EXPECT_FALSE(list.Contains("logo"));
    list.RemoveAt(0);
    EXPECT_TRUE(list.Contains("logo.gif"));
    list.RemoveAt(0);
    EXPECT_FALSE(list.Contains("logo.gif"));
    EXPECT_TRUE(list.Contains("X.PNG"));
    // Only ASCII letters fold.
    list.Add("\xC3\xA9.gif");
    EXPECT_FALSE(list.Contains("\xC3\x89.gif"));
    list.Clear();
    EXPECT_FALSE(list.Contains("x.png"));
    EXPECT_EQ(list.Size(), 0u);
}

}  // namespace
}  // namespace vantaro
