// Fuzzes the per-page pass: random pages under random settings must never crash, Scan and
// Preview must never write, and a writing run may only add whole attributes of the form
// name="value" plus one blank, each just before an attribute name.

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/ByteText.h"
#include "engine/Engine.h"

namespace {

using namespace vantaro;

class FuzzHost : public EngineHost {
  public:
    void OnFinding(const Finding&) override {}
    void OnPageEvent(const PageEvent&) override {}
    void AdvanceProgress(std::uint64_t bytes) override { progress += bytes; }
    void PumpEvents() override {}
    bool IsIgnoredReference(std::string_view reference) override {
        return EqualsIgnoreAsciiCase(reference, "x.gif");
    }
    bool IsFoundReference(std::string_view) override { return false; }
    void AddFoundReference(std::string_view) override {}
    TemplateWarningAnswer ShowTemplateWarning(const std::string&) override { return answer; }

    std::uint64_t progress = 0;
    TemplateWarningAnswer answer = TemplateWarningAnswer::Yes;
};

const std::string& Folder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/vantaro-fuzz-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        return std::string(made != nullptr ? made : "/tmp");
    }();
    return folder;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Length of an insertion `name="value" ` at the start of text, or 0.
std::size_t InsertionLength(std::string_view text) {
    std::size_t nameLength = 0;
    if (text.substr(0, 5) == "alt=\"") {
        nameLength = 3;
    } else if (text.substr(0, 7) == "title=\"") {
        nameLength = 5;
    } else {
        return 0;
    }
    const std::size_t close = text.find('"', nameLength + 2);
    if (close == std::string_view::npos || close + 1 >= text.size() || text[close + 1] != ' ') {
        return 0;
    }
    return close + 2;
}

bool StartsWithAttributeName(std::string_view text) {
    return StartsWithIgnoreAsciiCase(text, "alt") || StartsWithIgnoreAsciiCase(text, "title");
}

// True when `after` is `before` with whole insertions, each just before an attribute name.
bool OnlyWholeInsertions(std::string_view before, std::string_view after) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (j < after.size()) {
        if (i < before.size() && before[i] == after[j]) {
            ++i;
            ++j;
            continue;
        }
        const std::size_t inserted = InsertionLength(after.substr(j));
        if (inserted == 0 || !StartsWithAttributeName(before.substr(i))) {
            return false;
        }
        j += inserted;
    }
    return i == before.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    const std::uint8_t modeByte = data[0];
    const std::uint8_t flagByte = data[1];
    const std::uint8_t extraByte = data[2];
    const std::string page(reinterpret_cast<const char*>(data + 3), size - 3);

    FuzzHost host;
    Engine engine(host);
    EngineSettings& settings = engine.Settings();
    const auto mode = static_cast<ScanMode>(modeByte % 3);
    settings.PreviewMode = (flagByte & 1) != 0;
    settings.TagImg = (flagByte & 2) == 0;
    settings.TagArea = (flagByte & 4) == 0;
    settings.TagInput = (flagByte & 8) == 0;
    settings.ShowMissingAltMsgs = (flagByte & 16) == 0;
    settings.ShowMissingTitleMsgs = (flagByte & 32) == 0;
    settings.UpdateDWTs = (flagByte & 64) == 0;
    settings.ShowDWTDlg = (flagByte & 128) == 0;
    switch (extraByte % 4) {
        case 0:
            break;
        case 1:
            settings.LanguageTags.clear();
            break;
        case 2:
            settings.LanguageTags = {"A", "{", "}", "B", "\"", "\n", "C", "<", "-"};
            break;
        default:
            settings.LanguageTags = {"Short", "<", ">"};
            break;
    }
    engine.BuildIgnoreTagList();
    host.answer = static_cast<TemplateWarningAnswer>((extraByte >> 2) % 4);
    engine.SetReadChunk(1 + (extraByte >> 4) * 7);

    const std::string path = Folder() + "/page.htm";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(page.data(), static_cast<std::streamsize>(page.size()));
    }
    engine.ProcessFile(path, mode);
    const std::string after = ReadAll(path);

    const bool writing = mode != ScanMode::Scan && !settings.PreviewMode;
    if (!writing && after != page) {
        std::fprintf(stderr, "a Scan or Preview changed the page\n");
        std::abort();
    }
    if (!OnlyWholeInsertions(page, after)) {
        std::fprintf(stderr, "the page changed by more than whole insertions\n");
        std::abort();
    }
    if (!engine.Flags().AbortFile.load() && host.progress != page.size()) {
        std::fprintf(stderr, "progress %llu for a page of %zu bytes\n",
                     static_cast<unsigned long long>(host.progress), page.size());
        std::abort();
    }
    return 0;
}
