#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "settings/DataPaths.h"

namespace vantaro {
namespace {

ConfigEnvironment Environment(std::optional<std::string> xdg, std::optional<std::string> home) {
    return {std::move(xdg), std::move(home)};
}

#ifdef _WIN32
TEST(DataPaths, ProgramFolderHoldsTheRunningProgram) {
    const std::string& folder = ProgramFolder();
    ASSERT_TRUE(folder.ends_with('\\'));
    EXPECT_TRUE(std::filesystem::exists(folder + "vantaro_settings_tests.exe"));
}

// Settings are shared by the computer's users whatever the environment says of a home folder.
TEST(DataPaths, ConfigFolderIsTheCommonApplicationDataFolder) {
    const char* programData = std::getenv("ProgramData");
    ASSERT_NE(programData, nullptr);
    const std::string expected = std::string(programData) + "\\Corvell\\";
    EXPECT_EQ(GetCommonAppDataPath("/Corvell/", Environment("/xdg", "/home/u")), expected);
    EXPECT_EQ(GetCommonAppDataPath("/Corvell/", Environment(std::nullopt, std::nullopt)), expected);
    InitDataPaths("/Corvell/", "Vantaro/App.ini", Environment(std::nullopt, std::nullopt));
    EXPECT_EQ(IniFileName(), expected + "Vantaro\\App.ini");
}
#else
TEST(DataPaths, ProgramFolderHoldsTheRunningProgram) {
    const std::string& folder = ProgramFolder();
    ASSERT_TRUE(folder.ends_with('/'));
    EXPECT_TRUE(std::filesystem::exists(folder + "vantaro_settings_tests"));
}

TEST(DataPaths, ConfigFolderComesFromTheEnvironment) {
    EXPECT_EQ(GetCommonAppDataPath("/Corvell/", Environment("/xdg", "/home/u")), "/xdg/Corvell/");
    EXPECT_EQ(GetCommonAppDataPath("/Corvell/", Environment("/xdg//", "/home/u")), "/xdg/Corvell/");
    EXPECT_EQ(GetCommonAppDataPath("/Corvell/", Environment(std::nullopt, "/home/u/")),
              "/home/u/.config/Corvell/");
    // Only an absolute folder counts: anything else falls through to the home folder.
    EXPECT_EQ(GetCommonAppDataPath("/Corvell/", Environment("", "/home/u")),
              "/home/u/.config/Corvell/");
    EXPECT_EQ(GetCommonAppDataPath("/Corvell/", Environment("rel/xdg", "/home/u")),
              "/home/u/.config/Corvell/");
    EXPECT_EQ(GetCommonAppDataPath("/Corvell/", Environment(std::nullopt, "/")),
              "/.config/Corvell/");
}

TEST(DataPaths, WithoutAConfigFolderTheProgramFolderStandsWithoutTheSuffix) {
    EXPECT_EQ(GetCommonAppDataPath("/Corvell/", Environment(std::nullopt, std::nullopt)),
              ProgramFolder());
    EXPECT_EQ(GetCommonAppDataPath("/Corvell/", Environment("relative", "")), ProgramFolder());
}

TEST(DataPaths, InitDataPathsSetsTheSettingsFileAndHomeHasASlash) {
    InitDataPaths("/Corvell/", "Vantaro/App.ini", Environment(std::nullopt, "/home/u"));
    EXPECT_EQ(AppDataFolder(), "/home/u/.config/Corvell/");
    EXPECT_EQ(IniFileName(), "/home/u/.config/Corvell/Vantaro/App.ini");

    InitDataPaths("/Corvell/", "Vantaro/App.ini", Environment(std::nullopt, std::nullopt));
    EXPECT_EQ(AppDataFolder(), ProgramFolder());
    EXPECT_EQ(IniFileName(), ProgramFolder() + "Vantaro/App.ini");

    EXPECT_EQ(HomeFolder(Environment(std::nullopt, "/home/u")), "/home/u/");
    EXPECT_EQ(HomeFolder(Environment(std::nullopt, std::nullopt)), "/");
}

#endif

}  // namespace
}  // namespace vantaro
