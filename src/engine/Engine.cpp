#include "engine/Engine.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/AttributeCheck.h"
#include "engine/ByteText.h"
#include "engine/PageWriteSection.h"
#include "engine/PageWriter.h"
#include "engine/TagKinds.h"

namespace vantaro {

namespace {

// The first pass only finds out whether the page was made from a template: it stops at the
// first editable-region start marker.
class TemplateDetector : public ScanPassHandler {
  public:
    explicit TemplateDetector(FileState& state) : state_(state) {}

    bool OnTag(std::string_view tagText, std::uint64_t /*line*/) override {
        state_.TemplateDerived = ClassifyTag(tagText) == TagKind::EditableStart;
        return state_.TemplateDerived;
    }
    // Any other tag leaves TemplateDerived false, as it was before the pass.
    const TagStartPairs* TagsActedOn() const override { return &KindStartPairs(); }

  private:
    FileState& state_;
};

}  // namespace

Engine::Engine(EngineHost& host) : host_(host), scanner_(ignoreTags_, flags_, host) {
    BuildIgnoreTagList();
}

void Engine::BuildIgnoreTagList() {
    ignoreTags_.BuildIgnoreTagList(settings_.LanguageTags);
}

void Engine::CopyConfigurationFrom(const Engine& other) {
    settings_ = other.settings_;
    BuildIgnoreTagList();
    scanner_.SetReadChunk(other.scanner_.ReadChunk());
    wholeReadLimit_ = other.wholeReadLimit_;
    alwaysKeepOutput_ = other.alwaysKeepOutput_;
    beforeRead_ = other.beforeRead_;
}

void Engine::ProcessFile(const std::string& fullPath, ScanMode mode) {
    PreparedPage page = PreparePage(fullPath, mode);
    FinishPage(page);
}

PreparedPage Engine::PreparePage(const std::string& fullPath, ScanMode mode) {
    file_.Modified = false;
    file_.DWTDlgShown = false;
    PreparedPage page;
    page.File = std::make_unique<DocumentFile>(host_, fullPath);
    DocumentFile& file = *page.File;
    file.SetBeforeRead(beforeRead_);
    if (!file.OpenDocFile(true, Writes(mode) ? PageAccess::ReadWrite : PageAccess::Read)) {
        page.File.reset();
        return page;
    }
    if (preparedSizeLimit_ != 0 && file.FileSize() > preparedSizeLimit_) {
        page.TooLarge = true;
        return page;
    }
    page.Complete = RunPasses(file, mode);
    page.Modified = file_.Modified;
    page.AltCount = file_.FileAltCount;
    page.TitleCount = file_.FileTitleCount;
    if (Writes(mode) || alwaysKeepOutput_) {
        page.OutputText = std::move(file_.OutputText);
    }
    // A large page's text is not kept between pages.
    std::string().swap(file_.OutputText);
    return page;
}

void Engine::FinishPage(PreparedPage& page) {
    if (!page.File) {
        return;
    }
    DocumentFile& file = *page.File;
    file.SetEvents(host_);
    // An incomplete text (a pass cut short by a failure) is never written back, and only what
    // was reported or saved counts.
    if (page.Complete && !flags_.AbortFile.load() &&
        (!page.Modified || WriteOutputText(file, page.OutputText, &page.Staged))) {
        TotalAltCount += page.AltCount;
        TotalTitleCount += page.TitleCount;
    }
    if (alwaysKeepOutput_) {
        file_.OutputText = std::move(page.OutputText);
    }
    std::string().swap(page.OutputText);
    page.Staged.Discard();  // not used: the page was abandoned
    file.CloseDocFile();
    page.File.reset();
}

bool Engine::DetectTemplate(DocumentFile& file, std::string_view content) {
    // Without the marker's text anywhere no tag can start with it, and the pass is not needed.
    bool markerFound = false;
    if (content.data() != nullptr) {
        markerFound = ContainsIgnoreAsciiCase(content, TagPrefix(TagKind::EditableStart));
    } else if (!FileContainsMarker(file, markerFound)) {
        return false;
    }
    if (!markerFound) {
        return true;
    }
    TemplateDetector detector(file_);
    return content.data() == nullptr ? scanner_.ScanPass(file, false, detector)
                                     : scanner_.ScanPass(file, content, false, detector);
}

bool Engine::FileContainsMarker(DocumentFile& file, bool& found) {
    const std::string_view marker = TagPrefix(TagKind::EditableStart);
    const std::size_t chunk = scanner_.ReadChunk();
    found = false;
    if (!file.SeekFileStart()) {
        return false;
    }
    // Each piece starts with the end of the one before, so a marker across a boundary is seen.
    std::vector<unsigned char> buffer(marker.size() - 1 + chunk);
    std::size_t kept = 0;
    while (true) {
        std::size_t got = 0;
        if (!file.ReadFileBlock(buffer.data() + kept, chunk, got)) {
            return false;
        }
        const std::string_view piece(reinterpret_cast<const char*>(buffer.data()), kept + got);
        if (ContainsIgnoreAsciiCase(piece, marker)) {
            found = true;
            return true;
        }
        host_.PumpEvents();
        if (got < chunk || flags_.AbortFile.load()) {
            return true;  // an aborted page's pass ends at once
        }
        const std::size_t carry = std::min(piece.size(), marker.size() - 1);
        std::memmove(buffer.data(), buffer.data() + piece.size() - carry, carry);
        kept = carry;
    }
}

bool Engine::RunPasses(DocumentFile& file, ScanMode mode) {
    file_.TemplateDerived = false;
    file_.InEditableRegion = false;
    file_.InTemplateSection = false;
    const bool whole = file.FileSize() <= wholeReadLimit_;
    std::string_view text;
    if (whole && !file.ReadWhole(pageBuffer_, text)) {
        return false;
    }
    if (!DetectTemplate(file, text)) {
        return false;
    }
    file_.FileAltCount = 0;
    file_.TemplateChecksOn = false;
    file_.PlainChecksOn = false;
    file_.OutputText.clear();
    file_.FileTitleCount = 0;
    file_.InEditableRegion = false;
    file_.InTemplateSection = false;
    TagChecker checker({file_, settings_, host_, flags_, ignoreTags_, mode, file.FullPath(),
                        Writes(mode) || alwaysKeepOutput_});
    const bool scanned = whole ? scanner_.ScanPass(file, text, true, checker)
                               : scanner_.ScanPass(file, true, checker);
    if (!scanned) {
        return false;
    }
    WriteClosingLines(file.FullPath());
    return true;
}

void Engine::WriteClosingLines(const std::string& fullPath) {
    const auto report = [&](PageEventKind kind) { host_.OnPageEvent({fullPath, kind, {}}); };
    if (flags_.StopRequested.load()) {
        report(PageEventKind::StoppedByUser);
    }
    if (flags_.AbortFile.load()) {
        report(PageEventKind::NotSaved);
        return;
    }
    if (file_.TemplateDerived && file_.InTemplateSection) {
        report(PageEventKind::TemplateEnd);
        file_.InTemplateSection = false;
    }
    if (file_.FileAltCount + file_.FileTitleCount == 0) {
        report(PageEventKind::NoChanges);
    }
}

bool Engine::WriteOutputText(DocumentFile& file, const std::string& text, StagedContent* staged) {
    const PageSaveResult saved = WhileWritingPage([&] {
        return ReplacePageContent(file.FullPath(), file.Handle(), file.IdentityAtOpen(), text, {},
                                  &unsyncedFolders_, staged);
    });
    switch (saved.outcome) {
        case PageSave::Saved:
            host_.OnPageEvent({file.FullPath(), PageEventKind::Updated, {}});
            return true;
        case PageSave::ChangedOnDisk:
            host_.OnPageEvent({file.FullPath(), PageEventKind::ChangedOnDisk, {}});
            return false;
        case PageSave::Failed:
            break;
    }
    const std::string reason = std::strerror(saved.error);
    host_.OnPageEvent({file.FullPath(), PageEventKind::WriteFailed, reason});
    return false;
}

}  // namespace vantaro
