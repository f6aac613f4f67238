#include <gtest/gtest.h>

#include <string>

#include "settings/IniDocument.h"

namespace vantaro {
namespace {

using namespace std::string_literals;

TEST(IniDocument, FindsTheFirstKeyOfTheSectionWithLetterCaseAndBlanksAside) {
    const IniDocument document(
        "Key=outside any section\n"
        "[MainForm]\n"
        ";Key=comment\n"
        "  KEY  =first\n"
        "Key=second\n"
        "Name =128\n"
        "[ file formats ]\r\n"
        "PHP=0\r\n"
        "[mainform]\n"
        "Late=  a = b ; c  \n"
        "Nul=a\0b\n"
        "Empty=\n"
        "Last=end"s);
    EXPECT_EQ(document.Value("mainform", "key"), "first");
    EXPECT_EQ(document.Value("MainForm", "Name"), "128");
    EXPECT_EQ(document.Value("File Formats", "php"), "0");
    EXPECT_EQ(document.Value("MainForm", "php"), std::nullopt);
    EXPECT_EQ(document.Value("Other", "Key"), std::nullopt);
    // A value is the rest of its line, exactly.
    EXPECT_EQ(document.Value("MainForm", "Late"), "  a = b ; c  ");
    EXPECT_EQ(document.Value("MainForm", "Nul"), "a\0b"s);
    EXPECT_EQ(document.Value("MainForm", "Empty"), "");
    EXPECT_EQ(document.Value("MainForm", "Last"), "end");
    // An editor's byte-order mark does not hide the first section.
    EXPECT_EQ(IniDocument("\xEF\xBB\xBF[S]\nK=v\n").Value("S", "K"), "v");
}

TEST(IniDocument, ReplacingAValueKeepsEveryOtherByte) {
    const std::string before =
        "; my settings\r\n"
        "garbage without equals\r\n"
        "[unclosed\r\n"
        "\0\0\0\r\n"
        "[MainForm]\r"
        "  Folders = 177\r\n"
        "Unknown=keep me\r\n"
        "\r\n"
        "[Other]\r\n"
        "Folders=9"s;
    IniDocument document(before);
    EXPECT_EQ(document.Text(), before);
    document.SetValue("mainform", "folders", "200");
    document.SetValue("Other", "Folders", "10");
    EXPECT_EQ(document.Text(),
              "; my settings\r\n"
              "garbage without equals\r\n"
              "[unclosed\r\n"
              "\0\0\0\r\n"
              "[MainForm]\r"
              "  Folders =200\r\n"
              "Unknown=keep me\r\n"
              "\r\n"
              "[Other]\r\n"
              "Folders=10"s);
}

TEST(IniDocument, NewKeysJoinTheirSectionAndNewSectionsGoAtTheEnd) {
    IniDocument document("[A]\nx=1\n\n[B]\ny=2");
    document.SetValue("a", "New Key", "n");
    document.SetValue("C", "z", "3\r\n[D]\nw=4");
    EXPECT_EQ(document.Text(), "[A]\nx=1\nNew Key=n\n\n[B]\ny=2\n[C]\nz=3  [D] w=4\n");

    IniDocument crlf("[A]\r\nx=1\r\n");
    crlf.SetValue("B", "y", "2");
    EXPECT_EQ(crlf.Text(), "[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
}

// Reading many keys goes through IniValues, which must find exactly what IniDocument finds.
TEST(IniValues, FindsWhatTheDocumentFinds) {
    const std::string texts[] = {
        "Key=outside\n[MainForm]\n;Key=comment\n#Name=x\n  KEY  =first\nKey=second\n"
        "[ file formats ]\r\nPHP=0\r\n[mainform]\nLate=  a = b  \nKey=third\nNul=a\0b\n"
        "Empty=\nLast=end"s,
        "\xEF\xBB\xBF[S]\nK=v\n"s,
        "\xEF\xBB\xBFK=v\n[S]\rK=w\r\r\n[S2] trailing\nK=x\n[S]=y\nK=z"s,
        "[unclosed\nK=1\n[S]\n[unclosed\nK=2\n[]\nK=3\n[S\tx]\n\tK\t=4\n =5\nK"s,
        "[A]\nk=1\n[B]\nk=2\n[a]\nk=3\nj=4\n[ b ]\nj=5\nK=6\r"s,
        ""s,
        "\n\r\n\r"s,
    };
    const char* const sections[] = {"MainForm", "mainform ", "File Formats", "S", "s", "S2",
                                    "unclosed", "",          "S\tx",         "A", "b", "Other"};
    const char* const keys[] = {"Key",  "key", " KEY ", "Name", "php", "Late", "Nul",  "Empty",
                                "Last", "K",   "k",     "j",    "",    ";Key", "#Name"};
    for (const std::string& text : texts) {
        const IniDocument document(text);
        const IniValues values(text);
        for (const char* section : sections) {
            for (const char* key : keys) {
                const std::optional<std::string> expected = document.Value(section, key);
                const std::optional<std::string_view> found = values.Value(section, key);
                EXPECT_EQ(found.has_value(), expected.has_value())
                    << '[' << section << "] " << key << " in " << text;
                if (found && expected) {
                    EXPECT_EQ(*found, *expected) << '[' << section << "] " << key;
                }
            }
        }
    }
}

}  // namespace
}  // namespace vantaro
