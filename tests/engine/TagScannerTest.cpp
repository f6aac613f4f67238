#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "engine/DocumentFile.h"
#include "engine/EngineSettings.h"
#include "engine/StopFinder.h"
#include "engine/TagKinds.h"
#include "engine/TagScanner.h"
#include "support/PageRun.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"

namespace vantaro {
namespace {

using test::ReadChunks;
using test::RecordingHost;
using test::TempDir;

// Records a pass as "O:" outside text (pieces joined), "T<line>:" tags and "U:" an unclosed tag.
class SegmentRecorder : public ScanPassHandler {
  public:
    void OnOutsideText(std::string_view piece) override {
        if (segments.empty() || segments.back().rfind("O:", 0) != 0) {
            segments.emplace_back("O:");
        }
        segments.back() += piece;
    }
    // g++ 12 at -O3 reports an impossible overlap inside std::string's operator+ (-Wrestrict) here.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
    bool OnTag(std::string_view tagText, std::uint64_t line) override {
        segments.push_back("T" + std::to_string(line) + ":" + std::string(tagText));
        return stopAt != 0 && segments.size() >= stopAt;
    }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
    void OnUnclosedTag(std::string_view tagText) override {
        segments.push_back("U:" + std::string(tagText));
    }
    const TagStartPairs* TagsActedOn() const override {
        return actedOn;
    }

