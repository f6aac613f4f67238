#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "engine/Engine.h"
#include "engine/PageWriter.h"
#include "support/LogExpect.h"
#include "support/PageRun.h"

namespace vantaro {
namespace {

using namespace test;
using C = LogColour;
namespace fs = std::filesystem;

const std::string kPage = "<img src=\"a\" title=\"T\">";
const std::string kNewPage = "<img src=\"a\" alt=\"T\" title=\"T\">";

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void AddAltForReal(const std::string& path, RecordingHost& host) {
    Engine engine(host);
    engine.Settings().PreviewMode = false;
    engine.ProcessFile(path, ScanMode::AddAlt);
}

TEST(PageWriter, ReplacesThePageKeepingItsModeAndLeavingNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.Write("p.htm", kPage);
    ::chmod(path.c_str(), 0640);
    RecordingHost host;
    AddAltForReal(path, host);
    EXPECT_EQ(ReadWholeFile(path), kNewPage);
    struct stat info {};
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"p.htm"}));
    EXPECT_EQ(host.Lines().back(), "p.htm : Updated successfully");
}

TEST(PageWriter, ASymbolicLinkKeepsPointingAtThePage) {
    TempDir dir;
    fs::create_directory(dir.File("real"));
    const std::string target = dir.Write("real/page.htm", kPage);
    fs::create_symlink(target, dir.File("link.htm"));
    RecordingHost host;
    AddAltForReal(dir.File("link.htm"), host);
    EXPECT_TRUE(fs::is_symlink(dir.File("link.htm")));
    EXPECT_EQ(ReadWholeFile(target), kNewPage);
    EXPECT_EQ(Names(dir.File("real")), (std::vector<std::string>{"page.htm"}));
    EXPECT_EQ(host.Lines().back(), "link.htm : Updated successfully");
}

TEST(PageWriter, AFailedWriteSaysSoAndLeavesNothingBehind) {
    TempDir dir;
    fs::create_directory(dir.File("gone"));
    const std::string path = dir.Write("gone/p.htm", kPage);
    const int fd = ::open(path.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    fs::remove_all(dir.File("gone"));
    EXPECT_FALSE(ReplacePageContent(path, fd, kNewPage));
    ::close(fd);
    EXPECT_FALSE(fs::exists(dir.File("gone")));
}

TEST(PageWriter, WritesInPlaceWhereNoTemporaryFileCanBeMade) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root can make files in any folder";
    }
    TempDir dir;
    fs::create_directory(dir.File("locked"));
    const std::string path = dir.Write("locked/p.htm", kPage);
    ::chmod(dir.File("locked").c_str(), 0555);
    struct stat before {};
    ::stat(path.c_str(), &before);
    RecordingHost host;
    AddAltForReal(path, host);
    ::chmod(dir.File("locked").c_str(), 0755);
    struct stat after {};
    ::stat(path.c_str(), &after);
    EXPECT_EQ(ReadWholeFile(path), kNewPage);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(host.Lines().back(), "p.htm : Updated successfully");
}

TEST(PageWriter, LargeNewTextsAreWrittenWhole) {
    TempDir dir;
    std::string page;
    std::string expected;
    for (int i = 0; i < 3000; ++i) {
        page += "<img src=\"x\" title=\"" + std::to_string(i) + "\">";
        expected +=
            "<img src=\"x\" alt=\"" + std::to_string(i) + "\" title=\"" + std::to_string(i) + "\">";
    }
    const std::string path = dir.Write("big.htm", page);
    RecordingHost host;
    AddAltForReal(path, host);
    EXPECT_EQ(ReadWholeFile(path), expected);
}

}  // namespace
}  // namespace vantaro
