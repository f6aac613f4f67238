#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/RecoveryFiles.h"
#include "platform/FileHandle.h"
#include "platform/FileReplace.h"
#include "platform/FileStatus.h"

namespace vantaro {

enum class PageSave {
    Saved,
    ChangedOnDisk,  // the page is no longer the file that was read; nothing was written
    Failed,         // the new text did not reach the disk; the page holds its old text
};

struct PageSaveResult {
    PageSave outcome = PageSave::Failed;
    int error = 0;  // errno of a failure
};

// Folders holding renamed pages whose new entries have not been flushed to disk yet, and the
// pages' old files kept to take later pages' new text. A run flushes its folder after many
// pages instead of once per page.
class UnsyncedFolders {
  public:
    UnsyncedFolders() = default;
    UnsyncedFolders(const UnsyncedFolders&) = delete;
    UnsyncedFolders& operator=(const UnsyncedFolders&) = delete;
    ~UnsyncedFolders() { SyncAll(); }

    // Flushes the folder noted before when it is another one, and this one when enough old
    // files wait for it before they can be reused, unless flushes of the whole file system
    // are coming anyway (flushesComing): staged pages wait for those.
    void Add(const std::string& folder, bool flushesComing = false);
    void SyncAll();
    RetiredFiles& Retired() { return retired_; }

  private:
    static constexpr std::size_t kRetiredPerSync = 32;
    RetiredFiles retired_;
    std::string folder_;
    bool pending_ = false;
};

// Replaces a page's content with its new text so that the page always holds either its
// complete old or its complete new content. Nothing is written when the file at the path is no
// longer the one read (asRead): another program changed, replaced or deleted it meanwhile.
//
// The new text goes to a temporary file beside the page (behind a symbolic link: beside its
// target), is flushed to disk and renamed over the page, keeping its permission bits and, where
// allowed, its owner. Where no temporary file can be made in that folder, and where the page
// has other names (hard links, which a rename would leave with the old text), and where another
// program holds the page open so that it cannot be replaced, the open page is written over in
// place instead, its old text kept in a recovery file until the new text is on
// disk. Leaves no temporary file. With `unsynced`, the folder of a renamed page is noted there
// to be flushed later instead of at once, and the page's old file, when nothing else holds it,
// is kept there to take a later page's new text. With `staged` ready (the same new text, written
// beside the page ahead of time), that file is renamed over the page instead of writing one
// now; it is used up or removed either way.
PageSaveResult ReplacePageContent(const std::string& fullPath, FileHandle& openPage,
                                  const FileIdentity& asRead, std::string_view newText,
                                  const InPlaceObserver& observer = {},
                                  UnsyncedFolders* unsynced = nullptr,
                                  StagedContent* staged = nullptr);

// Writes a page's new text beside it ahead of its turn, when a rename will replace it: the page
// still is the file read (asRead) and has no other names. Not Ready otherwise, and when
// anything failed: then ReplacePageContent writes it the usual way and reports what fails.
StagedContent StagePageContent(const std::string& fullPath, const FileIdentity& asRead,
                               std::string_view newText, RetiredFiles* retired = nullptr);

}  // namespace vantaro
