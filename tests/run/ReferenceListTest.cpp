#include <gtest/gtest.h>

#include <algorithm>

#include "run/ReferenceList.h"
#include "run/WordSort.h"

namespace vantaro {
namespace {

TEST(ReferenceList, KeepsWordSortOrderAndAllowsEqualTexts) {
    ReferenceList list;
    EXPECT_EQ(list.Insert("b.gif"), 0u);
    EXPECT_EQ(list.Insert("A.gif"), 0u);
    EXPECT_EQ(list.Insert("a.gif"), 0u);
    EXPECT_EQ(list.Insert("b.gif"), 3u);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"a.gif", "A.gif", "b.gif", "b.gif"}));
}

// Queued references must land exactly where inserting them one by one would have put them,
// whether few are merged in by search or many by one pass, and report where they landed.
TEST(ReferenceList, QueuedReferencesLandWhereInsertingOneByOneWould) {
    for (std::size_t listedCount : {std::size_t{0}, std::size_t{3}, std::size_t{400}}) {
        ReferenceList queued;
        ReferenceList inserted;
        for (std::size_t i = 0; i < listedCount; ++i) {
            std::string text = "r";  // appended: g++ 12 at -O3 misreads "r" + std::string
            text += std::to_string(i * 37 % 101);
            text += ".gif";
            queued.Insert(text);
            inserted.Insert(text);
        }
        const std::vector<std::string> adding = {"R5.gif", "r5.gif",       "a-b.gif", "ab.gif",
                                                 "r5.gif", "\xC3\xA9.gif", "z.gif",   "R5.gif"};
        for (const std::string& text : adding) {
            queued.Add(text);
            inserted.Insert(text);
        }
        EXPECT_TRUE(queued.HasQueued());
        EXPECT_TRUE(queued.Contains("Z.GIF"));
        EXPECT_EQ(queued.Size(), listedCount + adding.size());
        const std::vector<std::size_t> places = queued.TakeQueued();
        EXPECT_EQ(queued.Listed(), inserted.Items()) << listedCount;
        ASSERT_EQ(places.size(), adding.size());
        std::vector<std::string> landed;
        for (std::size_t place : places) {
            landed.push_back(queued.Listed()[place]);
        }
        std::vector<std::string> expected = adding;
        std::stable_sort(expected.begin(), expected.end(), WordSortLess);
        EXPECT_EQ(landed, expected) << listedCount;
    }
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
