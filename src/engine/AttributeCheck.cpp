#include "engine/AttributeCheck.h"

#include <vector>

#include "engine/ByteText.h"

namespace vantaro {

namespace {

bool IsAttributeNameByte(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == ':' || c == '.';
}

std::string Concat(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts) {
        text += part;
    }
    return text;
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

TagChecker::TagChecker(Context context)
    : c_(context), s_(context.state), fileName_(FileNameOf(context.fullPath)) {}

void TagChecker::OnOutsideText(std::string_view piece) {
    Append(piece);
}

void TagChecker::Append(std::string_view text) {
    if (c_.keepOutput) {
        s_.OutputText.append(text);
    }
}

void TagChecker::Log(std::string_view text, LogColour colour, bool endLine, FontStyle style) {
    c_.host.AddLogLine(text, colour, endLine, style);
}

void TagChecker::LogFilePrefix() {
    AddFilePrefix(c_.host, fileName_);
}

bool TagChecker::HandleTag(std::string_view tagText, std::uint64_t line) {
    std::string edited;
    bool stop = false;
    const TagKind kind = ClassifyTag(tagText);
    if (kind == TagKind::EditableStart) {
        s_.InEditableRegion = true;
    } else if (kind == TagKind::EditableEnd) {
        s_.InEditableRegion = false;
    } else if (kind != TagKind::None) {
        ExamineTag(kind, tagText, line, edited, stop);
    }
    Append(edited.empty() ? tagText : std::string_view(edited));
    return stop;
}

void TagChecker::ExamineTag(TagKind kind, std::string_view tagText, std::uint64_t line,
                            std::string& edited, bool& stop) {
    const EngineSettings& settings = c_.settings;
    const bool enabled = kind == TagKind::Img    ? settings.TagImg
                         : kind == TagKind::Area ? settings.TagArea
                                                 : settings.TagInput;
    if (!enabled) {
        return;
    }
    if (s_.TemplateDerived && !s_.InEditableRegion && !settings.UpdateDWTs) {
        return;  // template code is neither reported nor changed
    }
    const TagMask mask(tagText, c_.regions, maskStorage_);
    std::string altText;
    std::string titleText;
    GetAttributeValues(mask, "alt", altText, false, s_.AttrValueList, true);
    s_.AltAttrCount = static_cast<std::int64_t>(s_.AttrValueList.size());
    GetAttributeValues(mask, "title", titleText, false, s_.AttrValueList, true);
    s_.TitleAttrCount = static_cast<std::int64_t>(s_.AttrValueList.size());
    if (IsBlankValue(altText) || IsBlankValue(titleText)) {
        return;  // a present but empty attribute means the tag needs nothing
    }
    if (!altText.empty() && !titleText.empty()) {
        return;
    }
    if (s_.TemplateDerived) {
        if (!s_.TemplateChecksOn) {
            s_.TemplateChecksOn = s_.InEditableRegion;
        }
    } else if (!s_.PlainChecksOn) {
        s_.PlainChecksOn = !s_.InEditableRegion;
    }
    if (s_.TemplateChecksOn || s_.PlainChecksOn) {
        CheckTag(kind, altText, titleText, mask, edited, line, stop);
    }
}

bool TagChecker::ReadReferences(TagKind kind, const TagMask& mask, std::string& reference) {
    switch (kind) {
        case TagKind::Img:
            GetAttributeValues(mask, "Src", reference, true, s_.AttrValueList, false);
            return true;
        case TagKind::Area:
            GetAttributeValues(mask, "Shape", reference, false, s_.AttrValueList, false);
            return true;
        case TagKind::Input: {
            std::string type;
            GetAttributeValues(mask, "Type", type, false, s_.AttrValueList, false);
            if (!EqualsIgnoreAsciiCase(type, "Image")) {
                return false;
            }
            GetAttributeValues(mask, "Src", reference, true, s_.AttrValueList, false);
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
    const ScanMode mode = c_.mode;
    const EngineSettings& settings = c_.settings;
    if ((mode == ScanMode::Scan && settings.ShowMissingAltMsgs) || mode == ScanMode::AddAlt) {
        ReportAttribute(report, altText, LogColour::LogOrange, s_.FileAltCount, "alt");
    }
    if ((mode == ScanMode::Scan && settings.ShowMissingTitleMsgs) || mode == ScanMode::AddTitle) {
        ReportAttribute(report, titleText, LogColour::LogBlue, s_.FileTitleCount, "title");
    }
    if (hasImage) {
        AddFoundReferences(altText, titleText);
    }
    stop = report.stop;
}

void TagChecker::WriteLineHead(const TagReport& report) {
    if (s_.TemplateDerived && !s_.InEditableRegion && !s_.InTemplateSection) {
        LogFilePrefix();
        Log("Dreamweaver Template Start", LogColour::LogGrey, true, FontStyle::Underline);
        s_.InTemplateSection = true;
    }
    if (s_.TemplateDerived && s_.InEditableRegion && s_.InTemplateSection) {
        LogFilePrefix();
        Log("Dreamweaver Template End", LogColour::LogGrey, true, FontStyle::Underline);
        s_.InTemplateSection = false;
    }
    const bool inTemplateCode = s_.InTemplateSection && !s_.InEditableRegion;
    LogFilePrefix();
    Log("Line " + std::to_string(report.line), LogColour::LogGrey, false,
        inTemplateCode ? FontStyle(FontStyle::Underline) : FontStyle::Plain());
    Log(" : ", LogColour::LogGrey, false);
    Log(TagPrefix(report.kind), LogColour::LogDarkGrey, false);
    Log(": ", LogColour::LogGrey, false);
    Log(report.reference, LogColour::LogGrey, false);
    Log(" : ", LogColour::LogGrey, false);
}

void TagChecker::ReportAttribute(TagReport& report, std::string_view value, LogColour colour,
                                 std::int64_t& counter, std::string_view name) {
    if (!value.empty()) {
        return;
    }
    WriteLineHead(report);
    const bool multiple = s_.AltAttrCount > 1 || s_.TitleAttrCount > 1;
    const std::string_view repeated = s_.AltAttrCount > 1 ? "alt" : "title";
    if (c_.mode == ScanMode::Scan) {
        Log(Concat({name, " missing"}), colour, false);
        if (multiple) {
            Log(Concat({" : Multiple ", repeated, " attributes defined (Unsupported)"}),
                LogColour::LogDarkRed, true);
        } else {
            Log("", colour, true);
        }
        ++counter;
        return;
    }
    if (multiple) {
        Log(Concat({"Multiple ", repeated, " attributes defined (Unsupported)"}),
            LogColour::LogDarkRed, true);
    } else if (s_.AltAttrCount == 0 && s_.TitleAttrCount == 0) {
        Log(c_.mode == ScanMode::AddAlt ? "title missing - unable to add alt"
                                        : "alt missing - unable to add title",
            LogColour::LogDarkRed, true);
    } else if (c_.mode == ScanMode::AddAlt && report.altText.empty()) {
        AddAttribute(report, "alt", "title", report.titleText, counter);
    } else if (c_.mode == ScanMode::AddTitle && report.titleText.empty()) {
        AddAttribute(report, "title", "alt", report.altText, counter);
    }
}

// The dark-red line that tells why the attribute cannot be inserted, or empty when it can;
// anchor receives the 1-based place of the other attribute's name, before which it goes. A
// refusal means the tag was left as it is without trying; an add failure was a real attempt.
std::string TagChecker::InsertionFailure(const TagReport& report, std::string_view name,
                                         std::string_view otherName, std::string_view value,
                                         std::int64_t& anchor, bool& refused) {
    const bool addingAlt = name == "alt";
    const std::int64_t ownCount = addingAlt ? s_.AltAttrCount : s_.TitleAttrCount;
    refused = true;
    // The name is there without a quoted value: a second one would change which value counts.
    if (ownCount >= 1) {
        return Concat({name, " not quoted - unable to add ", name});
    }
    // Nothing that can be copied whole: no value, or one that runs into server code.
    if (!IsCopyableValue(value)) {
        return Concat({otherName, " not quoted - unable to add ", name});
    }
    refused = false;
    std::vector<std::string> scratch;
    std::string joined;
    std::vector<std::string>& list = c_.settings.PreviewMode ? scratch : s_.AttrValueList;
    anchor = GetAttributeValues(report.mask, otherName, joined, false, list, true);
    // Inserting inside a longer name (the title of data-title) would split that name.
    const std::string_view text = report.mask.Text();
    if (anchor == -1 ||
        (anchor >= 2 && IsAttributeNameByte(static_cast<unsigned char>(text[anchor - 2])))) {
        return Concat({name, " add failed ", value});
    }
    return {};
}

void TagChecker::AddAttribute(TagReport& report, std::string_view name, std::string_view otherName,
                              std::string_view value, std::int64_t& counter) {
    std::int64_t anchor = -1;
    bool refused = false;
    const std::string failure = InsertionFailure(report, name, otherName, value, anchor, refused);
    if (!failure.empty()) {
        Log(failure, LogColour::LogDarkRed, true);
    } else if (c_.settings.PreviewMode) {
        Log(Concat({name, " would be added : ", value}), LogColour::LogGreen, true);
        ++counter;
    } else {
        report.tag.assign(report.mask.Text());
        report.tag.insert(static_cast<std::size_t>(anchor - 1), Concat({name, "=", value, " "}));
        s_.Modified = true;
        Log(Concat({name, " added : ", value}), LogColour::LogGreen, true);
        ++counter;
    }
    if (c_.settings.PreviewMode) {
        return;  // a preview changes nothing and asks nothing
    }
    s_.AttrValueList.clear();
    if (!refused) {
        AskTemplateWarning(report);  // a refusal changed nothing there is to warn about
    }
}

void TagChecker::AskTemplateWarning(TagReport& report) {
    const EngineSettings& settings = c_.settings;
    if (s_.DWTDlgShown || !s_.TemplateDerived || s_.InEditableRegion || !settings.ShowDWTDlg ||
        !settings.UpdateDWTs || settings.PreviewMode) {
        return;
    }
    s_.DWTDlgShown = true;
    const TemplateWarningAnswer answer = c_.host.ShowTemplateWarning(c_.fullPath);
    if (answer == TemplateWarningAnswer::Yes) {
        return;
    }
    if (answer == TemplateWarningAnswer::No) {
        LogFilePrefix();
        Log("Update aborted by user", LogColour::LogRed, true);
    }
    if (answer == TemplateWarningAnswer::CancelByStop) {
        c_.flags.StopRequested.store(true, std::memory_order_relaxed);
    }
    c_.flags.AbortFile.store(true, std::memory_order_relaxed);
    report.stop = true;
}

bool TagChecker::IsIgnoredReference() {
    for (const std::string& item : s_.AttrValueList) {
        if (c_.host.IsIgnoredReference(item)) {
            return true;
        }
    }
    return false;
}

void TagChecker::AddFoundReferences(std::string_view altText, std::string_view titleText) {
    const EngineSettings& settings = c_.settings;
    if (!((settings.ShowMissingAltMsgs && altText.empty()) ||
          (settings.ShowMissingTitleMsgs && titleText.empty()))) {
        return;
    }
    for (const std::string& item : s_.AttrValueList) {
        if (!c_.host.IsFoundReference(item)) {
            c_.host.AddFoundReference(item);
        }
    }
}

}  // namespace vantaro
