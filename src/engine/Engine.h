#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/DocumentFile.h"
#include "engine/EngineHost.h"
#include "engine/EngineSettings.h"
#include "engine/FileState.h"
#include "engine/IgnoredRegions.h"
#include "engine/PageWriter.h"
#include "engine/TagScanner.h"

namespace vantaro {

// A page whose passes are done and whose new text, if any, is not written yet: the two halves
// of ProcessFile, for runs that read pages on other threads and write them in list order.
struct PreparedPage {
    std::unique_ptr<DocumentFile> File;  // open; null when the page could not be opened
    bool Complete = false;               // the passes ran to the page's end
    bool TooLarge = false;               // over the size limit: left for ProcessFile
    bool Modified = false;
    std::int64_t AltCount = 0;
    std::int64_t TitleCount = 0;
    std::string OutputText;
    StagedContent Staged;  // the new text already written beside the page, if it was
};

// The engine's state and its per-page operation. A host owns one, fills its settings, builds
// the ignore-tag list whenever the language rows change, and calls ProcessFile for each page of
// a run.
class Engine {
  public:
    explicit Engine(EngineHost& host);

    EngineSettings& Settings() { return settings_; }
    const EngineSettings& Settings() const { return settings_; }
    RunFlags& Flags() { return flags_; }
    FileState& File() { return file_; }
    const IgnoreTagList& IgnoreTags() const { return ignoreTags_; }

    // Rebuilds the language regions from Settings().LanguageTags.
    void BuildIgnoreTagList();

    // Takes one page through a run: template detection, the checking pass that rebuilds its
    // text, the closing log lines, and the write-back when something was inserted.
    void ProcessFile(const std::string& fullPath, ScanMode mode);
    // ProcessFile's first half: opening, passes and closing log lines.
    PreparedPage PreparePage(const std::string& fullPath, ScanMode mode);
    // Its second half: unless AbortFile is set, writes a changed page's text and counts what was
    // reported or saved; closes the page. Events go to this engine's host.
    void FinishPage(PreparedPage& page);
    // Pages larger than this are opened but not prepared (TooLarge); 0 is no limit.
    void SetPreparedSizeLimit(std::uint64_t bytes) { preparedSizeLimit_ = bytes; }

    EngineHost& Host() { return host_; }
    // Takes over another engine's settings, language regions and read sizes.
    void CopyConfigurationFrom(const Engine& other);

    // Run totals, increased by every page that was reported (Scan, Preview) or saved.
    std::int64_t TotalAltCount = 0;
    std::int64_t TotalTitleCount = 0;

    // For tests: reading pages in pieces of this size instead of whole, and keeping
    // OutputText when the run would not write.
    void SetReadChunk(std::size_t bytes) {
        scanner_.SetReadChunk(bytes);
        wholeReadLimit_ = 0;
    }
    // Flushes the folders of the pages saved since the last call; until then a saved page may
    // still be found with its old text after a power cut (never with a mix of both). The old
    // files kept for reuse go.
    void SyncSavedPages() {
        unsyncedFolders_.SyncAll();
        unsyncedFolders_.Retired().RemoveAll();
    }
    // Old files of saved pages, which pages written ahead on other threads may reuse.
    RetiredFiles& RetiredPageFiles() { return unsyncedFolders_.Retired(); }

    void SetKeepOutputText(bool keep) { alwaysKeepOutput_ = keep; }
    // For tests: called before every read of a page (see DocumentFile::SetBeforeRead).
    void SetBeforeRead(std::function<int()> hook) { beforeRead_ = std::move(hook); }

  private:
    bool Writes(ScanMode mode) const { return mode != ScanMode::Scan && !settings_.PreviewMode; }
    bool RunPasses(DocumentFile& file, ScanMode mode);
    bool DetectTemplate(DocumentFile& file, std::string_view content);
    // Whether the page's text holds the editable-region marker anywhere, read in pieces.
    bool FileContainsMarker(DocumentFile& file, bool& found);
    void WriteClosingLines(const std::string& fullPath);
    bool WriteOutputText(DocumentFile& file, const std::string& text, StagedContent* staged);

    EngineHost& host_;
    EngineSettings settings_;
    RunFlags flags_;
    FileState file_;
    IgnoreTagList ignoreTags_;
    TagScanner scanner_;
    bool alwaysKeepOutput_ = false;
    // Pages up to this size are read once for both passes; larger ones are read as they go.
    std::uint64_t wholeReadLimit_ = 16 << 20;
    std::vector<char> pageBuffer_;  // reused from page to page
    std::function<int()> beforeRead_;
    std::uint64_t preparedSizeLimit_ = 0;
    UnsyncedFolders unsyncedFolders_;
};

}  // namespace vantaro
