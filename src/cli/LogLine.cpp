#include "cli/LogLine.h"

#include <string_view>

namespace vantaro::cli {

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::string Join(const std::vector<LogPiece>& pieces, std::size_t from, std::size_t to) {
    std::string text;
    for (std::size_t i = from; i < to && i < pieces.size(); ++i) {
        text += pieces[i].text;
    }
    return text;
}

bool IsGrey(const LogPiece& piece) {
    return piece.colour == LogColour::LogGrey || piece.colour == LogColour::LogDarkGrey;
}

// The attribute, action and value of a finding's message.
void ReadFindingMessage(ClassifiedLine& c) {
    const std::string& m = c.message;
    const auto take = [&](const char* attribute, const char* action, bool unresolved,
                          std::string value = {}) {
        c.attribute = attribute;
        c.action = action;
        c.unresolved = unresolved;
        c.value = std::move(value);
    };
    for (const char* name : {"alt", "title"}) {
        const std::string n(name);
        const char* other = n == "alt" ? "title" : "alt";
        if (StartsWith(m, n + " missing - unable to add " + other)) {
            take(other, "no-source", true);
        } else if (StartsWith(m, n + " missing")) {
            take(name, "missing", true);
        } else if (StartsWith(m, n + " would be added : ")) {
            take(name, "would-add", false, m.substr(n.size() + 18));
        } else if (StartsWith(m, n + " added : ")) {
            take(name, "added", false, m.substr(n.size() + 9));
        } else if (StartsWith(m, n + " add failed ")) {
            take(name, "add-failed", true, m.substr(n.size() + 12));
        } else if (EndsWith(m, " not quoted - unable to add " + n)) {
            take(name, "not-quoted", true);
        } else if (StartsWith(m, "Multiple ")) {
            take(StartsWith(m, "Multiple alt") ? "alt" : "title", "multiple", true);
        } else {
            continue;
        }
        return;
    }
}

constexpr std::string_view kChangedOnDisk = "the file changed on disk during the run";

PageEvent PageEventOf(const std::string& message) {
    if (StartsWith(message, "Modifications to ") &&
        EndsWith(message, std::string(" have not been saved - ") + std::string(kChangedOnDisk))) {
        return PageEvent::ChangedOnDisk;
    }
    static const struct {
        const char* text;
        PageEvent event;
        bool prefix;
    } kEvents[] = {
        {"No changes", PageEvent::NoChanges, false},
        {"Updated successfully", PageEvent::Updated, false},
        {"Failed to write to ", PageEvent::WriteFailed, true},
        {"Failed to open", PageEvent::OpenFailed, false},
        {"Failed to read", PageEvent::ReadFailed, false},
        {"Failed to seek", PageEvent::SeekFailed, false},
        {"Failed to close", PageEvent::CloseFailed, false},
        {"Process stopped by user", PageEvent::Stopped, false},
        {"Modifications to ", PageEvent::NotSaved, true},
        {"Update aborted by user", PageEvent::Aborted, false},
        {"Dreamweaver Template Start", PageEvent::TemplateStart, false},
        {"Dreamweaver Template End", PageEvent::TemplateEnd, false},
    };
    for (const auto& known : kEvents) {
        if (known.prefix ? StartsWith(message, known.text) : message == known.text) {
            return known.event;
        }
    }
    return PageEvent::None;
}

// "Failed to write to NAME (REASON)" gives REASON.
std::string ReasonOf(const ClassifiedLine& c) {
    if (c.event == PageEvent::ChangedOnDisk) {
        return std::string(kChangedOnDisk);
    }
    const std::string head = "Failed to write to " + c.fileName + " (";
    if (c.event != PageEvent::WriteFailed || !StartsWith(c.message, head) ||
        !EndsWith(c.message, ")")) {
        return {};
    }
    return c.message.substr(head.size(), c.message.size() - head.size() - 1);
}

}  // namespace

std::string LogLine::Text() const {
    return Join(pieces, 0, pieces.size());
}

bool IsFailure(PageEvent event) {
    switch (event) {
        case PageEvent::WriteFailed:
        case PageEvent::ChangedOnDisk:
        case PageEvent::OpenFailed:
        case PageEvent::ReadFailed:
        case PageEvent::SeekFailed:
        case PageEvent::CloseFailed:
            return true;
        default:
            return false;
    }
}

ClassifiedLine ClassifyLine(const LogLine& line) {
    ClassifiedLine c;
    const std::vector<LogPiece>& p = line.pieces;
    if (p.size() < 2 || p[0].colour != LogColour::LogGrey || !EndsWith(p[0].text, " : ")) {
        c.message = line.Text();
        return c;
    }
    c.fileName = p[0].text.substr(0, p[0].text.size() - 3);
    const bool finding = p.size() >= 7 && StartsWith(p[1].text, "Line ") && p[2].text == " : " &&
                         p[3].colour == LogColour::LogDarkGrey && p[4].text == ": ";
    if (!finding) {
        c.kind = LineKind::PageMessage;
        c.message = Join(p, 1, p.size());
        c.event = PageEventOf(c.message);
        c.reason = ReasonOf(c);
        return c;
    }
    c.kind = LineKind::Finding;
    c.line = std::stoull(p[1].text.substr(5));
    c.tag = p[3].text.substr(1, p[3].text.size() - 2);  // "<img " -> "img"
    std::size_t message = 5;
    while (message < p.size() && IsGrey(p[message])) {
        ++message;
    }
    c.reference = Join(p, 5, message - 1);  // the last grey piece is the " : " before the message
    c.message = Join(p, message, p.size());
    ReadFindingMessage(c);
    return c;
}

}  // namespace vantaro::cli
