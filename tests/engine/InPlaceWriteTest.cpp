#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstring>
#include <filesystem>

#include "engine/DocumentFile.h"
#include "engine/PageWriter.h"
#include "engine/RecoveryFiles.h"
#include "support/CacheFolder.h"
#include "support/TempDir.h"

namespace vantaro {
namespace {

using namespace test;
namespace fs = std::filesystem;

// The child killed part way is a fork; the write itself is the same on Windows.
#ifndef _WIN32
std::string OldPage() {
    std::string page;
    for (int i = 0; page.size() < 3 * kBlockSize + 100; ++i) {
        page += "<img src=\"i" + std::to_string(i) + ".gif\" title=\"T\">\n";
    }
    return page;
}

std::string NewPage(const std::string& old) {
    std::string page;
    for (char c : old) {
        page += c;
        if (c == '"' && page.ends_with("gif\"")) {
            page += " alt=\"T\"";
        }
    }
    return page;
}

// Writes newText over the (hard-linked, so written in place) page in a child process that is
// killed at the step-th step of the write. Returns false when the write finished before it.
bool WriteKilledAtStep(const std::string& path, const std::string& newText, int step) {
    const pid_t child = ::fork();
    if (child == 0) {
        FileHandle page = FileHandle::Open(path, OpenFor::ReadWrite);
        int steps = 0;
        const PageSaveResult result =
            ReplacePageContent(path, page, page.Status()->identity, newText, [&](InPlaceStep) {
                if (++steps == step) {
                    ::kill(::getpid(), SIGKILL);
                }
            });
        ::_exit(result.outcome == PageSave::Saved ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) == 0))
        << "step " << step;
    return WIFSIGNALED(status);
}

TEST(InPlaceWrite, AKillAtAnyStepLeavesThePageOldNewOrItsOldTextInTheRecoveryFolder) {
    const std::string oldText = OldPage();
    const std::string newText = NewPage(oldText);
    ASSERT_NE(oldText, newText);
    int partlyWritten = 0;
    int step = 1;
    for (;; ++step) {
        CacheFolder cache;
        TempDir dir;
        const std::string path = dir.Write("p.htm", oldText);
        ASSERT_EQ(::link(path.c_str(), dir.File("other.htm").c_str()), 0);
        if (!WriteKilledAtStep(path, newText, step)) {
            EXPECT_EQ(ReadWholeFile(path), newText);
            EXPECT_TRUE(ListRecoveryFiles().empty());
            break;
        }
        const std::string page = ReadWholeFile(path);
        const std::vector<RecoveryEntry> kept = ListRecoveryFiles();  // removes stale temporaries
        ASSERT_LE(kept.size(), 1u);
        if (page != oldText && page != newText) {
            ++partlyWritten;
            ASSERT_EQ(kept.size(), 1u) << "step " << step;
        }
        if (kept.empty()) {
            EXPECT_TRUE(fs::is_empty(RecoveryFolder())) << "step " << step;
            continue;
        }
        EXPECT_EQ(kept[0].pagePath, path);
        EXPECT_EQ(ReadWholeFile(kept[0].recoveryFile), oldText) << "step " << step;

        // While the old text is kept, no later write may replace that copy.
        FileHandle open = FileHandle::Open(path, OpenFor::ReadWrite);
        const PageSaveResult again =
            ReplacePageContent(path, open, open.Status()->identity, newText + "x");
        open.Close();
        EXPECT_EQ(again.outcome, PageSave::Failed);
        EXPECT_EQ(again.error, EEXIST);
        EXPECT_EQ(ReadWholeFile(path), page);

        ASSERT_TRUE(RestoreFromRecovery(kept[0])) << std::strerror(errno);
        EXPECT_EQ(ReadWholeFile(path), oldText);
        EXPECT_EQ(ReadWholeFile(dir.File("other.htm")), oldText);
        EXPECT_TRUE(ListRecoveryFiles().empty());
    }
    EXPECT_GT(partlyWritten, 0);  // the kills did reach the middle of the page's write
    EXPECT_GT(step, 8);
}

#endif

TEST(RecoveryFiles, NamesReadBackToThePathEvenWhenTooLongForOneFileName) {
    CacheFolder cache;
#ifdef _WIN32
    const std::string root = "C:\\";
    const char separator = '\\';
#else
    const std::string root = "/";
    const char separator = '/';
#endif
    const std::string unusual =
        root + "site" + separator + "100% \x01\x7F\xC3\xA9" + separator + "a%2Fb.htm";
    const std::string deep =
        root + std::string(300, 'd') + separator + std::string(240, 'e') + separator + "..x";
    for (const std::string& path : {unusual, deep}) {
        const std::string name = RecoveryNameOf(path);
        EXPECT_EQ(PagePathOfRecoveryName(name), path);
        for (const auto& part : fs::path(name)) {
            EXPECT_LE(part.string().size(), 250u);
            EXPECT_NE(part.string(), "..");
        }
        // On disk: kept, listed and removed with the folders a long name needs.
        TempDir dir;
        const std::string page = dir.Write("p.htm", "old text");
        FileHandle open = FileHandle::Open(page, OpenFor::Read);
        RecoveryCopy copy;
        ASSERT_TRUE(copy.Keep(path, open, {})) << std::strerror(errno);
        open.Close();
        const std::vector<RecoveryEntry> kept = ListRecoveryFiles();
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_EQ(kept[0].pagePath, path);
        EXPECT_EQ(ReadWholeFile(kept[0].recoveryFile), "old text");
        EXPECT_TRUE(copy.Discard());
        EXPECT_TRUE(fs::is_empty(RecoveryFolder()));
    }
    EXPECT_EQ(PagePathOfRecoveryName("%2Fa%2"), std::nullopt);
    EXPECT_EQ(PagePathOfRecoveryName("%2Fa%00b"), std::nullopt);
    EXPECT_EQ(PagePathOfRecoveryName("relative"), std::nullopt);
}

}  // namespace
}  // namespace vantaro