    std::vector<std::string> segments;
    std::size_t stopAt = 0;
    const TagStartPairs* actedOn = nullptr;
};

struct Split {
    std::vector<std::string> segments;
    bool result;
    std::uint64_t progress;
};

Split SplitPage(
    const std::string& page, std::size_t chunk,
    const std::vector<std::string>& languageTags = EngineSettings::DefaultLanguageTags(),
    std::size_t stopAt = 0, const TagStartPairs* actedOn = nullptr) {
    TempDir dir;
    const std::string path = dir.Write("p.htm", page);
    RecordingHost host;
    RunFlags flags;
    IgnoreTagList regions;
    regions.BuildIgnoreTagList(languageTags);
    TagScanner scanner(regions, flags, host);
    if (chunk != 0) {
        scanner.SetReadChunk(chunk);
    }
    DocumentFile file(host, path);
    EXPECT_TRUE(file.OpenDocFile(true, PageAccess::Read));
    SegmentRecorder recorder;
    recorder.stopAt = stopAt;
    recorder.actedOn = actedOn;
    const bool result = scanner.ScanPass(file, true, recorder);
    return {recorder.segments, result, host.progress};
}

// Splits with every read size, checks they agree and that nothing is lost or added.
std::vector<std::string> SplitAll(
    const std::string& page,
    const std::vector<std::string>& languageTags = EngineSettings::DefaultLanguageTags()) {
    const Split first = SplitPage(page, 1, languageTags);
    for (std::size_t chunk : ReadChunks()) {
        const Split other = SplitPage(page, chunk, languageTags);
        EXPECT_EQ(other.segments, first.segments) << "read size " << chunk;
        EXPECT_EQ(other.progress, page.size()) << "read size " << chunk;
        EXPECT_TRUE(other.result);
    }
    std::string joined;
    for (const std::string& segment : first.segments) {
        joined += segment.substr(segment.find(':') + 1);
    }
    EXPECT_EQ(joined, page);
    return first.segments;
}

using Segments = std::vector<std::string>;

std::string Segment(const std::string& kind, std::string_view text) {
    std::string segment = kind;  // appended: g++ 12 at -O3 misreads "x" + std::string
    segment += text;
    return segment;
}

// The scanner's rules applied one byte at a time, delimiters tried at every byte.
Segments ModelSplit(const std::string& page, const std::vector<std::string>& languageTags) {
    IgnoreTagList regions;
    regions.BuildIgnoreTagList(languageTags);
    const auto* data = reinterpret_cast<const unsigned char*>(page.data());
    Segments segments;
    std::size_t pieceStart = 0;
    std::uint64_t line = 1;
    bool inTag = false;
    bool inQuote = false;
    std::size_t pos = 0;
    while (pos < page.size()) {
        const std::size_t matched =
            regions.CheckIgnoreDelimiter(data + pos, page.size() - pos, kBlockSize);
        if (matched != 0) {
            pos += matched;
            continue;
        }
        const char c = page[pos];
        const bool structural = !inQuote && !regions.InIgnoredRegion();
        if (c == '\n') {
            ++line;
        } else if (c == '"') {
            inQuote = !inQuote;
        } else if (c == '<' && structural && !inTag) {
            if (pos > pieceStart) {
                segments.push_back(Segment("O:", page.substr(pieceStart, pos - pieceStart)));
            }
            pieceStart = pos;
            inTag = true;
        } else if (c == '>' && structural && inTag) {
            const std::string kind = Segment("T", std::to_string(line)) + ':';
            segments.push_back(Segment(kind, page.substr(pieceStart, pos + 1 - pieceStart)));
            pieceStart = pos + 1;
            inTag = false;
        }
        ++pos;
    }
    if (pieceStart < page.size()) {
        segments.push_back(Segment(inTag ? "U:" : "O:", page.substr(pieceStart)));
    }
    return segments;
}

// Random pages: long ordinary runs, so wide steps and their tails are taken, between the bytes
// the scanner and the delimiters care about.
std::string RandomPage(std::mt19937& random) {
    static const std::vector<std::string> specials = {
        "<",        ">",  "\"",      "\n",        "\r\n", "<%", "%>",
        "<?php",    "?>", "<script", "</script>", "{",    "}",  "<img src=\"a\">",
        "\xC3\xA9", "/",  "!",       "-",         ">>",   "<<", "<a href=\"x\">",
        "<AREA "};
    std::string page;
    const std::size_t parts = random() % 120;
    for (std::size_t i = 0; i < parts; ++i) {
        page.append(random() % 70, static_cast<char>('a' + random() % 26));
        page += specials[random() % specials.size()];
    }
    return page;
}

Segments SplitWhole(const std::string& page, const std::vector<std::string>& languageTags,
                    const TagStartPairs* actedOn = nullptr) {
    TempDir dir;
    const std::string path = dir.Write("p.htm", page);
    RecordingHost host;
    RunFlags flags;
    IgnoreTagList regions;
    regions.BuildIgnoreTagList(languageTags);
    TagScanner scanner(regions, flags, host);
    DocumentFile file(host, path);
    EXPECT_TRUE(file.OpenDocFile(true, PageAccess::Read));
    SegmentRecorder recorder;
    recorder.actedOn = actedOn;
    EXPECT_TRUE(scanner.ScanPass(file, page, true, recorder));
    EXPECT_EQ(host.progress, page.size());
    return recorder.segments;
}

// A handler that acts on some tags only may get any other within the outside text: the
// segments with every such tag made outside text and outside texts joined.
Segments WithTagsPassedOver(const Segments& segments, const TagStartPairs& actedOn) {
    Segments joined;
    for (const std::string& segment : segments) {
        const std::size_t tag = segment.find(':') + 1;
        const auto byteAfter = [&](std::size_t n) {
            return static_cast<unsigned char>(tag + n < segment.size() ? segment[tag + n] : 0);
        };
        const bool passedOver = segment[0] == 'T' && !actedOn.Has(byteAfter(1), byteAfter(2));
        const std::string_view text = std::string_view(segment).substr(segment.find(':') + 1);
        if ((passedOver || segment[0] == 'O') && !joined.empty() && joined.back()[0] == 'O') {
            joined.back() += text;
        } else {
            joined.push_back(passedOver ? Segment("O:", text) : segment);
        }
    }
    return joined;
}

// Every search width and every way of reading gives what the byte-at-a-time rules give, with
// few and with too many different delimiter starts for the wide search, also to a handler that
// acts on some tags only.
TEST(TagScanner, EverySearchWidthFollowsTheByteAtATimeRules) {
    const std::vector<std::vector<std::string>> languageSets = {
        EngineSettings::DefaultLanguageTags(),
        {},
        {"Lines", "\n", "!", "Quotes", "\"x", "-", "Braces", "{", "}"},
        {"Arrows", ">>", "<<"},
        {"A", "a", "b", "B", "c", "d", "C", "e", "f", "D", "g", "h", "E", "/", "-", "F", "<%",
         "%>"},
    };
    const ScanWidth chosen = StopFinder::CurrentWidth();
    std::mt19937 random(20261210);
    for (int round = 0; round < 60; ++round) {
        const std::string page = RandomPage(random);
        const auto& tags = languageSets[static_cast<std::size_t>(round) % languageSets.size()];
        const Segments expected = ModelSplit(page, tags);
        for (ScanWidth width : {ScanWidth::Bytewise, ScanWidth::Sse2, ScanWidth::Avx2}) {
            StopFinder::UseWidth(width);
            EXPECT_EQ(SplitWhole(page, tags), expected) << "round " << round;
            const std::size_t chunk = 1 + static_cast<std::size_t>(round) * 13;
            EXPECT_EQ(SplitPage(page, chunk, tags).segments, expected) << "round " << round;

            const Segments kindsOnly = WithTagsPassedOver(expected, KindStartPairs());
            EXPECT_EQ(
                WithTagsPassedOver(SplitWhole(page, tags, &KindStartPairs()), KindStartPairs()),
                kindsOnly)
                << "round " << round;
            EXPECT_EQ(
                WithTagsPassedOver(SplitPage(page, chunk, tags, 0, &KindStartPairs()).segments,
                                   KindStartPairs()),
                kindsOnly)
                << "round " << round;
        }
        StopFinder::UseWidth(chosen);
    }
}

TEST(TagScanner, SplitsOutsideTextAndTagsWithTheLineOfTheClosingBracket) {
    EXPECT_EQ(SplitAll("a<img src=\"x\">b\n<p>"),
              (Segments{"O:a", "T1:<img src=\"x\">", "O:b\n", "T2:<p>"}));
    EXPECT_EQ(SplitAll("\n\n<img\nsrc=\"x\"\n>tail"),
              (Segments{"O:\n\n", "T5:<img\nsrc=\"x\"\n>", "O:tail"}));
    EXPECT_EQ(SplitAll("\r\n\r\n<b>"), (Segments{"O:\r\n\r\n", "T3:<b>"}));
    EXPECT_EQ(SplitAll(""), Segments{});
    EXPECT_EQ(SplitAll("no tags at all"), (Segments{"O:no tags at all"}));
}

TEST(TagScanner, OneQuoteFlagRunsThroughTheWholeFile) {
    // An odd quote in prose keeps '<' from starting a tag until the next quote.
    EXPECT_EQ(SplitAll("24\" wide <i> and 3\" <b>"),
              (Segments{"O:24\" wide <i> and 3\" ", "T1:<b>"}));
    EXPECT_EQ(SplitAll("24\" wide <img src=\"a\"> <b>"),
              (Segments{"O:24\" wide <img src=\"a\"> <b>"}));
    // A quoted '>' does not end a tag.
    EXPECT_EQ(SplitAll("<img alt=\"a>b\">"), (Segments{"T1:<img alt=\"a>b\">"}));
}

TEST(TagScanner, StrayBracketsStayInTheirSegment) {
    EXPECT_EQ(SplitAll("a > b <i>"), (Segments{"O:a > b ", "T1:<i>"}));
    EXPECT_EQ(SplitAll("<a <b>"), (Segments{"T1:<a <b>"}));
    EXPECT_EQ(SplitAll("x<unclosed tag"), (Segments{"O:x", "U:<unclosed tag"}));
}

TEST(TagScanner, LanguageRegionsHideBracketsButNotQuotesOrLineFeeds) {
    EXPECT_EQ(SplitAll("<% if a<b then %>\n<i>"), (Segments{"O:<% if a<b then %>\n", "T2:<i>"}));
    // Inside a tag, a region's '>' does not end it.
    EXPECT_EQ(SplitAll("<img src=\"<%=a>b%>\">x"), (Segments{"T1:<img src=\"<%=a>b%>\">", "O:x"}));
    // A script tag is part of its region and never delivered as a tag.
    EXPECT_EQ(SplitAll("<SCRIPT lang=x>a<b</script><i>"),
              (Segments{"O:<SCRIPT lang=x>a<b</script>", "T1:<i>"}));
    // A quote inside a region still toggles the file's quote flag.
    EXPECT_EQ(SplitAll("<?php \"?><b>\"<i>"), (Segments{"O:<?php \"?><b>\"", "T1:<i>"}));
    // Delimiter bytes are not examined: the line feed in this one is not counted.
    EXPECT_EQ(SplitAll("{\n}<b>", {"X", "{\n", "}"}), (Segments{"O:{\n}", "T1:<b>"}));
    // An unclosed region hides the rest of the file.
    EXPECT_EQ(SplitAll("<i><%<b>"), (Segments{"T1:<i>", "O:<%<b>"}));
    EXPECT_EQ(SplitAll("<% x %><i>", {}), (Segments{"T1:<% x %>", "T1:<i>"}));
}

TEST(TagScanner, DelimitersAcrossBlockBoundariesAreRecognised) {
    for (std::size_t lead : {3060u, 3066u, 3067u, 3070u, 3071u, 3072u, 6140u}) {
        const std::string page =
            std::string(lead, 'x') + "<script>if(a<b){}</script><img src=\"q\">";
        const Segments segments = SplitAll(page);
        ASSERT_EQ(segments.size(), 2u) << lead;
        EXPECT_EQ(segments[1], "T1:<img src=\"q\">") << lead;
    }
}

TEST(TagScanner, DelimitersLongerThanABlockNeverMatchInAPage) {
    const std::string longOpen = "<" + std::string(3072, 'L');
    const std::string page = longOpen + " <b>";
    EXPECT_EQ(SplitAll(page, {"Long", longOpen, ">"}), (Segments{"T1:" + longOpen + " <b>"}));
    const std::string fits = "<" + std::string(3071, 'L');
    EXPECT_EQ(SplitAll(fits + " <b> >x", {"Fits", fits, ">"}), (Segments{"O:" + fits + " <b> >x"}));
}

// The host gets a turn after every 16 KiB or so, also where many '<' might start a delimiter
// and the scanner has to look ahead, whether the page is read whole or in pieces.
TEST(TagScanner, TheHostGetsATurnAfterEverySixteenKilobytes) {
    std::string page;
    while (page.size() < (1u << 20)) {
        page += "<span class=\"x\"><s>text</s></span> <strong>a</strong>\n";
    }
    TempDir dir;
    const std::string path = dir.Write("p.htm", page);
    for (const std::size_t chunk : {std::size_t{0}, std::size_t{300}, std::size_t{70000}}) {
        RecordingHost host;
        RunFlags flags;
        IgnoreTagList regions;
        regions.BuildIgnoreTagList(EngineSettings::DefaultLanguageTags());
        TagScanner scanner(regions, flags, host);
        if (chunk != 0) {
            scanner.SetReadChunk(chunk);
        }
        std::uint64_t lastTurn = 0;
        std::uint64_t longestGap = 0;
        host.onPump = [&](RecordingHost& h) {
            longestGap = std::max(longestGap, h.progress - lastTurn);
            lastTurn = h.progress;
        };
        DocumentFile file(host, path);
        ASSERT_TRUE(file.OpenDocFile(true, PageAccess::Read));
        SegmentRecorder recorder;
        ASSERT_TRUE(chunk == 0 ? scanner.ScanPass(file, page, true, recorder)
                               : scanner.ScanPass(file, true, recorder));
        EXPECT_GE(host.pumps, page.size() / (16 * 1024) - 1) << "read size " << chunk;
        EXPECT_LE(longestGap, 16 * 1024 + 64u) << "read size " << chunk;
    }
}

TEST(TagScanner, AHandlerCanStopThePassAndTheRestCountsAsDone) {
    const std::string page = "<a><b><c>tail";
    const Split split = SplitPage(page, 2, EngineSettings::DefaultLanguageTags(), 2);
    EXPECT_EQ(split.segments, (Segments{"T1:<a>", "T1:<b>"}));
    EXPECT_TRUE(split.result);
    EXPECT_EQ(split.progress, page.size());
}

TEST(TagScanner, ClassifiesTagsByTheirPrefixWithABlank) {
    EXPECT_EQ(ClassifyTag("<img src=\"a\">"), TagKind::Img);
    EXPECT_EQ(ClassifyTag("<IMG SRC=\"a\">"), TagKind::Img);
    EXPECT_EQ(ClassifyTag("<AREA shape=\"x\">"), TagKind::Area);
    EXPECT_EQ(ClassifyTag("<Input type=\"image\">"), TagKind::Input);
    EXPECT_EQ(ClassifyTag("<img>"), TagKind::None);
    EXPECT_EQ(ClassifyTag("<img/>"), TagKind::None);
    EXPECT_EQ(ClassifyTag("<img\tsrc=\"a\">"), TagKind::None);
    EXPECT_EQ(ClassifyTag("<img\nsrc=\"a\">"), TagKind::None);
    EXPECT_EQ(ClassifyTag("<imgx >"), TagKind::None);
    EXPECT_EQ(ClassifyTag("<!-- instancebegineditable name=\"a\" -->"), TagKind::EditableStart);
    EXPECT_EQ(ClassifyTag("<!-- InstanceEndEditable -->"), TagKind::EditableEnd);
    EXPECT_EQ(ClassifyTag("<!--InstanceBeginEditable -->"), TagKind::None);
}

}  // namespace
}  // namespace vantaro
