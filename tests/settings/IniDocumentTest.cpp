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

}  // namespace
}  // namespace vantaro
