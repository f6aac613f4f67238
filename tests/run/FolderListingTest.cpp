#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "run/FolderListing.h"
#include "support/TempDir.h"

namespace vantaro {
namespace {

using test::TempDir;
namespace fs = std::filesystem;

std::vector<std::string> Names(const std::vector<ListedFile>& files) {
    std::vector<std::string> names;
    for (const ListedFile& file : files) {
        names.push_back(file.Name);
    }
    return names;
}

FileFormatTable OnlyEnabled(std::initializer_list<const char*> extensions) {
    FileFormatTable table = DefaultFileFormats();
    for (TFileFormat& format : table) {
        format.Enabled = false;
        for (const char* extension : extensions) {
            format.Enabled = format.Enabled || format.Extension == extension;
        }
    }
    return table;
}

TEST(FolderListing, ExtensionListJoinsBothSourcesOnceEachLetterCaseAside) {
    EXPECT_EQ(BuildExtensionList(OnlyEnabled({"htm", "php"}), "HTM;htm;txt"),
              (std::vector<std::string>{"HTM", "php", "txt"}));
    EXPECT_EQ(BuildExtensionList(OnlyEnabled({}), "a;;b;"),
              (std::vector<std::string>{"", "a", "b"}));
    EXPECT_EQ(BuildExtensionList(OnlyEnabled({}), ""), std::vector<std::string>{});
    EXPECT_EQ(BuildExtensionList(DefaultFileFormats(), "").size(), 23u);
}

TEST(FolderListing, TheExtensionMustMatchLiterallyFromTheLastDot) {
    EXPECT_TRUE(HasExtension("a.htm", "htm"));
    EXPECT_TRUE(HasExtension("c.HTM", "htm"));
    EXPECT_TRUE(HasExtension("x.tar.htm", "HTM"));
    EXPECT_FALSE(HasExtension("b.html", "htm"));
    EXPECT_FALSE(HasExtension("a.htm.bak", "htm"));
    EXPECT_FALSE(HasExtension("htm", "htm"));
    EXPECT_FALSE(HasExtension("a.htm", "h*"));
    EXPECT_FALSE(HasExtension("a.", ""));
}

TEST(FolderListing, ListsPageFilesSortedAndLeavesTheRestOut) {
    TempDir dir;
    for (const char* name : {"b.html", "a.htm", "C.HTM", "Zed.htm", "notes.txt", "noext",
                             "trailing.", "co-op.htm", "coop.htm"}) {
        dir.Write(name, "x");
    }
    fs::create_directory(dir.File("folder.htm"));
#ifdef _WIN32
    // Symbolic links need privileges on Windows, and it has no named pipes in folders; hidden
    // files are WindowsFilesTest's.
    const std::vector<std::string> pages = {"a.htm", "C.HTM", "coop.htm", "co-op.htm", "Zed.htm"};
#else
    dir.Write(".hidden.htm", "x");
    fs::create_symlink(dir.File("a.htm"), dir.File("link.htm"));
    fs::create_symlink(dir.File("folder.htm"), dir.File("dirlink.htm"));
    fs::create_symlink(dir.File("missing"), dir.File("dangling.htm"));
    ASSERT_EQ(::mkfifo(dir.File("pipe.htm").c_str(), 0644), 0);
    const std::vector<std::string> pages = {"a.htm",     "C.HTM",    "coop.htm",
                                            "co-op.htm", "link.htm", "Zed.htm"};
#endif

    const std::vector<ListedFile> files = ListFolderFiles(dir.Path(), {"htm"});
    ASSERT_EQ(Names(files), pages);
    EXPECT_EQ(files[0].Size, 1u);
    EXPECT_GT(files[0].Modified, 0);
    EXPECT_EQ(Names(ListFolderFiles(dir.Path(), {"htm", "HTM", "html", "", "h*"})).size(),
              pages.size() + 1);  // and b.html
    EXPECT_EQ(Names(AddFilesOfFormat(dir.Path(), "html")), (std::vector<std::string>{"b.html"}));
    EXPECT_TRUE(ListFolderFiles(dir.File("absent/"), {"htm"}).empty());
}

TEST(FolderListing, SortsManyNamesOnce) {
    std::vector<ListedFile> files;
    for (int i = 2000; i > 0; --i) {
        files.push_back(ListedFile{"page" + std::to_string(i) + ".htm", 0, 0});
    }
    SortByName(files);
    EXPECT_EQ(files.front().Name, "page1.htm");
    EXPECT_EQ(files[1].Name, "page10.htm");
    EXPECT_EQ(files.back().Name, "page999.htm");
}

}  // namespace
}  // namespace vantaro
