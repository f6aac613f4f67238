#include "cli/SarifLog.h"

#include <optional>

#include "Version.h"
#include "cli/Terminal.h"
#include "log/LogFormatter.h"
#include "log/PageText.h"

namespace vantaro::cli {

namespace {

struct Rule {
    const char* id;
    const char* name;
    const char* description;
};

constexpr Rule kRules[] = {
    {"missing-alt", "MissingAlt", "An image, area or image-input tag has no alt attribute."},
    {"missing-title", "MissingTitle", "An image, area or image-input tag has no title attribute."},
    {"multiple-attributes", "MultipleAttributes",
     "A tag repeats its alt or title attribute, which is not supported."},
    {"not-quoted", "NotQuoted",
     "An alt or title attribute has no double-quoted value that could be copied or kept."},
    {"unable-to-add", "UnableToAdd",
     "A missing alt or title could not be added: there is nothing to copy from, or no place to "
     "insert it."},
};

// The rule a finding breaks, or none when the run resolved it.
std::optional<int> RuleOf(const Finding& finding) {
    switch (finding.Kind) {
        case FindingKind::Missing:
            return finding.Attribute == AttributeName::Alt ? 0 : 1;
        case FindingKind::Multiple:
            return 2;
        case FindingKind::NotQuoted:
            return 3;
        case FindingKind::NoSource:
        case FindingKind::AddFailed:
            return 4;
        case FindingKind::WouldBeAdded:
        case FindingKind::Added:
            return std::nullopt;
    }
    return std::nullopt;
}

std::vector<std::string_view> Components(std::string_view path) {
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        const std::size_t slash = path.find('/');
        const std::string_view part = path.substr(0, slash);
        if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        if (slash == std::string_view::npos) {
            break;
        }
        path.remove_prefix(slash + 1);
    }
    return parts;
}

bool IsUnreserved(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

}  // namespace

std::string RelativeUri(const std::string& path, const std::string& folder) {
    const std::vector<std::string_view> to = Components(path);
    const std::vector<std::string_view> from = Components(folder);
    std::size_t common = 0;
    while (common < to.size() && common < from.size() && to[common] == from[common]) {
        ++common;
    }
    std::string uri;
    for (std::size_t i = common; i < from.size(); ++i) {
        uri += "../";
    }
    static const char kHex[] = "0123456789ABCDEF";
    for (std::size_t i = common; i < to.size(); ++i) {
        for (const char byte : to[i]) {
            const auto c = static_cast<unsigned char>(byte);
            if (IsUnreserved(c)) {
                uri += byte;
            } else {
                uri += '%';
                uri += kHex[c >> 4];
                uri += kHex[c & 15];
            }
        }
        if (i + 1 < to.size()) {
            uri += '/';
        }
    }
    return uri;
}

void SarifLog::Add(const Finding& finding) {
    if (const std::optional<int> rule = RuleOf(finding)) {
        std::string path(finding.FullPath);
        if (path.empty() || path.front() != '/') {
            path = workingFolder_ + "/" + path;
        }
        results_.push_back(Result{*rule, RelativeUri(path, workingFolder_), finding.Line,
                                  DecodeForDisplay(FindingMessage(finding))});
    }
}

std::string SarifLog::Text() const {
    std::string text =
        "{\"$schema\":\"https://json.schemastore.org/sarif-2.1.0.json\",\"version\":\"2.1.0\","
        "\"runs\":[{\"tool\":{\"driver\":{\"name\":";
    text += JsonString(version::ProductName);
    text += ",\"version\":";
    text += JsonString(version::FileVersion);
    text += ",\"informationUri\":\"https://corvell.example/\",\"rules\":[";
    for (std::size_t i = 0; i < std::size(kRules); ++i) {
        const Rule& rule = kRules[i];
        text += i > 0 ? ",{\"id\":" : "{\"id\":";
        text += JsonString(rule.id);
        text += ",\"name\":";
        text += JsonString(rule.name);
        text += ",\"shortDescription\":{\"text\":";
        text += JsonString(rule.description);
        text += "},\"defaultConfiguration\":{\"level\":\"warning\"}}";
    }
    text += "]}},\"columnKind\":\"utf16CodeUnits\",\"results\":[";
    for (std::size_t i = 0; i < results_.size(); ++i) {
        const Result& r = results_[i];
        text += i > 0 ? ",{\"ruleId\":" : "{\"ruleId\":";
        text += JsonString(kRules[r.rule].id);
        text += ",\"ruleIndex\":";
        text += std::to_string(r.rule);
        text += ",\"level\":\"warning\",\"message\":{\"text\":";
        text += JsonString(r.message);
        text += "},\"locations\":[{\"physicalLocation\":{\"artifactLocation\":{\"uri\":";
        text += JsonString(r.uri);
        text += "},\"region\":{\"startLine\":";
        text += std::to_string(r.line);
        text += "}}}]}";
    }
    text += "]}]}\n";
    return text;
}

}  // namespace vantaro::cli
