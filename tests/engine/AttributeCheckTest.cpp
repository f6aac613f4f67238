#include <gtest/gtest.h>

#include <algorithm>

#include "engine/AttributeCheck.h"
#include "support/LogExpect.h"
#include "support/PageRun.h"

namespace vantaro {
namespace {

using namespace test;
using C = LogColour;

const std::string kFile = "page.htm";

Segments AltMissing(int line, const std::string& ref, const std::string& prefix = "<img ") {
    return Join({FindingHead(kFile, line, prefix, ref),
                 {Seg("alt missing", C::LogOrange), Seg("", C::LogOrange, true)}});
}

Segments TitleMissing(int line, const std::string& ref, const std::string& prefix = "<img ") {
    return Join({FindingHead(kFile, line, prefix, ref),
                 {Seg("title missing", C::LogBlue), Seg("", C::LogBlue, true)}});
}

Segments Finding(int line, const std::string& ref, const std::string& message, C colour,
                 const std::string& prefix = "<img ") {
    return Join({FindingHead(kFile, line, prefix, ref), {Seg(message, colour, true)}});
}

const Segments kNoChanges = FileLine(kFile, "No changes", C::LogGreen);
const Segments kUpdated = FileLine(kFile, "Updated successfully", C::LogGreen);

void NoAltMsgs(EngineSettings& s) {
    s.ShowMissingAltMsgs = false;
}

TEST(AttributeCheck, BlankValueMeansTwoQuotesAroundNothingButBlanks) {
    EXPECT_TRUE(IsBlankValue("\"\""));
    EXPECT_TRUE(IsBlankValue("\"  \""));
    EXPECT_TRUE(IsBlankValue(" \" \" "));
    EXPECT_FALSE(IsBlankValue(""));
    EXPECT_FALSE(IsBlankValue("\"\t\""));
    EXPECT_FALSE(IsBlankValue("\"x\""));
    EXPECT_FALSE(IsBlankValue("\"\" : \"\""));
}

TEST(AttributeCheck, ScanReportsEachMissingAttributeOnItsOwnLine) {
    const PageResult r = RunPageEverySize("<p>\n<img src=\"img/a.gif\">\n", ScanMode::Scan);
    EXPECT_EQ(r.segments, Join({AltMissing(2, "a.gif"), TitleMissing(2, "a.gif")}));
    EXPECT_EQ(r.totalAlt, 1);
    EXPECT_EQ(r.totalTitle, 1);
    EXPECT_EQ(r.found, (std::vector<std::string>{"a.gif"}));
    EXPECT_EQ(r.output, "<p>\n<img src=\"img/a.gif\">\n");

    const PageResult titleOnly = RunPage("<img src=\"a.gif\">", ScanMode::Scan, NoAltMsgs);
    EXPECT_EQ(titleOnly.segments, TitleMissing(1, "a.gif"));
    EXPECT_EQ(titleOnly.totalAlt, 0);
    EXPECT_EQ(titleOnly.found, (std::vector<std::string>{"a.gif"}));

    // With only title reports on, a tag that lacks only alt is neither reported nor listed.
    const PageResult quiet = RunPage("<img src=\"a.gif\" title=\"t\">", ScanMode::Scan,
                                     [](EngineSettings& s) { s.ShowMissingAltMsgs = false; });
    EXPECT_EQ(quiet.segments, kNoChanges);
    EXPECT_TRUE(quiet.found.empty());
}

TEST(AttributeCheck, PresentButBlankAttributesLeaveTheTagAlone) {
    for (const char* tag : {"<img src=\"a.gif\" alt=\"\">", "<img src=\"a.gif\" title=\"  \">",
                            "<img src=\"a.gif\" alt=\"x\" title=\"y\">"}) {
        for (ScanMode mode : {ScanMode::Scan, ScanMode::AddAlt, ScanMode::AddTitle}) {
            const PageResult r = RunPage(tag, mode, Real);
            EXPECT_EQ(r.segments, kNoChanges) << tag;
            EXPECT_TRUE(r.found.empty()) << tag;
            EXPECT_EQ(r.fileAfter, tag);
        }
    }
}

TEST(AttributeCheck, AddAltInsertsTheTitleValueBeforeTheTitle) {
    const std::string page = "<img src=\"logo.gif\" title=\"Logo\">";
    const PageResult r = RunPageEverySize(page, ScanMode::AddAlt, Real);
    EXPECT_EQ(r.fileAfter, "<img src=\"logo.gif\" alt=\"Logo\" title=\"Logo\">");
    EXPECT_EQ(r.segments,
              Join({Finding(1, "logo.gif", "alt added : \"Logo\"", C::LogGreen), kUpdated}));
    EXPECT_EQ(r.totalAlt, 1);
    EXPECT_TRUE(r.found.empty());  // a real insertion attempt lists nothing

    const PageResult self = RunPage("<IMG SRC=\"A.GIF\" TITLE=\"Up\"/>", ScanMode::AddAlt, Real);
    EXPECT_EQ(self.fileAfter, "<IMG SRC=\"A.GIF\" alt=\"Up\" TITLE=\"Up\"/>");

    const PageResult title =
        RunPage("<input type=\"Image\" src=\"go.png\" alt=\"Go \">", ScanMode::AddTitle, Real);
    EXPECT_EQ(title.fileAfter, "<input type=\"Image\" src=\"go.png\" title=\"Go \" alt=\"Go \">");
    EXPECT_EQ(
        title.segments,
        Join({Finding(1, "go.png", "title added : \"Go \"", C::LogGreen, "<input "), kUpdated}));
    EXPECT_EQ(title.totalTitle, 1);
}

TEST(AttributeCheck, PreviewReportsWithoutChangingOrAsking) {
    const std::string page = "<img src=\"a.gif\" title=\"A\">\n<img src=\"b.gif\" alt=\"B\">";
    const PageResult alt = RunPageEverySize(page, ScanMode::AddAlt);
    EXPECT_EQ(alt.segments, Finding(1, "a.gif", "alt would be added : \"A\"", C::LogGreen));
    EXPECT_EQ(alt.fileAfter, page);
    EXPECT_EQ(alt.found, (std::vector<std::string>{"a.gif", "b.gif"}));
    const PageResult title = RunPage(page, ScanMode::AddTitle);
    EXPECT_EQ(title.segments, Finding(2, "b.gif", "title would be added : \"B\"", C::LogGreen));
    EXPECT_EQ(title.totalTitle, 1);
}

TEST(AttributeCheck, RepeatedAttributesAreUnsupported) {
    const std::string page = "<img src=\"a\" title=\"t\" title=\"u\">";
    EXPECT_EQ(
        RunPage(page, ScanMode::Scan).segments,
        Join({FindingHead(kFile, 1, "<img ", "a"),
              {Seg("alt missing", C::LogOrange),
               Seg(" : Multiple title attributes defined (Unsupported)", C::LogDarkRed, true)}}));
    const PageResult add = RunPage(page, ScanMode::AddAlt, Real);
    EXPECT_EQ(
        add.segments,
        Join({Finding(1, "a", "Multiple title attributes defined (Unsupported)", C::LogDarkRed),
              kNoChanges}));
    EXPECT_EQ(add.fileAfter, page);
    // Two alts, no title: the scan line names alt.
    EXPECT_EQ(
        RunPage("<img alt=\"a\" alt=\"b\">", ScanMode::Scan).segments,
        Join({FindingHead(kFile, 1, "<img ", ""),
              {Seg("title missing", C::LogBlue),
               Seg(" : Multiple alt attributes defined (Unsupported)", C::LogDarkRed, true)}}));
}

TEST(AttributeCheck, NothingToCopyFrom) {
    const std::string page = "<img src=\"a.gif\">";
    EXPECT_EQ(RunPage(page, ScanMode::AddAlt, Real).segments,
              Join({Finding(1, "a.gif", "title missing - unable to add alt", C::LogDarkRed),
                    kNoChanges}));
    EXPECT_EQ(RunPage(page, ScanMode::AddTitle).segments,
              Join({Finding(1, "a.gif", "alt missing - unable to add title", C::LogDarkRed),
                    kNoChanges}));
}

TEST(AttributeCheck, NeverInsertsIntoALongerNameOrWithoutAQuotedValue) {
    struct Case {
        std::string page;
        ScanMode mode;
        std::string line;
    };
    const std::vector<Case> cases = {
        {"<img src=\"s\" data-title=\"Logo\">", ScanMode::AddAlt, "alt add failed \"Logo\""},
        {"<img src=\"s\" subtitle=\"Sub\">", ScanMode::AddAlt, "alt add failed \"Sub\""},
        {"<img src=\"s\" my_alt=\"A\">", ScanMode::AddTitle, "title add failed \"A\""},
        {"<img src=\"s\" title>", ScanMode::AddAlt, "title not quoted - unable to add alt"},
        {"<img src=\"s\" alt=A>", ScanMode::AddTitle, "alt not quoted - unable to add title"},
        {"<img alt=\"A\" title=T>", ScanMode::AddTitle, "title not quoted - unable to add title"},
        {"<img title=\"T\" alt>", ScanMode::AddAlt, "alt not quoted - unable to add alt"},
        // The value found for the name starts or ends inside server code.
        {"<img src=\"s\" TITLE<?php\"?>\">", ScanMode::AddAlt,
         "title not quoted - unable to add alt"},
        {"<img src=\"s\" title<?php echo '=\"'; ?>Logo\">", ScanMode::AddAlt,
         "title not quoted - unable to add alt"},
        {"<img src=\"s\" alt=\"<%=\"%>\" x=\">", ScanMode::AddTitle,
         "alt not quoted - unable to add title"},
    };
    for (const Case& c : cases) {
        for (bool preview : {true, false}) {
            const PageResult r =
                RunPage(c.page, c.mode, [&](EngineSettings& s) { s.PreviewMode = preview; });
            ASSERT_GE(r.segments.size(), 3u) << c.page;
            const std::string ref = c.page.find("src") != std::string::npos ? "s" : "";
            EXPECT_EQ(r.lines.front(), kFile + " : Line 1 : <img : " + ref + " : " + c.line);
            const auto failure = std::find_if(r.segments.begin(), r.segments.end(),
                                              [](const LogSegment& s) { return s.endLine; });
            EXPECT_EQ(failure->colour, C::LogDarkRed) << c.page;
            EXPECT_EQ(r.fileAfter, c.page);
            EXPECT_EQ(r.totalAlt + r.totalTitle, 0);
            EXPECT_EQ(r.lines.back(), kFile + " : No changes");
        }
    }
    // Server code wholly between the quotes is copied with the value.
    EXPECT_EQ(RunPage("<img title=\"<%=t%>\">", ScanMode::AddAlt, Real).fileAfter,
              "<img alt=\"<%=t%>\" title=\"<%=t%>\">");
    // A name preceded by a quote or a blank is a name of its own.
    EXPECT_EQ(RunPage("<img src=\"s\"title=\"T\">", ScanMode::AddAlt, Real).fileAfter,
              "<img src=\"s\"alt=\"T\" title=\"T\">");
}

TEST(AttributeCheck, AreaTagsReportTheirShapeAndListNothing) {
    const PageResult r = RunPage("<map><area shape=\"rect\" href=\"a.htm\"></map>", ScanMode::Scan);
    EXPECT_EQ(r.segments,
              Join({AltMissing(1, "rect", "<area "), TitleMissing(1, "rect", "<area ")}));
    EXPECT_TRUE(r.found.empty());
    const PageResult off = RunPage("<area shape=\"rect\">", ScanMode::Scan,
                                   [](EngineSettings& s) { s.TagArea = false; });
    EXPECT_EQ(off.segments, kNoChanges);
}

TEST(AttributeCheck, InputTagsCountOnlyWhenTheirQuotedTypeIsImage) {
    EXPECT_EQ(RunPage("<input type=\"IMAGE\" src=\"b/go.png\">", ScanMode::Scan).segments,
              Join({AltMissing(1, "go.png", "<input "), TitleMissing(1, "go.png", "<input ")}));
    for (const char* tag : {"<input type=\"image \" src=\"a\">", "<input type=image src=\"a\">",
                            "<input type=\"submit\" src=\"a\">",
                            "<input type=\"image\" data-type=\"x\" src=\"a\">"}) {
        EXPECT_EQ(RunPage(tag, ScanMode::Scan).segments, kNoChanges) << tag;
    }
}

TEST(AttributeCheck, TagTogglesAndTagNamesFollowedByABlankOnly) {
    const std::string page = "<img src=\"a\"><img\tsrc=\"b\"><img/><IMG SRC=\"C\">";
    const PageResult r = RunPage(page, ScanMode::Scan, NoAltMsgs);
    EXPECT_EQ(r.segments, Join({TitleMissing(1, "a"), TitleMissing(1, "C")}));
    EXPECT_EQ(RunPage(page, ScanMode::Scan, [](EngineSettings& s) { s.TagImg = false; }).segments,
              kNoChanges);
}

TEST(AttributeCheck, IgnoredReferencesSuppressTheTagCompletely) {
    const std::string page = "<img src=\"x/Logo.GIF\"><img lowsrc=\"l.gif\" src=\"b.gif\">";
    const PageResult r = RunPage(page, ScanMode::Scan, NoAltMsgs, [](RecordingHost& h) {
        h.ignored = {"logo.gif", "B.GIF"};
    });
    EXPECT_EQ(r.segments, kNoChanges);
    EXPECT_TRUE(r.found.empty());
}

TEST(AttributeCheck, FoundReferencesAreListedOnceLetterCaseAside) {
    const std::string page =
        "<img src=\"a.gif\"><img src=\"A.GIF\"><img lowsrc=\"l.gif\" src=\"b.gif\">";
    const PageResult r = RunPage(page, ScanMode::Scan, NoAltMsgs);
    EXPECT_EQ(r.found, (std::vector<std::string>{"a.gif", "l.gif", "b.gif"}));
    EXPECT_EQ(r.lines[2], "page.htm : Line 1 : <img : l.gif : b.gif : title missing");
}

TEST(AttributeCheck, ValuesAreCopiedExactlyAsThePageHasThem) {
    const std::string page = "<img title=\"caf\xE9 \xFF&amp;<b>\" src=\"a\">";
    const PageResult r = RunPage(page, ScanMode::AddAlt, Real);
    EXPECT_EQ(r.fileAfter,
              "<img alt=\"caf\xE9 \xFF&amp;<b>\" title=\"caf\xE9 \xFF&amp;<b>\" src=\"a\">");
    EXPECT_EQ(r.lines[0], "page.htm : Line 1 : <img : a : alt added : \"caf\xE9 \xFF&amp;<b>\"");
}

TEST(AttributeCheck, EveryTagOfAPageIsHandledAndCounted) {
    std::string page;
    std::string expected;
    for (int i = 1; i <= 40; ++i) {
        const std::string n = std::to_string(i);
        page += "<p>" + n + "</p>\r\n<img src=\"i" + n + ".png\" title=\"T" + n + "\">\r\n";
        expected += "<p>" + n + "</p>\r\n<img src=\"i" + n + ".png\" alt=\"T" + n + "\" title=\"T" +
                    n + "\">\r\n";
    }
    const PageResult r = RunPageEverySize(page, ScanMode::AddAlt, Real);
    EXPECT_EQ(r.fileAfter, expected);
    EXPECT_EQ(r.totalAlt, 40);
    EXPECT_EQ(r.lines[39], "page.htm : Line 80 : <img : i40.png : alt added : \"T40\"");
    EXPECT_EQ(r.progress, page.size());
}

}  // namespace
}  // namespace vantaro
