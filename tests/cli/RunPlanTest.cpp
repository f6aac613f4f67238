#include <gtest/gtest.h>

#include <filesystem>

#include "cli/RunPlan.h"
#include "platform/SystemFolders.h"
#include "support/TempDir.h"

namespace vantaro::cli {
namespace {

using test::TempDir;
namespace fs = std::filesystem;

TEST(RunPlan, FoldersStandForTheirPagesAndFilesShareTheirFolderRun) {
    TempDir dir;
    fs::create_directories(dir.File("site/sub"));
    dir.Write("site/b.htm", "");
    dir.Write("site/a.htm", "");
    dir.Write("site/notes.txt", "");
    dir.Write("other.htm", "");
    dir.Write("site/sub/c.htm", "");
    const RunPlan plan =
        PlanRuns({dir.File("site/b.htm"), dir.File("other.htm"), dir.File("site/a.htm"),
                  dir.File("site/b.htm"), dir.File("site/notes.txt"), dir.File("nowhere")},
                 false, {"htm"});
    ASSERT_EQ(plan.Runs.size(), 2u);
    EXPECT_EQ(plan.Runs[0].Folder, WithNativeSeparators(dir.File("site/")));
    EXPECT_EQ(plan.Runs[0].Pages, (std::vector<std::string>{"b.htm", "a.htm", "notes.txt"}));
    EXPECT_EQ(plan.Runs[1].Folder, WithNativeSeparators(dir.Path()));
    ASSERT_EQ(plan.Problems.size(), 1u);
    EXPECT_NE(plan.Problems[0].find("nowhere"), std::string::npos);

    const RunPlan folder = PlanRuns({dir.File("site")}, false, {"htm"});
    ASSERT_EQ(folder.Runs.size(), 1u);
    EXPECT_EQ(folder.Runs[0].Pages, (std::vector<std::string>{"a.htm", "b.htm"}));
}

TEST(RunPlan, RecursionVisitsFoldersDepthFirstInSortedOrder) {
    TempDir dir;
    for (const char* folder : {"root/b", "root/a/deep", "root/a/empty", "root/.git", "root/C"}) {
        fs::create_directories(dir.File(folder));
    }
    for (const char* page : {"root/x.htm", "root/b/p.htm", "root/a/deep/p.htm", "root/.git/p.htm",
                             "root/C/p.htm", "root/a/p.htm"}) {
        dir.Write(page, "");
    }
#ifndef _WIN32
    // A link to a folder is no subfolder of its own (symbolic links need privileges on Windows).
    fs::create_directory_symlink(dir.File("root/b"), dir.File("root/a/link"));
#endif
    const RunPlan plan = PlanRuns({dir.File("root")}, true, {"htm"});
    std::vector<std::string> folders;
    for (const PlannedRun& run : plan.Runs) {
        folders.push_back(run.Folder.substr(dir.Path().size()));
    }
    std::vector<std::string> expected;
    for (const char* folder : {"root/", "root/a/", "root/a/deep/", "root/b/", "root/C/"}) {
        expected.push_back(WithNativeSeparators(folder));
    }
    EXPECT_EQ(folders, expected);
}

}  // namespace
}  // namespace vantaro::cli
