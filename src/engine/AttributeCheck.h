#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/AttributeReader.h"
#include "engine/EngineHost.h"
#include "engine/EngineSettings.h"
#include "engine/FileState.h"
#include "engine/IgnoredRegions.h"
#include "engine/TagKinds.h"
#include "engine/TagScanner.h"

namespace vantaro {

// True when the text, with every blank removed, is just two double quotes: an attribute that
// is present but empty or blank.
bool IsBlankValue(std::string_view value);

// The second pass's handlers: rebuilds the page's text in OutputText and, for every image, area
// and image-input tag, reports a missing alt or title and in the adding modes inserts one from
// the other. Also follows the editable regions of template-derived pages.
class TagChecker : public ScanPassHandler {
  public:
    struct Context {
        FileState& state;
        const EngineSettings& settings;
        EngineHost& host;
        RunFlags& flags;
        IgnoreTagList& regions;
        ScanMode mode;
        const std::string& fullPath;
        bool keepOutput;  // whether OutputText is needed (only a writing run needs it)
    };

    explicit TagChecker(Context context);

    void OnOutsideText(std::string_view piece) override;  // AppendOutsideText
    bool OnTag(std::string_view tagText, std::uint64_t line) override {
        return HandleTag(tagText, line);
    }
    void OnUnclosedTag(std::string_view tagText) override { Append(tagText); }
    const TagStartPairs* TagsActedOn() const override { return &KindStartPairs(); }

    bool HandleTag(std::string_view tagText, std::uint64_t line);

  private:
    // What ReportAttribute reads of the CheckTag call that invoked it.
    struct TagReport {
        TagKind kind;
        const TagMask& mask;
        std::string& tag;  // the tag text, changed in place by an insertion
        std::uint64_t line;
        std::string_view altText;
        std::string_view titleText;
        std::string_view reference;
        bool stop = false;
    };

    void ExamineTag(TagKind kind, std::string_view tagText, std::uint64_t line, std::string& edited,
                    bool& stop);
    void CheckTag(TagKind kind, std::string_view altText, std::string_view titleText,
                  const TagMask& mask, std::string& tag, std::uint64_t line, bool& stop);
    bool ReadReferences(TagKind kind, const TagMask& mask, std::string& reference);
    void ReportAttribute(TagReport& report, std::string_view value, std::int64_t& counter,
                         AttributeName name);
    void FollowTemplateSection();
    void AddAttribute(TagReport& report, Finding& finding, std::string_view value,
                      std::int64_t& counter);
    std::optional<FindingKind> InsertionFailure(const TagReport& report, Finding& finding,
                                                std::string_view value, std::int64_t& anchor);
    void AskTemplateWarning(TagReport& report);
    bool IsIgnoredReference();
    void AddFoundReferences(std::string_view altText, std::string_view titleText);

    void Append(std::string_view text);
    void ReportPage(PageEventKind kind);

    Context context_;
    FileState& page_;          // the working fields of the page being processed
    std::string maskStorage_;  // reused from tag to tag
};

}  // namespace vantaro
