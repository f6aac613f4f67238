#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileHandle.h"

namespace vantaro {

// A page that is written over in place (where no new file can replace it) first has its old
// text copied to a recovery file in the user's cache folder; the copy is removed once the new
// text is on disk. A process killed part way through thus leaves the page wholly old, wholly
// new, or its old text in the recovery folder. All failures set errno.

// The steps of an in-place write, reported to an observer (for tests that end a write there).
enum class InPlaceStep {
    RecoveryBlockCopied,  // a block of the old text went to the recovery file's temporary file
    RecoveryKept,         // the recovery file is complete, on disk and under its own name
    PageBlockWritten,     // a block of the new text was written over the page
    PageSynced,           // the whole new text is on disk
    RecoveryRemoved,
};
using InPlaceObserver = std::function<void(InPlaceStep)>;

// The user's cache folder + "/Corvell/Vantaro/recovery/": $XDG_CACHE_HOME (else ~/.cache) on
// POSIX systems, the local application-data folder on Windows; empty when it is unknown.
std::string RecoveryFolder();

// The recovery file's name inside the folder for a page's absolute path (one name for every
// spelling of its separators): the path with '%',
// its separators (on Windows also the drive colon) and control bytes written as %XX. A name too
// long for one file name is split into folders of 200 bytes each, so the name still reads back to
// the path.
std::string RecoveryNameOf(const std::string& pagePath);
std::optional<std::string> PagePathOfRecoveryName(std::string_view name);

struct RecoveryEntry {
    std::string pagePath;
    std::string recoveryFile;  // full path
};

// Every recovery file, in page path order. Stale temporary files there are removed.
std::vector<RecoveryEntry> ListRecoveryFiles();

// One page's old text while its new text is written over it.
class RecoveryCopy {
  public:
    // Copies the page's content (read through page from its start) to the page's recovery file
    // and makes it durable. Fails with EEXIST while an earlier copy of the page is kept.
    bool Keep(const std::string& pagePath, FileHandle& page, const InPlaceObserver& observer);
    // Writes the old text back over the page and makes it durable.
    bool WriteBack(FileHandle& page) const;
    // Removes the recovery file.
    bool Discard();

  private:
    std::string file_;
};

// Writes a recovery file's text back over its page (which must exist), then removes the file.
bool RestoreFromRecovery(const RecoveryEntry& entry);

}  // namespace vantaro
