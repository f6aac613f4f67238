#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ReporterCapture.h"
#include "settings/CINI.h"
#include "support/FileAccess.h"
#include "support/TempDir.h"

namespace vantaro {
namespace {

using namespace test;

std::int32_t StoredInteger(const TempDir& dir, const std::string& value, std::int32_t fallback) {
    const std::string file = dir.Write("App.ini", "[S]\nK=" + value + "\n");
    return IniReadInteger(file, "S", "K", fallback, false);
}

bool StoredBool(const TempDir& dir, const std::string& value, bool fallback) {
    const std::string file = dir.Write("App.ini", "[S]\nK=" + value + "\n");
    return IniReadBool(file, "S", "K", fallback, false);
}

TEST(IniAccess, ReadingAMissingFileGivesDefaultsAndCreatesNothing) {
    TempDir dir;
    ReporterCapture reports;
    const std::string file = dir.File("Vantaro/App.ini");
    EXPECT_EQ(IniReadInteger(file, "MainForm", "Folders", 177, true), 177);
    EXPECT_TRUE(IniReadBool(file, "MainForm", "Preview", true, true));
    EXPECT_FALSE(IniReadBool(file, "MainForm", "Preview", false, true));
    EXPECT_EQ(IniReadString(file, "MainForm", "Other File Formats", "dflt", true), "dflt");
    EXPECT_FALSE(std::filesystem::exists(dir.File("Vantaro")));
    EXPECT_TRUE(reports.Messages().empty());
}

TEST(IniAccess, IntegersAreDecimalOrHexadecimalAndNothingElse) {
    TempDir dir;
    EXPECT_EQ(StoredInteger(dir, "0x1F", -9), 31);
    EXPECT_EQ(StoredInteger(dir, "0X1f", -9), 31);
    EXPECT_EQ(StoredInteger(dir, "$1f", -9), 31);
    EXPECT_EQ(StoredInteger(dir, "  \t42", -9), 42);
    EXPECT_EQ(StoredInteger(dir, "+7", -9), 7);
    EXPECT_EQ(StoredInteger(dir, "-0x10", -9), -16);
    EXPECT_EQ(StoredInteger(dir, "2147483647", -9), 2147483647);
    EXPECT_EQ(StoredInteger(dir, "-2147483648", -9), -2147483647 - 1);
    for (const char* notANumber : {"0x", "$", "", "+", "-", "12ab", "1 2", "42 ", "0x1G", "x1",
                                   "2147483648", "-2147483649", "0x100000000", "1.5", "- 1"}) {
        EXPECT_EQ(StoredInteger(dir, notANumber, -9), -9) << '"' << notANumber << '"';
    }
}

TEST(IniAccess, BooleansAreIntegersWhereOnlyZeroIsFalse) {
    TempDir dir;
    EXPECT_TRUE(StoredBool(dir, "-1", false));
    EXPECT_TRUE(StoredBool(dir, "2", false));
    EXPECT_FALSE(StoredBool(dir, "0", true));
    EXPECT_FALSE(StoredBool(dir, "0x0", true));
    EXPECT_TRUE(StoredBool(dir, "", true));
    EXPECT_FALSE(StoredBool(dir, "", false));
    EXPECT_TRUE(StoredBool(dir, "yes", true));
    EXPECT_FALSE(StoredBool(dir, "true", false));
}

TEST(IniAccess, WritesStoreTheDocumentedFormsAndReadBackExactly) {
    TempDir dir;
    const std::string file = dir.Write("App.ini", "; kept\n[MainForm]\nPreview=1\nOther=x\n");
    const std::string longValue(100000, 'r');
    IniWriteBool(file, "mainform", "PREVIEW", false, true);
    IniWriteInteger(file, "MainForm", "Log", -122, true);
    IniWriteBool(file, "File Formats", "htm", true, true);
    IniWriteString(file, "MainForm", "Other", "  a = b ; c  ", true);
    EXPECT_EQ(dir.Read("App.ini"),
              "; kept\n[MainForm]\nPreview=0\nOther=  a = b ; c  \nLog=-122\n"
              "[File Formats]\nhtm=1\n");
    IniWriteString(file, "MainForm", "Long", longValue, true);
    IniWriteString(file, "MainForm", "Other", "", true);
    EXPECT_EQ(IniReadString(file, "MainForm", "Long", "d", false), longValue);
    EXPECT_EQ(IniReadString(file, "MainForm", "Other", "d", false), "");
    EXPECT_EQ(IniReadString(file, "MainForm", "Absent", "d", false), "d");
}

TEST(IniAccess, AFailedWriteIsReportedOnlyWhenAskedAndTheCallReturns) {
    TempDir dir;
    dir.Write("blocker", "a file where a folder should be");
    const std::string blocked = dir.File("blocker/Vantaro/App.ini");
    const std::string readOnly = dir.Write("ro.ini", "[S]\nK=1\n");
    SetReadOnly(readOnly, true);
    std::filesystem::create_directory(dir.File("folder.ini"));
    ReporterCapture reports;

    IniWriteInteger(blocked, "MainForm", "Folders", 177, false);
    EXPECT_TRUE(reports.Messages().empty());
    IniWriteString(blocked, "MainForm", "Default Path", "/x/", true);
    IniWriteInteger(readOnly, "S", "K", 2, true);
    IniWriteInteger(dir.File("folder.ini"), "S", "K", 2, true);
    EXPECT_EQ(reports.Messages(), (std::vector<std::string>{
                                      "Unable to write to " + blocked,
                                      "Unable to write to " + readOnly,
                                      "Unable to write to " + dir.File("folder.ini"),
                                  }));
    EXPECT_EQ(dir.Read("ro.ini"), "[S]\nK=1\n");
    EXPECT_EQ(IniReadInteger(dir.File("folder.ini"), "S", "K", 7, true), 7);
    EXPECT_EQ(reports.Messages().size(), 3u);
    SetReadOnly(readOnly, false);
}

}  // namespace
}  // namespace vantaro
