#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
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
    // still be found with its old text after a power cut (never with a mix of both).
    void SyncSavedPages() { unsyncedFolders_.SyncAll(); }

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
    bool WriteOutputText(DocumentFile& file);

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
    UnsyncedFolders unsyncedFolders_;
};

}  // namespace vantaro
