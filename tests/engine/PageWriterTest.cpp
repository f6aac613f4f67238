#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>

#ifndef _WIN32
#include <sys/stat.h>

#include "support/FileSizeLimit.h"
#endif
#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/xattr.h>
#include <unistd.h>
#endif

#include "engine/Engine.h"
#include "engine/PageWriter.h"
#include "support/CacheFolder.h"
#include "support/FileAccess.h"
#include "support/LogExpect.h"
#include "support/PageRun.h"

namespace vantaro {
namespace {

using namespace test;
using C = LogColour;
namespace fs = std::filesystem;

const std::string kPage = "<img src=\"a\" title=\"T\">";
const std::string kNewPage = "<img src=\"a\" alt=\"T\" title=\"T\">";

std::int64_t AddAltForReal(const std::string& path, RecordingHost& host) {
    Engine engine(host);
    host.flags = &engine.Flags();
    engine.Settings().PreviewMode = false;
    engine.ProcessFile(path, ScanMode::AddAlt);
    return engine.TotalAltCount;
}

std::vector<RecoveryEntry> RecoveryFiles() {
    return ListRecoveryFiles();
}

// Permission bits, symbolic links (which need privileges on Windows) and a file size limit are
// POSIX matters; WindowsFilesTest has the attributes, names and sharing of Windows.
#ifndef _WIN32
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
    EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"p.htm"}));
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
    EXPECT_EQ(NamesIn(dir.File("real")), (std::vector<std::string>{"page.htm"}));
    EXPECT_EQ(host.Lines().back(), "link.htm : Updated successfully");
}

TEST(PageWriter, AFailedWriteSaysWhyCountsNothingAndLeavesNothingBehind) {
    CacheFolder cache;
    TempDir dir;
    const std::string path = dir.Write("p.htm", kPage);
    const std::string linked = dir.Write("linked.htm", kPage);
    ASSERT_EQ(::link(linked.c_str(), dir.File("other-name.htm").c_str()), 0);  // in place
    for (const std::string& page : {path, linked}) {
        RecordingHost host;
        std::int64_t added = 0;
        {
            const FileSizeLimit limit(kPage.size() + 2);  // the new text does not fit
            added = AddAltForReal(page, host);
        }
        const std::string name = page.substr(dir.Path().size());
        EXPECT_EQ(host.segments,
                  Join({FindingHead(name, 1, "<img ", "a"),
                        {Seg("alt added : \"T\"", C::LogGreen, true)},
                        FileLine(name, "Failed to write to " + name + " (File too large)",
                                 C::LogDarkRed)}));
        EXPECT_EQ(added, 0);
        EXPECT_EQ(ReadWholeFile(page), kPage);
    }
    EXPECT_EQ(NamesIn(dir.Path()),
              (std::vector<std::string>{"linked.htm", "other-name.htm", "p.htm"}));
    EXPECT_TRUE(RecoveryFiles().empty());
}
#endif

