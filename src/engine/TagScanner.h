#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/DocumentFile.h"
#include "engine/EngineHost.h"
#include "engine/IgnoredRegions.h"
#include "engine/StopFinder.h"
#include "engine/TagKinds.h"

namespace vantaro {

// Receives the segments of one pass: the outside text (possibly in several pieces) and every
// complete tag, '<' to '>' inclusive, with the line of its '>'.
class ScanPassHandler {
  public:
    virtual ~ScanPassHandler() = default;
    virtual void OnOutsideText(std::string_view /*piece*/) {}
    // Returns true to end the pass at once (nothing after the tag is delivered).
    virtual bool OnTag(std::string_view tagText, std::uint64_t line) = 0;
    // An unclosed tag left at the end of a pass that no handler stopped.
    virtual void OnUnclosedTag(std::string_view /*tagText*/) {}
    // The two bytes after '<' of the tags this handler acts on, or null for every tag. Any
    // other tag may come as part of the outside text around it, which a handler that merely
    // passes such tags on cannot tell apart.
    virtual const TagStartPairs* TagsActedOn() const { return nullptr; }
};

// Splits a page into outside text and tags. It knows only '<', '>', the double quote and the
// line feed: one quote flag runs through the whole file, inside and outside tags and regions,
// and no tag starts or ends while the quote flag is set or a language region is open.
class TagScanner {
  public:
    TagScanner(IgnoreTagList& regions, RunFlags& flags, EngineHost& host)
        : regions_(regions), flags_(flags), host_(host) {}

    // How many bytes each read asks for. Only speed depends on it; tests make it tiny to put
    // block boundaries everywhere.
    void SetReadChunk(std::size_t bytes) { readChunk_ = bytes == 0 ? 1 : bytes; }
    std::size_t ReadChunk() const { return readChunk_; }

    // One pass over the open file. False when seeking or reading failed; true otherwise, also
    // when a handler stopped the pass or AbortFile ended it. The second pass reports progress.
    bool ScanPass(DocumentFile& file, bool secondPass, ScanPassHandler& handler);
    // The same over the page's content, already read whole from the file.
    bool ScanPass(DocumentFile& file, std::string_view content, bool secondPass,
                  ScanPassHandler& handler);

    // The stop search with the delimiter starts it was last given: kept from pass to pass,
    // since the regions are mostly the same at every page's start.
    struct StopSearchState {
        StopFinder finder;
        unsigned regionsVersion = 0;
        bool synced = false;
        // The pairs of bytes after '<' at which the search stops outside regions: those of the
        // tags acted on and those an open delimiter can begin with.
        TagStartPairs openStops;
        const TagStartPairs* openStopsActedOn = nullptr;
        unsigned openStopsRows = 0;
        bool openStopsMade = false;
    };

  private:
    IgnoreTagList& regions_;
    RunFlags& flags_;
    EngineHost& host_;
    std::size_t readChunk_ = 256 * 1024;
    StopSearchState stops_;
};

}  // namespace vantaro
