#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/EngineSettings.h"
#include "settings/CommaText.h"

namespace vantaro {
namespace {

using namespace std::string_literals;
using List = std::vector<std::string>;

TEST(CommaText, DefaultLanguageRowsHaveTheirExactStoredForm) {
    const std::string stored = R"("ASP, JSP",<%,%>,PHP,<?php,?>,Script,<script,</script>)";
    EXPECT_EQ(stored.size(), 54u);
    EXPECT_EQ(ToCommaText(EngineSettings::DefaultLanguageTags()), stored);
    EXPECT_EQ(FromCommaText(stored), EngineSettings::DefaultLanguageTags());
}

TEST(CommaText, WritingQuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(ToCommaText({}), "");
    EXPECT_EQ(ToCommaText({""}), R"("")");
    EXPECT_EQ(ToCommaText({"", ""}), ",");
    EXPECT_EQ(ToCommaText({"a", "", "b"}), "a,,b");
    EXPECT_EQ(ToCommaText({"img/a.gif", "x;y=z"}), "img/a.gif,x;y=z");
    EXPECT_EQ(ToCommaText({"a b", "c,d", R"(say "hi")"}), R"("a b","c,d","say ""hi""")");
    EXPECT_EQ(ToCommaText({"tab\there", "nul\0"s, "\x1f", "!"}),
              "\"tab\there\",\"nul\0\",\"\x1f\",!"s);
    // Bytes above 127 are letters of some encoding, not control characters.
    EXPECT_EQ(ToCommaText({"caf\xC3\xA9", "\xFF"}), "caf\xC3\xA9,\xFF");
}

TEST(CommaText, ReadingSplitsAtCommasAndUnquotedBlanks) {
    EXPECT_EQ(FromCommaText(""), List{});
    EXPECT_EQ(FromCommaText("  \t\r\n "), List{});
    EXPECT_EQ(FromCommaText(R"("")"), List{""});
    EXPECT_EQ(FromCommaText("a,b"), (List{"a", "b"}));
    EXPECT_EQ(FromCommaText("  a ,  b  "), (List{"a", "b"}));
    EXPECT_EQ(FromCommaText("my image.gif"), (List{"my", "image.gif"}));
    EXPECT_EQ(FromCommaText("a,,b"), (List{"a", "", "b"}));
    EXPECT_EQ(FromCommaText(",a"), (List{"", "a"}));
    EXPECT_EQ(FromCommaText("a,"), (List{"a", ""}));
    EXPECT_EQ(FromCommaText("a, \t"), (List{"a", ""}));
    EXPECT_EQ(FromCommaText(","), (List{"", ""}));
}

TEST(CommaText, ReadingQuotedItems) {
    EXPECT_EQ(FromCommaText(R"("a b","say ""hi""",c)"), (List{"a b", R"(say "hi")", "c"}));
    EXPECT_EQ(FromCommaText(R"( "x" , "y" )"), (List{"x", "y"}));
    EXPECT_EQ(FromCommaText(R"("ab"cd,e)"), (List{"ab", "cd", "e"}));
    EXPECT_EQ(FromCommaText(R"(a"b,c)"), (List{R"(a"b)", "c"}));
    // Without a closing quote the item runs to the end.
    EXPECT_EQ(FromCommaText(R"(x,"open, never closed)"), (List{"x", "open, never closed"}));
    EXPECT_EQ(FromCommaText(R"(x,")"), (List{"x", ""}));
    EXPECT_EQ(FromCommaText(std::string(100001, '"')), List{std::string(50000, '"')});
    EXPECT_EQ(FromCommaText("\0\0a\0b,\0"s), (List{"a", "b", ""}));
}

TEST(CommaText, EveryListReadsBackAsWritten) {
    const std::vector<List> lists = {
        {},
        {""},
        {"", ""},
        {"", "a"},
        {"a", ""},
        {" lead", "trail ", "\"", "\"\"", ",", ", ,"},
        {"line\nbreak", "\r", "\x01\x02", "nul\0inside"s, "\0"s},
        {"caf\xC3\xA9", "<?php", "</script>", "a=b;c"},
    };
    for (const List& list : lists) {
        EXPECT_EQ(FromCommaText(ToCommaText(list)), list) << ToCommaText(list);
    }
}

}  // namespace
}  // namespace vantaro