// Another program saves the page while the run works on it: its version stays.
TEST(PageWriter, APageChangedOnDiskDuringTheRunIsNeitherOverwrittenNorRecreated) {
    std::string page;
    while (page.size() < 40000) {  // long enough for the run to pump events part way through
        page += kPage + "\n";
    }
    const std::string theirs = "<p>their version</p>";
    struct Change {
        const char* what;
        std::function<void(const std::string&)> change;
        bool exists;
        std::string content;
    };
    const std::vector<Change> changes = {
        {"edited", [&](const std::string& p) { WriteWholeFile(p, theirs); }, true, theirs},
#ifndef _WIN32
        // Under Wine, a rename over a file that another handle holds open fails, and a file
        // deleted meanwhile stays visible, and can be opened, until that handle is closed.
        {"saved by rename",
         [&](const std::string& p) {
             WriteWholeFile(p + ".new", page);
             fs::rename(p + ".new", p);
         },
         true, page},
        {"deleted", [](const std::string& p) { fs::remove(p); }, false, ""},
#endif
        {"touched one tick of the file system's clock later",
         [](const std::string& p) {
#ifdef _WIN32
             const std::chrono::nanoseconds tick(100);
#else
             const std::chrono::nanoseconds tick(1);
#endif
             fs::last_write_time(p, fs::last_write_time(p) + tick);
         },
         true, page},
    };
    for (const Change& c : changes) {
        CacheFolder cache;
        TempDir dir;
        const std::string path = dir.Write("p.htm", page);
        RecordingHost host;
        bool changed = false;
        host.onPump = [&](RecordingHost&) {
            if (!changed) {
                c.change(path);
                changed = true;
            }
        };
        EXPECT_EQ(AddAltForReal(path, host), 0) << c.what;
        ASSERT_TRUE(changed) << c.what;
        ASSERT_GE(host.segments.size(), 2u) << c.what;
        EXPECT_EQ(Segments(host.segments.end() - 2, host.segments.end()),
                  FileLine("p.htm",
                           "Modifications to p.htm have not been saved - the file changed on "
                           "disk during the run",
                           C::LogRed))
            << c.what;
        EXPECT_EQ(fs::exists(path), c.exists) << c.what;
        if (c.exists) {
            EXPECT_EQ(ReadWholeFile(path), c.content) << c.what;
        }
        EXPECT_EQ(NamesIn(dir.Path()).size(), c.exists ? 1u : 0u) << c.what;
    }
}

// Text written ahead of its turn is renamed over the page only if the page still is the file
// read and has one name; otherwise the page is handled as without it. It never stays behind.
TEST(PageWriter, TextStagedAheadReplacesOnlyThePageThatWasRead) {
    CacheFolder cache;
    struct Case {
        const char* what;
        std::function<void(TempDir&, const std::string&)> meanwhile;
        PageSave outcome;
        std::string content;
    };
    const std::vector<Case> cases = {
        {"unchanged", [](TempDir&, const std::string&) {}, PageSave::Saved, kNewPage},
#ifndef _WIN32
        // Under Wine, a rename over a file that another handle holds open fails.
        {"saved by another program",
         [](TempDir&, const std::string& p) {
             WriteWholeFile(p + ".new", "theirs");
             fs::rename(p + ".new", p);
         },
         PageSave::ChangedOnDisk, "theirs"},
#endif
        {"given a second name",
         [](TempDir& dir, const std::string& p) { fs::create_hard_link(p, dir.File("copy.htm")); },
         PageSave::Saved, kNewPage},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string path = dir.Write("p.htm", kPage);
        FileHandle page = FileHandle::Open(path, OpenFor::ReadWrite);
        const FileIdentity asRead = page.Status()->identity;
        StagedContent staged = StagePageContent(path, asRead, kNewPage);
        ASSERT_TRUE(staged.Ready()) << c.what;
        EXPECT_EQ(NamesIn(dir.Path()).size(), 2u) << c.what;
        c.meanwhile(dir, path);
        EXPECT_EQ(ReplacePageContent(path, page, asRead, kNewPage, {}, nullptr, &staged).outcome,
                  c.outcome)
            << c.what;
        EXPECT_FALSE(staged.Ready()) << c.what;
        page.Close();  // on Windows the replaced file is gone only once no handle holds it
        EXPECT_EQ(ReadWholeFile(path), c.content) << c.what;
        for (const std::string& name : NamesIn(dir.Path())) {
            EXPECT_EQ(ReadWholeFile(dir.File(name)), c.content) << c.what << " " << name;
        }
    }

    // A page with two names is written in place at its turn: nothing is staged for it.
    TempDir dir;
    const std::string path = dir.Write("p.htm", kPage);
    fs::create_hard_link(path, dir.File("copy.htm"));
    const FileIdentity asRead = StatusOf(path)->identity;
    EXPECT_FALSE(StagePageContent(path, asRead, kNewPage).Ready());
    EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"copy.htm", "p.htm"}));
}

