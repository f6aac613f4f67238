#include "engine/AttributeCheck.h"

#include <optional>
#include <vector>

#include "engine/ByteText.h"

namespace vantaro {

namespace {

bool IsAttributeNameByte(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == ':' || c == '.';
}

std::string_view NameOf(AttributeName name) {
    return name == AttributeName::Alt ? "alt" : "title";
}

// A value that can be copied whole: one double-quoted string with no other quote in it. A
// quote inside server code between the quotes would leave the tag with an odd number of them.
bool IsCopyableValue(std::string_view value) {
    return value.size() >= 2 && value.front() == '"' && value.back() == '"' &&
           value.find('"', 1) == value.size() - 1;
}

}  // namespace

bool IsBlankValue(std::string_view value) {
    int quotes = 0;
    for (char c : value) {
        if (c == ' ') {
            continue;
        }
        if (c != '"' || ++quotes > 2) {
            return false;
        }
    }
    return quotes == 2;
}

TagChecker::TagChecker(Context context) : context_(context), page_(context.state) {}

void TagChecker::OnOutsideText(std::string_view piece) {
    Append(piece);
}

void TagChecker::Append(std::string_view text) {
    if (context_.keepOutput) {
        page_.OutputText.append(text);
    }
}

void TagChecker::ReportPage(PageEventKind kind) {
    context_.host.OnPageEvent({context_.fullPath, kind, {}});
}

bool TagChecker::HandleTag(std::string_view tagText, std::uint64_t line) {
    std::string edited;
    bool stop = false;
    const TagKind kind = ClassifyTag(tagText);
    if (kind == TagKind::EditableStart) {
        page_.InEditableRegion = true;
    } else if (kind == TagKind::EditableEnd) {
        page_.InEditableRegion = false;
    } else if (kind != TagKind::None) {
        ExamineTag(kind, tagText, line, edited, stop);
    }
    Append(edited.empty() ? tagText : std::string_view(edited));
    return stop;
}

void TagChecker::ExamineTag(TagKind kind, std::string_view tagText, std::uint64_t line,
                            std::string& edited, bool& stop) {
    const EngineSettings& settings = context_.settings;
    const bool enabled = kind == TagKind::Img    ? settings.TagImg
                         : kind == TagKind::Area ? settings.TagArea
                                                 : settings.TagInput;
    if (!enabled) {
        return;
    }
    if (page_.TemplateDerived && !page_.InEditableRegion && !settings.UpdateDWTs) {
        return;  // template code is neither reported nor changed
    }
    const TagMask mask(tagText, context_.regions, maskStorage_);
    std::string altText;
    std::string titleText;
    GetAttributeValues(mask, "alt", altText, false, page_.AttrValueList, true);
    page_.AltAttrCount = static_cast<std::int64_t>(page_.AttrValueList.size());
    GetAttributeValues(mask, "title", titleText, false, page_.AttrValueList, true);
    page_.TitleAttrCount = static_cast<std::int64_t>(page_.AttrValueList.size());
    if (IsBlankValue(altText) || IsBlankValue(titleText)) {
        return;  // a present but empty attribute means the tag needs nothing
    }
    if (!altText.empty() && !titleText.empty()) {
        return;
    }
    if (page_.TemplateDerived) {
        if (!page_.TemplateChecksOn) {
            page_.TemplateChecksOn = page_.InEditableRegion;
        }
    } else if (!page_.PlainChecksOn) {
        page_.PlainChecksOn = !page_.InEditableRegion;
    }
    if (page_.TemplateChecksOn || page_.PlainChecksOn) {
        CheckTag(kind, altText, titleText, mask, edited, line, stop);
    }
}

bool TagChecker::ReadReferences(TagKind kind, const TagMask& mask, std::string& reference) {
    switch (kind) {
        case TagKind::Img:
            GetAttributeValues(mask, "Src", reference, true, page_.AttrValueList, false);
            return true;
        case TagKind::Area:
            GetAttributeValues(mask, "Shape", reference, false, page_.AttrValueList, false);
            return true;
        case TagKind::Input: {
            std::string type;
            GetAttributeValues(mask, "Type", type, false, page_.AttrValueList, false);
            if (!EqualsIgnoreAsciiCase(type, "Image")) {
                return false;
            }
            GetAttributeValues(mask, "Src", reference, true, page_.AttrValueList, false);
            return true;
        }
        default:
            return false;
    }
}

void TagChecker::CheckTag(TagKind kind, std::string_view altText, std::string_view titleText,
                          const TagMask& mask, std::string& tag, std::uint64_t line, bool& stop) {
    std::string reference;
    if (!ReadReferences(kind, mask, reference)) {
        return;
    }
    const bool hasImage = kind != TagKind::Area;
    if (hasImage && IsIgnoredReference()) {
        return;  // neither reported, changed nor listed
    }
    TagReport report{kind, mask, tag, line, altText, titleText, reference};
    const ScanMode mode = context_.mode;
    const EngineSettings& settings = context_.settings;
    if ((mode == ScanMode::Scan && settings.ShowMissingAltMsgs) || mode == ScanMode::AddAlt) {
        ReportAttribute(report, altText, page_.FileAltCount, AttributeName::Alt);
    }
    if ((mode == ScanMode::Scan && settings.ShowMissingTitleMsgs) || mode == ScanMode::AddTitle) {
        ReportAttribute(report, titleText, page_.FileTitleCount, AttributeName::Title);
    }
    if (hasImage) {
        AddFoundReferences(altText, titleText);
    }
    stop = report.stop;
}

// Opens or closes the log's template section as the tag about to be reported lies in template
// code or in an editable region.
void TagChecker::FollowTemplateSection() {
    if (page_.TemplateDerived && !page_.InEditableRegion && !page_.InTemplateSection) {
        ReportPage(PageEventKind::TemplateStart);
        page_.InTemplateSection = true;
    }
    if (page_.TemplateDerived && page_.InEditableRegion && page_.InTemplateSection) {
        ReportPage(PageEventKind::TemplateEnd);
        page_.InTemplateSection = false;
    }
}

void TagChecker::ReportAttribute(TagReport& report, std::string_view value, std::int64_t& counter,
                                 AttributeName name) {
    if (!value.empty()) {
        return;
    }
    FollowTemplateSection();
    Finding finding;
    finding.FullPath = context_.fullPath;
    finding.Line = report.line;
    finding.Tag = report.kind;
    finding.Reference = report.reference;
    finding.Attribute = name;
    finding.InTemplateCode = page_.InTemplateSection && !page_.InEditableRegion;
    const bool multiple = page_.AltAttrCount > 1 || page_.TitleAttrCount > 1;
    const AttributeName repeated =
        page_.AltAttrCount > 1 ? AttributeName::Alt : AttributeName::Title;
    if (context_.mode == ScanMode::Scan) {
        finding.Kind = FindingKind::Missing;
        if (multiple) {
            finding.Repeated = repeated;
        }
        context_.host.OnFinding(finding);
        ++counter;
        return;
    }
    if (multiple) {
        finding.Kind = FindingKind::Multiple;
        finding.Repeated = repeated;
        context_.host.OnFinding(finding);
    } else if (page_.AltAttrCount == 0 && page_.TitleAttrCount == 0) {
        finding.Kind = FindingKind::NoSource;
        context_.host.OnFinding(finding);
    } else if (context_.mode == ScanMode::AddAlt && report.altText.empty()) {
        AddAttribute(report, finding, report.titleText, counter);
    } else if (context_.mode == ScanMode::AddTitle && report.titleText.empty()) {
        AddAttribute(report, finding, report.altText, counter);
    }
}

// Why the attribute cannot be inserted (NotQuoted, AddFailed), or nothing when it can; anchor
// receives the 1-based place of the other attribute's name, before which it goes. A refusal
// (NotQuoted) leaves the tag as it is without trying; an add failure was a real attempt.
std::optional<FindingKind> TagChecker::InsertionFailure(const TagReport& report, Finding& finding,
                                                        std::string_view value,
                                                        std::int64_t& anchor) {
    const bool addingAlt = finding.Attribute == AttributeName::Alt;
    const std::int64_t ownCount = addingAlt ? page_.AltAttrCount : page_.TitleAttrCount;
    const AttributeName other = addingAlt ? AttributeName::Title : AttributeName::Alt;
    // The name is there without a quoted value: a second one would change which value counts.
    if (ownCount >= 1) {
        finding.Unquoted = finding.Attribute;
        return FindingKind::NotQuoted;
    }
    // Nothing that can be copied whole: no value, or one that runs into server code.
    if (!IsCopyableValue(value)) {
        finding.Unquoted = other;
        return FindingKind::NotQuoted;
    }
    std::vector<std::string> scratch;
    std::string joined;
    std::vector<std::string>& list = context_.settings.PreviewMode ? scratch : page_.AttrValueList;
    anchor = GetAttributeValues(report.mask, NameOf(other), joined, false, list, true);
    // Inserting inside a longer name (the title of data-title) would split that name.
    const std::string_view text = report.mask.Text();
    if (anchor == -1 ||
        (anchor >= 2 && IsAttributeNameByte(static_cast<unsigned char>(text[anchor - 2])))) {
        return FindingKind::AddFailed;
    }
    return std::nullopt;
}

void TagChecker::AddAttribute(TagReport& report, Finding& finding, std::string_view value,
                              std::int64_t& counter) {
    std::int64_t anchor = -1;
    finding.Value = value;
    const std::optional<FindingKind> failure = InsertionFailure(report, finding, value, anchor);
    if (failure) {
        finding.Kind = *failure;
        if (*failure == FindingKind::NotQuoted) {
            finding.Value = {};  // nothing was found that could be copied
        }
    } else if (context_.settings.PreviewMode) {
        finding.Kind = FindingKind::WouldBeAdded;
        ++counter;
    } else {
        report.tag.assign(report.mask.Text());
        const std::string_view name = NameOf(finding.Attribute);
        report.tag.insert(static_cast<std::size_t>(anchor - 1),
                          std::string(name) + "=" + std::string(value) + " ");
        page_.Modified = true;
        finding.Kind = FindingKind::Added;
        ++counter;
    }
    context_.host.OnFinding(finding);
    if (context_.settings.PreviewMode) {
        return;  // a preview changes nothing and asks nothing
    }
    page_.AttrValueList.clear();
    if (finding.Kind != FindingKind::NotQuoted) {
        AskTemplateWarning(report);  // a refusal changed nothing there is to warn about
    }
}

void TagChecker::AskTemplateWarning(TagReport& report) {
    const EngineSettings& settings = context_.settings;
    if (page_.DWTDlgShown || !page_.TemplateDerived || page_.InEditableRegion ||
        !settings.ShowDWTDlg || !settings.UpdateDWTs || settings.PreviewMode) {
        return;
    }
    page_.DWTDlgShown = true;
    const TemplateWarningAnswer answer = context_.host.ShowTemplateWarning(context_.fullPath);
    if (answer == TemplateWarningAnswer::Yes) {
        return;
    }
    if (answer == TemplateWarningAnswer::No) {
        ReportPage(PageEventKind::UpdateAborted);
    }
    if (answer == TemplateWarningAnswer::CancelByStop) {
        context_.flags.StopRequested.store(true, std::memory_order_relaxed);
    }
    context_.flags.AbortFile.store(true, std::memory_order_relaxed);
    report.stop = true;
}

bool TagChecker::IsIgnoredReference() {
    for (const std::string& item : page_.AttrValueList) {
        if (context_.host.IsIgnoredReference(item)) {
            return true;
        }
    }
    return false;
}

void TagChecker::AddFoundReferences(std::string_view altText, std::string_view titleText) {
    const EngineSettings& settings = context_.settings;
    if (!((settings.ShowMissingAltMsgs && altText.empty()) ||
          (settings.ShowMissingTitleMsgs && titleText.empty()))) {
        return;
    }
    for (const std::string& item : page_.AttrValueList) {
        if (!context_.host.IsFoundReference(item)) {
            context_.host.AddFoundReference(item);
        }
    }
}

}  // namespace vantaro
