#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/CINI.h"
#include "settings/SettingsFile.h"
#include "support/TempDir.h"

namespace vantaro {
namespace {

using namespace test;
namespace fs = std::filesystem;

TEST(SettingsFile, ReadingTellsMissingFromUnreadable) {
    TempDir dir;
    EXPECT_EQ(ReadSettingsFile(dir.File("none/App.ini")), "");
    EXPECT_EQ(ReadSettingsFile(dir.Write("App.ini", "[S]\n")), "[S]\n");
    EXPECT_EQ(ReadSettingsFile(dir.Path()), std::nullopt);
#ifndef _WIN32
    // A FIFO must not hang the reader.
    ASSERT_EQ(::mkfifo(dir.File("fifo.ini").c_str(), 0600), 0);
    EXPECT_EQ(ReadSettingsFile(dir.File("fifo.ini")), std::nullopt);
#endif
}

// Permission bits and symbolic links (which need privileges on Windows) are POSIX matters.
#ifndef _WIN32
TEST(SettingsFile, ReplacingKeepsTheModeAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string file = dir.Write("App.ini", "[S]\nK=1\n");
    ::chmod(file.c_str(), 0640);
    IniWriteInteger(file, "S", "K", 2, true);
    IniWriteInteger(file, "S", "L", 3, true);
    EXPECT_EQ(dir.Read("App.ini"), "[S]\nK=2\nL=3\n");
    struct stat info {};
    ::stat(file.c_str(), &info);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"App.ini"}));
}

TEST(SettingsFile, ASymbolicLinkKeepsPointingAtTheSettings) {
    TempDir dir;
    const std::string target = dir.Write("dotfiles.ini", "[S]\nK=1\n");
    fs::create_symlink(target, dir.File("App.ini"));
    IniWriteInteger(dir.File("App.ini"), "S", "K", 2, true);
    EXPECT_TRUE(fs::is_symlink(dir.File("App.ini")));
    EXPECT_EQ(ReadWholeFile(target), "[S]\nK=2\n");
    EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"App.ini", "dotfiles.ini"}));
}

#endif

}  // namespace
}  // namespace vantaro
