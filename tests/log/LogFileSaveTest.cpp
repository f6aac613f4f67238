#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>

#include "support/FileSizeLimit.h"
#endif

#include "log/LogFileSave.h"
#include "support/TempDir.h"

namespace vantaro {
namespace {

using namespace test;
namespace fs = std::filesystem;

std::size_t EntriesIn(const std::string& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) {
        ++count;
    }
    return count;
}

TEST(SaveWholeFile, CreatesAndReplacesKeepingTheModeAndLeavingNothingElse) {
    TempDir dir;
    EXPECT_EQ(SaveWholeFile(dir.File("new.vtl"), "first"), SaveOutcome::Saved);
    EXPECT_EQ(dir.Read("new.vtl"), "first");
#ifdef _WIN32
    EXPECT_EQ(SaveWholeFile(dir.File("new.vtl"), "second"), SaveOutcome::Saved);
    EXPECT_EQ(dir.Read("new.vtl"), "second");
#else

    ::chmod(dir.File("new.vtl").c_str(), 0640);
    EXPECT_EQ(SaveWholeFile(dir.File("new.vtl"), "second"), SaveOutcome::Saved);
    EXPECT_EQ(dir.Read("new.vtl"), "second");
    struct stat info {};
    ::stat(dir.File("new.vtl").c_str(), &info);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
#endif
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

// Symbolic links need privileges on Windows.
#ifndef _WIN32
TEST(SaveWholeFile, ASymbolicLinkKeepsPointingAtItsTarget) {
    TempDir dir;
    const std::string target = dir.Write("real.vtl", "old");
    fs::create_symlink(target, dir.File("link.vtl"));
    EXPECT_EQ(SaveWholeFile(dir.File("link.vtl"), "new"), SaveOutcome::Saved);
    EXPECT_TRUE(fs::is_symlink(dir.File("link.vtl")));
    EXPECT_EQ(dir.Read("real.vtl"), "new");
}
#endif

TEST(SaveWholeFile, WhatCannotBeCreatedIsNotTouched) {
    TempDir dir;
    EXPECT_EQ(SaveWholeFile(dir.File("missing/log.vtl"), "x"), SaveOutcome::CannotCreate);
    fs::create_directory(dir.File("folder.vtl"));
    EXPECT_EQ(SaveWholeFile(dir.File("folder.vtl"), "x"), SaveOutcome::CannotCreate);
    EXPECT_TRUE(fs::is_directory(dir.File("folder.vtl")));
#ifndef _WIN32
    EXPECT_EQ(SaveWholeFile("/dev/null", "x"), SaveOutcome::CannotCreate);
#endif
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

// A file size limit, to make a write fail half way, is a POSIX matter.
#ifndef _WIN32

TEST(SaveWholeFile, AWriteThatFailsHalfWayLeavesTheOldFileWhole) {
    TempDir dir;
    const std::string path = dir.Write("log.vtl", "old content");
    const std::string big(4096, 'x');
    SaveOutcome outcome;
    {
        const FileSizeLimit limit(1024);
        outcome = SaveWholeFile(path, big);
    }
    EXPECT_EQ(outcome, SaveOutcome::WriteFailed);
    EXPECT_EQ(ReadWholeFile(path), "old content");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

#endif

}  // namespace
}  // namespace vantaro
