#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantaro {

// The engine's working fields for the page being processed.
struct FileState {
    bool Modified = false;           // an attribute was inserted into OutputText
    bool DWTDlgShown = false;        // the template-code warning was shown for this page
    bool TemplateDerived = false;    // the page holds an editable-region start marker
    bool TemplateChecksOn = false;   // latch: checks began inside an editable region
    bool PlainChecksOn = false;      // latch: checks began outside editable regions
    bool InEditableRegion = false;   // between an editable-region start and end marker
    bool InTemplateSection = false;  // the log is inside a "Dreamweaver Template Start" section
    std::int64_t AltAttrCount = 0;   // places where "alt" occurs in the current tag
    std::int64_t TitleAttrCount = 0;
    std::int64_t FileAltCount = 0;  // per-page report counters
    std::int64_t FileTitleCount = 0;
    std::string OutputText;                  // the page's new text
    std::vector<std::string> AttrValueList;  // the values of the last attribute read
};

}  // namespace vantaro