#ifdef __linux__
// A run keeps pages' old files to take later pages' new text. None may be written over while
// another program reads it, before the swap that freed it is on disk, or with an attribute
// that the page given its name never had; and every page ends with its own text and mode.
TEST(PageWriter, OldFilesReusedForLaterPagesShowNothingOfAnotherPage) {
    CacheFolder cache;
    TempDir dir;
    const int pages = 40;
    // Strings are built by appending: g++ 12 at -O3 warns wrongly about a prefix added to one.
    const auto tagText = [](int i, std::string_view attributes, std::size_t padding, char fill) {
        std::string text = "<img src=\"";
        text.append(std::to_string(i)).append("\" ").append(attributes).append(">");
        return text.append(padding, fill);
    };
    const auto oldText = [&](int i) { return tagText(i, "title=\"T\"", 1500 + i * 37, 'x'); };
    const auto newText = [&](int i) {
        return tagText(i, "alt=\"T\" title=\"T\"", (pages - i) * 53, 'y');
    };
    // A file number may be given again to a new file; with its generation it names one file.
    const auto fileOf = [](const std::string& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        const int fd = ::open(path.c_str(), O_RDONLY);
        int generation = -1;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETVERSION, &generation) != 0) {
            generation = -1;
        }
        ::close(fd);
        return std::pair(info.st_ino, generation);
    };
    std::vector<std::string> paths;
    std::vector<std::pair<ino_t, int>> oldFiles;
    for (int i = 0; i < pages; ++i) {
        std::string name = std::to_string(i + 10);
        name.insert(0, 1, 'p').append(".htm");
        paths.push_back(dir.Write(name, oldText(i)));
        ::chmod(paths.back().c_str(), i % 2 == 0 ? 0640 : 0604);
        oldFiles.push_back(fileOf(paths.back()));
    }
    const bool generationsKnown = oldFiles.front().second != -1;
    const int held = 3;
    const int marked = 5;
    FileHandle reader = FileHandle::Open(paths[held], OpenFor::Read);
    ASSERT_EQ(::setxattr(paths[marked].c_str(), "user.vantaro-test", "1", 1, 0), 0);

    UnsyncedFolders unsynced;
    for (int i = 0; i < pages; ++i) {
        if (i == 8) {
            // Old files retired so far are not on disk as unnamed yet: none is taken.
            EXPECT_FALSE(unsynced.Retired().Take(FolderOf(paths[i])).has_value());
        }
        FileHandle page = FileHandle::Open(paths[i], OpenFor::ReadWrite);
        const FileIdentity asRead = page.Status()->identity;
        ASSERT_EQ(ReplacePageContent(paths[i], page, asRead, newText(i), {}, &unsynced).outcome,
                  PageSave::Saved)
            << i;
    }
    std::string seen(oldText(held).size(), '\0');
    EXPECT_EQ(reader.ReadAt(seen.data(), seen.size(), 0), static_cast<std::int64_t>(seen.size()));
    EXPECT_EQ(seen, oldText(held));

    int reused = 0;
    for (int i = 0; i < pages; ++i) {
        EXPECT_EQ(ReadWholeFile(paths[i]), newText(i)) << i;
        struct stat info {};
        ::stat(paths[i].c_str(), &info);
        EXPECT_EQ(info.st_mode & 07777, i % 2 == 0 ? 0640u : 0604u) << i;
        EXPECT_LT(::getxattr(paths[i].c_str(), "user.vantaro-test", nullptr, 0), 0) << i;
        const auto was = std::find(oldFiles.begin(), oldFiles.end(), fileOf(paths[i]));
        if (generationsKnown && was != oldFiles.end()) {
            ++reused;
            EXPECT_NE(was - oldFiles.begin(), held) << i;
            EXPECT_NE(was - oldFiles.begin(), marked) << i;
        }
    }
    EXPECT_TRUE(!generationsKnown || reused > 0);  // the files were reused at all
    unsynced.SyncAll();
    unsynced.Retired().RemoveAll();
    EXPECT_EQ(NamesIn(dir.Path()).size(), static_cast<std::size_t>(pages));
}
#endif

