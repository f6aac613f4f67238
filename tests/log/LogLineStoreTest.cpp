#include "log/LogLineStore.h"

#include <gtest/gtest.h>

#include <random>

#include "support/LogRunPrinting.h"

namespace vantaro {
namespace {

using C = LogColour;

// The log byte by byte: each byte of text with its format, and each line end with its own.
struct ModelByte {
    char byte = 0;
    bool lineEnd = false;
    C colour = C::LogGrey;
    FontStyle style;
};

struct Model {
    std::vector<std::vector<ModelByte>> lines{1};

    void Write(std::string_view text, C colour, FontStyle style, bool endLine) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' || text[i] == '\n') {
                EndLine(colour, style);
                if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                    ++i;
                }
            } else {
                lines.back().push_back(ModelByte{text[i], false, colour, style});
            }
        }
        if (endLine) {
            EndLine(colour, style);
        }
    }
    void EndLine(C colour, FontStyle style) {
        lines.back().push_back(ModelByte{0, true, colour, style});
        lines.emplace_back();
    }

    LogRuns RunsBetween(LogPosition from, LogPosition to) const {
        LogRuns runs;
        for (std::size_t line = from.line; line <= to.line && line < lines.size(); ++line) {
            const std::size_t first = line == from.line ? from.offset : 0;
            const std::size_t last = line == to.line ? to.offset : lines[line].size();
            std::string pending;  // bytes of one format, added at once
            for (std::size_t i = first; i < last && i < lines[line].size(); ++i) {
                const ModelByte& b = lines[line][i];
                pending += b.lineEnd ? "" : std::string(1, b.byte);
                const bool formatChanges =
                    i + 1 == lines[line].size() || i + 1 == last || lines[line][i + 1].lineEnd ||
                    lines[line][i + 1].colour != b.colour || !(lines[line][i + 1].style == b.style);
                if (b.lineEnd || formatChanges) {
                    AppendRun(runs, pending, b.colour, b.style, b.lineEnd);
                    pending.clear();
                }
            }
        }
        return runs;
    }
    std::string Text(std::size_t line) const {
        std::string text;
        for (const ModelByte& b : lines[line]) {
            if (!b.lineEnd) {
                text += b.byte;
            }
        }
        return text;
    }
};

// Random writes, some of them far longer than the store's blocks of text, so lines move between
// blocks while they grow; the store must read back exactly as the byte-by-byte model does, as a
// whole, line by line and between any two places.
TEST(LogLineStore, ReadsBackWhatWasWrittenAnywhereBetweenAnyTwoPlaces) {
    std::mt19937 random(20261211);
    const std::string alphabet = "ab \r\n\xC3\xA9<";
    const C colours[] = {C::LogGrey, C::LogRed, C::LogGreen};
    const FontStyle styles[] = {FontStyle::Plain(), FontStyle::Bold, FontStyle::Underline};
    for (int round = 0; round < 30; ++round) {
        LogLineStore store;
        Model model;
        const int writes = static_cast<int>(random() % 200);
        for (int write = 0; write < writes; ++write) {
            std::string text;
            const bool huge = round % 10 == 0 && random() % 40 == 0;
            const std::size_t length = huge ? 400000 + random() % 800000 : random() % 12;
            for (std::size_t i = 0; i < length; ++i) {
                text +=
                    huge ? static_cast<char>('a' + i % 26) : alphabet[random() % alphabet.size()];
            }
            const C colour = colours[random() % 3];
            const FontStyle style = styles[random() % 3];
            const bool endLine = random() % 4 == 0;
            store.Write(text, colour, style, endLine);
            model.Write(text, colour, style, endLine);
        }
        ASSERT_EQ(store.LineCount(), model.lines.size());
        const LogPosition end{model.lines.size() - 1, model.Text(model.lines.size() - 1).size()};
        ASSERT_EQ(store.End(), end);
        ASSERT_EQ(store.Runs(), model.RunsBetween({}, end));
        std::size_t longest = 0;
        for (std::size_t line = 0; line < model.lines.size(); ++line) {
            ASSERT_EQ(store.Text(line), model.Text(line)) << "line " << line;
            longest = model.Text(line).size() > model.Text(longest).size() ? line : longest;
        }
        EXPECT_EQ(store.Text(store.LongestLine()).size(), model.Text(longest).size());
        for (int pick = 0; pick < 50; ++pick) {
            LogPosition a{random() % model.lines.size(), 0};
            a.offset = random() % (model.Text(a.line).size() + 1);
            LogPosition b{random() % model.lines.size(), 0};
            b.offset = random() % (model.Text(b.line).size() + 1);
            const LogPosition from = std::min(a, b);
            const LogPosition to = std::max(a, b);
            ASSERT_EQ(store.RunsBetween(from, to), model.RunsBetween(from, to))
                << from.line << ":" << from.offset << " to " << to.line << ":" << to.offset;
        }
    }
}

TEST(LogLineStore, SpansSplitALineAtEachChangeOfFormat) {
    LogLineStore store;
    store.Write("a.htm : ", C::LogGrey, {}, false);
    store.Write("Line 3", C::LogGrey, {}, false);
    store.Write("img", C::LogDarkGrey, FontStyle::Bold, false);
    store.Write(" missing", C::LogOrange, {}, true);
    const std::vector<LogLineStore::Span> spans = store.Spans(0);
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[0].end, 14u);
    EXPECT_EQ(spans[1].begin, 14u);
    EXPECT_EQ(spans[1].style, FontStyle(FontStyle::Bold));
    EXPECT_EQ(spans[2].colour, C::LogOrange);
    EXPECT_EQ(spans[2].end, 25u);
    EXPECT_TRUE(store.Spans(1).empty());
    EXPECT_EQ(store.PlainText(), "a.htm : Line 3img missing\n");

    store.Clear();
    EXPECT_TRUE(store.IsEmpty());
    EXPECT_EQ(store.LineCount(), 1u);
    EXPECT_EQ(store.Runs(), LogRuns{});
}

// Lines name their pages whatever order they are given in, a line given a page again keeps the
// later one, and a path shared by lines that are not next to each other stays right for each.
TEST(LogLineStore, EachLineKeepsThePageItWasLastGiven) {
    LogLineStore store;
    for (int line = 0; line < 6; ++line) {
        store.Write("finding", C::LogGrey, {}, true);
    }
    const PageLocation a{"/site/a.htm", 3, TagKind::Img};
    const PageLocation b{"/site/b.htm", 9, TagKind::Area};
    const PageLocation a2{"/site/a.htm", 7, TagKind::Input};
    store.SetPage(1, a);
    store.SetPage(3, b);
    store.SetPage(4, a2);
    store.SetPage(2, b);  // before lines already given pages
    store.SetPage(0, a);
    store.SetPage(3, a);  // again
    EXPECT_EQ(store.PageOf(0), a);
    EXPECT_EQ(store.PageOf(1), a);
    EXPECT_EQ(store.PageOf(2), b);
    EXPECT_EQ(store.PageOf(3), a);
    EXPECT_EQ(store.PageOf(4), a2);
    EXPECT_EQ(store.PageOf(5), std::nullopt);
    EXPECT_EQ(store.PageOf(99), std::nullopt);
    store.Clear();
    EXPECT_EQ(store.PageOf(1), std::nullopt);
}

}  // namespace
}  // namespace vantaro
