#include "support/LogExpect.h"

namespace vantaro::test {

Segments FindingHead(const std::string& file, int line, const std::string& prefix,
                     const std::string& reference, bool templateCode) {
    Segments head = {
        Seg(file + " : ", LogColour::LogGrey),
        Seg("Line " + std::to_string(line), LogColour::LogGrey, false,
            templateCode ? FontStyle(FontStyle::Underline) : FontStyle::Plain()),
        Seg(" : ", LogColour::LogGrey),
        Seg(prefix, LogColour::LogDarkGrey),
        Seg(": ", LogColour::LogGrey),
    };
    if (!reference.empty()) {
        head.push_back(Seg(reference, LogColour::LogGrey));
    }
    head.push_back(Seg(" : ", LogColour::LogGrey));
    return head;
}

Segments FileLine(const std::string& file, const std::string& message, LogColour colour,
                  FontStyle style) {
    return {Seg(file + " : ", LogColour::LogGrey), Seg(message, colour, true, style)};
}

Segments Join(std::initializer_list<Segments> parts) {
    Segments joined;
    for (const Segments& part : parts) {
        joined.insert(joined.end(), part.begin(), part.end());
    }
    return joined;
}

}  // namespace vantaro::test
