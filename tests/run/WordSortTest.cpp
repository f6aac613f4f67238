#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "run/WordSort.h"

namespace vantaro {
namespace {

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return WordSortLess(a, b); });
    return names;
}

TEST(WordSort, LettersFirstThenCaseLowerBeforeUpper) {
    EXPECT_EQ(Sorted({"b.htm", "B.htm", "a.htm", "A.HTM", "c.htm"}),
              (std::vector<std::string>{"a.htm", "A.HTM", "b.htm", "B.htm", "c.htm"}));
    EXPECT_LT(CompareWordSort("apple", "Banana"), 0);
    EXPECT_LT(CompareWordSort("Zeta", "zeta2"), 0);
}

TEST(WordSort, PunctuationBeforeDigitsBeforeLetters) {
    EXPECT_EQ(Sorted({"b", "9", "_x", "10", "a"}),
              (std::vector<std::string>{"_x", "10", "9", "a", "b"}));
}

TEST(WordSort, HyphensAndApostrophesArePassedOver) {
    EXPECT_EQ(Sorted({"coop.htm", "co-op.htm", "cop.htm", "con.htm"}),
              (std::vector<std::string>{"con.htm", "coop.htm", "co-op.htm", "cop.htm"}));
}

TEST(WordSort, AccentedLettersSortBesideTheirBaseLetter) {
    EXPECT_EQ(Sorted({"f.htm", "\xC3\xA9t\xC3\xA9.htm", "ete.htm", "d.htm"}),
              (std::vector<std::string>{"d.htm", "ete.htm", "\xC3\xA9t\xC3\xA9.htm", "f.htm"}));
}

TEST(WordSort, IsATotalOrderThatOnlyEqualTextsTie) {
    const std::vector<std::string> names = {"a", "A", "a-",       "-a", "\xFF", "\xC3", "\xC3\xA9",
                                            "e", "E", "\xC3\x89", "",   " ",    "a b",  "ab"};
    for (const std::string& x : names) {
        EXPECT_EQ(CompareWordSort(x, x), 0);
        for (const std::string& y : names) {
            if (x != y) {
                EXPECT_NE(CompareWordSort(x, y), 0) << x << " / " << y;
                EXPECT_EQ(CompareWordSort(x, y), -CompareWordSort(y, x)) << x << " / " << y;
            }
            for (const std::string& z : names) {
                if (CompareWordSort(x, y) < 0 && CompareWordSort(y, z) < 0) {
                    EXPECT_LT(CompareWordSort(x, z), 0) << x << " / " << y << " / " << z;
                }
            }
        }
    }
}

}  // namespace
}  // namespace vantaro