#ifdef __linux__
// An old file may take new text once the swap that took its name is on disk: after a flush of
// its folder, or of the whole file system, that began after the swap.
TEST(PageWriter, AnOldFileIsReusedOnlyAfterAFlushThatBeganAfterItsSwap) {
    CacheFolder cache;
    TempDir dir;
    UnsyncedFolders unsynced;
    RetiredFiles& retired = unsynced.Retired();
    const auto replace = [&](const std::string& name, bool staged) {
        const std::string path = dir.Write(name, kPage);
        FileHandle page = FileHandle::Open(path, OpenFor::ReadWrite);
        const FileIdentity asRead = page.Status()->identity;
        StagedContent ahead;
        if (staged) {
            ahead = StagePageContent(path, asRead, kNewPage, &retired);
        }
        return ReplacePageContent(path, page, asRead, kNewPage, {}, &unsynced, &ahead).outcome;
    };
    const auto takeOne = [&] {
        std::optional<RetiredFiles::Reusable> taken = retired.Take(FolderOf(dir.File("x.htm")));
        if (taken) {
            taken->file.Close();
            RemoveFile(taken->path);
        }
        return taken.has_value();
    };
    ASSERT_EQ(replace("first.htm", true), PageSave::Saved);  // flushed just before its swap
    retired.RemoveAll();
    ASSERT_EQ(replace("second.htm", false), PageSave::Saved);
    EXPECT_FALSE(takeOne());  // no flush began since its swap
    ASSERT_EQ(replace("third.htm", false), PageSave::Saved);
    if (StagingFlushesInGroups()) {
        ASSERT_EQ(replace("fourth.htm", true), PageSave::Saved);
        EXPECT_TRUE(takeOne());  // the fourth's flush covered the third's swap
    }
    unsynced.SyncAll();
    EXPECT_TRUE(takeOne());
    retired.RemoveAll();
    EXPECT_EQ(NamesIn(dir.Path()),
              (std::vector<std::string>{"first.htm", "fourth.htm", "second.htm", "third.htm"}));
}
#endif

// A rename would give the page a new file and leave its other names with the old text.
TEST(PageWriter, EveryNameOfAHardLinkedPageShowsTheNewText) {
    CacheFolder cache;
    TempDir dir;
    const std::string path = dir.Write("p.htm", kPage);
    fs::create_hard_link(path, dir.File("copy.htm"));
    RecordingHost host;
    EXPECT_EQ(AddAltForReal(path, host), 1);
    EXPECT_EQ(ReadWholeFile(path), kNewPage);
    EXPECT_EQ(ReadWholeFile(dir.File("copy.htm")), kNewPage);
    EXPECT_EQ(host.Lines().back(), "p.htm : Updated successfully");
    EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"copy.htm", "p.htm"}));
    EXPECT_TRUE(RecoveryFiles().empty());
}

// The same file keeps the new text: no temporary file, backup or rename was involved.
TEST(PageWriter, WritesInPlaceWhereNoTemporaryFileCanBeMade) {
    CacheFolder cache;
    TempDir dir;
    fs::create_directory(dir.File("locked"));
    const std::string path = dir.Write("locked/p.htm", kPage);
    const std::optional<FileStatus> before = StatusOf(path);
    ASSERT_TRUE(before);
    RecordingHost host;
    {
        const NewFilesRefused refusal(dir.File("locked/"));
        VANTARO_SKIP_UNLESS_REFUSED(refusal);
        AddAltForReal(path, host);
    }
    const std::optional<FileStatus> after = StatusOf(path);
    ASSERT_TRUE(after);
    EXPECT_EQ(ReadWholeFile(path), kNewPage);
    EXPECT_EQ(after->identity.file, before->identity.file);
    EXPECT_EQ(host.Lines().back(), "p.htm : Updated successfully");
    EXPECT_EQ(NamesIn(dir.File("locked")), (std::vector<std::string>{"p.htm"}));
    EXPECT_TRUE(RecoveryFiles().empty());
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
