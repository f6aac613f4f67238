#include "log/LogPageLocations.h"

#include <array>

#include "log/LogFormatter.h"

namespace vantaro {

namespace {

constexpr std::array kFindingTags = {TagKind::Img, TagKind::Area, TagKind::Input};

bool EndsWithSeparator(std::string_view folder) {
    return !folder.empty() && (folder.back() == '/' || folder.back() == '\\');
}

// What follows "name : " in a finding's line: "Line n : <img : ".
std::optional<PageLocation> ReadFindingHead(std::string_view rest) {
    if (!rest.starts_with(kLineLabel)) {
        return std::nullopt;
    }
    rest.remove_prefix(kLineLabel.size());
    std::uint64_t line = 0;
    std::size_t digits = 0;
    constexpr std::uint64_t kMaxLine = UINT64_MAX / 10 - 1;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') {
        if (line > kMaxLine) {
            return std::nullopt;
        }
        line = line * 10 + static_cast<std::uint64_t>(rest[digits] - '0');
        ++digits;
    }
    rest.remove_prefix(digits);
    if (line == 0 || !rest.starts_with(kFileNameSeparator)) {
        return std::nullopt;
    }
    rest.remove_prefix(kFileNameSeparator.size());
    for (TagKind tag : kFindingTags) {
        const std::string_view prefix = TagPrefix(tag);
        if (rest.starts_with(prefix) && rest.substr(prefix.size()).starts_with(": ")) {
            return PageLocation{{}, line, tag};
        }
    }
    return std::nullopt;
}

// The name is everything before " : Line n : <tag : ", which must occur once only: a file name
// or an image reference holding those words too would leave it open which one names the page.
std::optional<PageLocation> ReadFinding(std::string_view line, const std::string& folder) {
    std::optional<PageLocation> found;
    for (std::size_t at = line.find(kFileNameSeparator); at != std::string_view::npos;
         at = line.find(kFileNameSeparator, at + 1)) {
        std::optional<PageLocation> head =
            ReadFindingHead(line.substr(at + kFileNameSeparator.size()));
        if (!head) {
            continue;
        }
        if (found) {
            return std::nullopt;
        }
        const std::string_view name = line.substr(0, at);
        if (name.empty() || name.find('/') != std::string_view::npos) {
            return std::nullopt;
        }
        head->FullPath = folder + std::string(name);
        found = std::move(head);
    }
    return found;
}

}  // namespace

PageLocation LocationOf(const Finding& finding) {
    return PageLocation{std::string(finding.FullPath), finding.Line, finding.Tag};
}

std::optional<PageLocation> LogPageLocationReader::Next(std::string_view line) {
    const bool runStarted = afterRunStarted_;
    afterRunStarted_ = line.starts_with(kRunStartedLabel);
    if (line == kRunClosing) {
        folder_.reset();
        return std::nullopt;
    }
    if (line.starts_with(kPathLabel)) {
        const std::string_view folder = line.substr(kPathLabel.size());
        if (runStarted && EndsWithSeparator(folder)) {
            folder_ = std::string(folder);
        } else {
            folder_.reset();
        }
        return std::nullopt;
    }
    if (!folder_) {
        return std::nullopt;
    }
    return ReadFinding(line, *folder_);
}

}  // namespace vantaro
