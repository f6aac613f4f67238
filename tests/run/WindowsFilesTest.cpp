// Pages and folders as Windows has them: attributes instead of permission bits, UTF-16 names of
// any length, files held open by other programs.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "engine/Engine.h"
#include "engine/RecoveryFiles.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "run/FolderListing.h"
#include "support/CacheFolder.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"

namespace vantaro {
namespace {

using namespace test;
namespace fs = std::filesystem;

const std::string kPage = "<img src=\"a\" title=\"T\">";
const std::string kNewPage = "<img src=\"a\" alt=\"T\" title=\"T\">";

std::wstring Wide(const std::string& path) {
    return fs::path(std::u8string(path.begin(), path.end())).wstring();
}

DWORD Attributes(const std::string& path) {
    return ::GetFileAttributesW(Wide(path).c_str());
}

void AddAttributes(const std::string& path, DWORD attributes) {
    ASSERT_TRUE(::SetFileAttributesW(Wide(path).c_str(), Attributes(path) | attributes));
}

// Wine keeps the hidden attribute only where the Linux file system takes extended attributes.
bool KeepsHidden(const std::string& path) {
    return (Attributes(path) & FILE_ATTRIBUTE_HIDDEN) != 0;
}

std::vector<PageEventKind> AddAlt(const std::string& path) {
    RecordingHost host;
    Engine engine(host);
    host.flags = &engine.Flags();
    engine.Settings().PreviewMode = false;
    engine.ProcessFile(path, ScanMode::AddAlt);
    return host.pageEvents;
}

TEST(WindowsFiles, APageWithTheReadOnlyAttributeIsReadButNeverWritten) {
    TempDir dir;
    const std::string page = dir.Write("page.htm", kPage);
    AddAttributes(page, FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(AddAlt(page), std::vector<PageEventKind>{PageEventKind::OpenFailed});
    EXPECT_EQ(ReadWholeFile(page), kPage);
    EXPECT_EQ(ReadablePageSize(page), kPage.size());
    ::SetFileAttributesW(Wide(page).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(WindowsFiles, AReplacedPageKeepsItsAttributesWhateverItsNameAndLength) {
    CacheFolder cache;
    TempDir dir;
    // Names beyond the system's code page, and a path longer than the old 260-character limit.
    std::string folder = dir.Path() + "Sit\xC3\xA9 \xE2\x9C\x93 \xE6\x97\xA5\xE6\x9C\xAC/";
    while (folder.size() < 300) {
        folder += std::string(40, 'f') + "/";
    }
    ASSERT_TRUE(MakeFolders(folder, false));
    const std::string page = folder + "\xC3\xBC\xF0\x9F\x98\x80.htm";
    {
        fs::path target(Wide(page));
        std::FILE* out = ::_wfopen((L"\\\\?\\" + target.make_preferred().wstring()).c_str(), L"wb");
        ASSERT_NE(out, nullptr);
        std::fwrite(kPage.data(), 1, kPage.size(), out);
        std::fclose(out);
    }
    AddAttributes(page, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
    const bool hiddenKept = KeepsHidden(page);

    EXPECT_EQ(AddAlt(page), std::vector<PageEventKind>{PageEventKind::Updated});
    const std::optional<FileStatus> after = StatusOf(page);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->size, kNewPage.size());
    if (hiddenKept) {
        EXPECT_NE(after->mode & FILE_ATTRIBUTE_HIDDEN, 0u);
    }
    const std::optional<std::vector<FolderEntry>> names = ListFolder(folder);
    ASSERT_TRUE(names);
    ASSERT_EQ(names->size(), 1u);  // no temporary file or backup is left
    EXPECT_EQ(names->front().name, std::string(FileNameOf(page)));
    EXPECT_TRUE(ListRecoveryFiles().empty());
}

TEST(WindowsFiles, APageOpenElsewhereWithoutDeleteSharingIsWrittenInPlace) {
    CacheFolder cache;
    TempDir dir;
    const std::string page = dir.Write("page.htm", kPage);
    // Another program holds the page open, letting others read and write it but not replace it.
    const HANDLE other =
        ::CreateFileW(Wide(page).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    const std::vector<PageEventKind> events = AddAlt(page);
    ::CloseHandle(other);
    EXPECT_EQ(events, std::vector<PageEventKind>{PageEventKind::Updated});
    EXPECT_EQ(ReadWholeFile(page), kNewPage);
    EXPECT_TRUE(ListRecoveryFiles().empty());  // the old text's copy went once the page was safe
    EXPECT_EQ(ListFolder(dir.Path())->size(), 1u);
}

TEST(WindowsFiles, HiddenMeansTheHiddenAttribute) {
    TempDir dir;
    dir.Write("shown.htm", kPage);
    const std::string hidden = dir.Write("hidden.htm", kPage);
    AddAttributes(hidden, FILE_ATTRIBUTE_HIDDEN);
    if (!KeepsHidden(hidden)) {
        GTEST_SKIP() << "this file system keeps no hidden attribute under Wine";
    }
    std::vector<std::string> names;
    for (const ListedFile& file : ListFolderFiles(dir.Path(), {"htm"})) {
        names.push_back(file.Name);
    }
    EXPECT_EQ(names, std::vector<std::string>{"shown.htm"});
}

TEST(WindowsFiles, PathsHaveDrivesAndBothSeparators) {
    EXPECT_EQ(FileNameOf("C:\\site\\pages/index.htm"), "index.htm");
    EXPECT_EQ(FileNameOf("C:index.htm"), "index.htm");
    EXPECT_EQ(FolderOf("C:\\site\\index.htm"), "C:\\site\\");
    EXPECT_TRUE(IsAbsolutePath("\\\\server\\share\\a.htm"));
    EXPECT_FALSE(IsAbsolutePath("site\\a.htm"));
    // A page's recovery file is one name inside the recovery folder, and reads back to the page.
    const std::string page = "C:\\Sites\\100%\\a.htm";
    const std::string name = RecoveryNameOf(page);
    EXPECT_EQ(name.find_first_of("\\/:"), std::string::npos);
    EXPECT_EQ(PagePathOfRecoveryName(name), page);
    // One page, one recovery file, however its separators were spelt.
    EXPECT_EQ(RecoveryNameOf("C:/Sites/100%/a.htm"), name);
}

}  // namespace
}  // namespace vantaro
