#include <gtest/gtest.h>

#include <algorithm>
#include <random>
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

// Sort keys must order exactly as the comparison does, on every level and for bytes that are
// not UTF-8, or the lists would sort differently from the file list.
TEST(WordSort, SortKeysOrderAsTheComparisonDoes) {
    const std::vector<std::string> pieces = {"a",
                                             "A",
                                             "b",
                                             "z",
                                             "Z",
                                             "0",
                                             "9",
                                             "-",
                                             "'",
                                             ".",
                                             "_",
                                             "/",
                                             " ",
                                             "~",
                                             "\xC3\xA9",
                                             "\xC3\x89",
                                             "\xC3\xA0",
                                             "\xC3\x97",
                                             "\xE2\x82\xAC",
                                             "\xF0\x9F\x98\x80",
                                             "\xE9",
                                             "\xC3",
                                             "\x80",
                                             "\xFF",
                                             std::string(1, '\0')};
    std::mt19937 random(7);
    std::vector<std::string> texts = {""};
    for (int n = 0; n < 3000; ++n) {
        std::string text;
        const auto length = random() % 6;
        for (unsigned k = 0; k < length; ++k) {
            text += pieces[random() % pieces.size()];
        }
        texts.push_back(text);
    }
    for (std::size_t i = 0; i + 1 < texts.size(); ++i) {
        for (std::size_t j : {i + 1, (i * 7919) % texts.size()}) {
            const int byComparison = CompareWordSort(texts[i], texts[j]);
            const int byKey = WordSortBytes(texts[i]).compare(WordSortBytes(texts[j]));
            ASSERT_EQ(byComparison, (byKey > 0) - (byKey < 0))
                << '"' << texts[i] << "\" vs \"" << texts[j] << '"';
        }
    }
}

}  // namespace
}  // namespace vantaro
