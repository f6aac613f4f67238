#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/TagKinds.h"

namespace vantaro {

// What the engine tells its host about a page, as typed events. How they are worded, coloured
// and printed is the hosts' business (one formatter makes the log's text from them); the views
// below live only for the call.

enum class AttributeName : std::uint8_t { Alt, Title };

// What a finding says of the attribute it names.
enum class FindingKind : std::uint8_t {
    Missing,       // a scan found the attribute missing
    WouldBeAdded,  // a preview would add it, copying Value
    Added,         // it was added, copying Value
    AddFailed,     // no place to insert it was found; Value is what would have been copied
    NotQuoted,     // Unquoted has no quoted value that can be copied or kept: left alone
    NoSource,      // neither attribute is there to copy from
    Multiple,      // Repeated occurs more than once in the tag: not supported
};

// One image, area or image-input tag reported for one attribute: the missing one in a scan,
// the one being added in the adding modes.
struct Finding {
    std::string_view FullPath;
    std::uint64_t Line = 0;  // of the tag's closing '>'
    TagKind Tag = TagKind::Img;
    std::string_view Reference;  // the image file names, or the area's shape, joined by " : "
    AttributeName Attribute = AttributeName::Alt;
    FindingKind Kind = FindingKind::Missing;
    std::string_view Value;  // with its double quotes
    AttributeName Unquoted = AttributeName::Alt;
    // Multiple, and a scan's Missing in a tag where an attribute is repeated.
    std::optional<AttributeName> Repeated;
    bool InTemplateCode = false;  // the tag lies in code that came from a template
};

enum class PageEventKind : std::uint8_t {
    TemplateStart,  // the findings that follow lie in template code
    TemplateEnd,    // they lie in editable regions again
    NoChanges,      // nothing was reported for the page
    Updated,        // the page's new text was saved
    OpenFailed,
    SeekFailed,
    ReadFailed,
    CloseFailed,
    WriteFailed,    // Reason tells why
    ChangedOnDisk,  // another program changed, replaced or removed the page: nothing was saved
    StoppedByUser,  // Stop was confirmed during the page
    NotSaved,       // the page's changes were abandoned
    UpdateAborted,  // the template-code warning was answered No
};

struct PageEvent {
    std::string_view FullPath;
    PageEventKind Kind = PageEventKind::NoChanges;
    std::string_view Reason;  // WriteFailed: the system's words
};

// Receives the engine's events, in the order they happen.
class EngineEvents {
  public:
    virtual ~EngineEvents() = default;
    virtual void OnFinding(const Finding& finding) = 0;
    virtual void OnPageEvent(const PageEvent& event) = 0;
};

}  // namespace vantaro
