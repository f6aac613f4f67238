#include <gtest/gtest.h>

#include "support/LogExpect.h"
#include "support/PageRun.h"

namespace vantaro {
namespace {

using namespace test;
using C = LogColour;

const std::string kFile = "page.htm";

// A page made from a template: template code before, inside and after one editable region.
const std::string kPage =
    "<img src=\"t1.gif\" title=\"T1\">\n"
    "<!-- InstanceBeginEditable name=\"body\" -->\n"
    "<img src=\"e.gif\" title=\"E\">\n"
    "<!-- InstanceEndEditable -->\n"
    "<img src=\"t2.gif\" title=\"T2\">\n";

Segments Added(int line, const std::string& ref, const std::string& value, bool templateCode) {
    return Join({FindingHead(kFile, line, "<img ", ref, templateCode),
                 {Seg("alt added : \"" + value + "\"", C::LogGreen, true)}});
}

const Segments kStart =
    FileLine(kFile, "Dreamweaver Template Start", C::LogGrey, FontStyle::Underline);
const Segments kEnd = FileLine(kFile, "Dreamweaver Template End", C::LogGrey, FontStyle::Underline);
const Segments kNotSaved =
    FileLine(kFile, "Modifications to page.htm have not been saved", C::LogRed);

TEST(TemplateCode, WithoutUpdatingOnlyEditableRegionsAreExamined) {
    const PageResult r = RunPageEverySize(kPage, ScanMode::AddAlt, [](EngineSettings& s) {
        s.PreviewMode = false;
        s.UpdateDWTs = false;
    });
    EXPECT_EQ(r.segments, Join({Added(3, "e.gif", "E", false),
                                FileLine(kFile, "Updated successfully", C::LogGreen)}));
    EXPECT_EQ(r.warnings, 0u);
    EXPECT_NE(r.fileAfter.find("<img src=\"t1.gif\" title=\"T1\">"), std::string::npos);
    EXPECT_NE(r.fileAfter.find("<img src=\"e.gif\" alt=\"E\" title=\"E\">"), std::string::npos);
}

TEST(TemplateCode, UpdatingMarksTemplateSectionsFromTheFirstEditableTagOn) {
    const PageResult r = RunPageEverySize(kPage, ScanMode::AddAlt, Real);
    // t1 comes before any editable region and is passed over; t2 is template code.
    EXPECT_EQ(r.segments,
              Join({Added(3, "e.gif", "E", false), kStart, Added(5, "t2.gif", "T2", true), kEnd,
                    FileLine(kFile, "Updated successfully", C::LogGreen)}));
    EXPECT_EQ(r.warnings, 1u);
    EXPECT_EQ(r.totalAlt, 2);
}

TEST(TemplateCode, ASectionEndsAtTheNextEditableFinding) {
    const std::string page = kPage +
                             "<!-- InstanceBeginEditable name=\"b\" -->\n"
                             "<img src=\"e2.gif\">\n"
                             "<!-- InstanceEndEditable -->\n";
    const PageResult r =
        RunPage(page, ScanMode::Scan, [](EngineSettings& s) { s.ShowMissingTitleMsgs = false; });
    const auto missing = [](int line, const std::string& ref, bool templateCode) {
        return Join({FindingHead(kFile, line, "<img ", ref, templateCode),
                     {Seg("alt missing", C::LogOrange), Seg("", C::LogOrange, true)}});
    };
    EXPECT_EQ(r.segments, Join({missing(3, "e.gif", false), kStart, missing(5, "t2.gif", true),
                                kEnd, missing(7, "e2.gif", false)}));
}

TEST(TemplateCode, TheWarningComesOnceAfterTheFirstTemplateInsertion) {
    const std::string page = kPage + "<img src=\"t3.gif\" title=\"T3\">\n";
    const PageResult r = RunPage(page, ScanMode::AddAlt, Real);
    EXPECT_EQ(r.warnings, 1u);
    EXPECT_NE(r.fileAfter.find("alt=\"T3\""), std::string::npos);

    const PageResult quiet = RunPage(page, ScanMode::AddAlt, [](EngineSettings& s) {
        s.PreviewMode = false;
        s.ShowDWTDlg = false;
    });
    EXPECT_EQ(quiet.warnings, 0u);
    EXPECT_EQ(quiet.fileAfter, r.fileAfter);
    EXPECT_EQ(RunPage(page, ScanMode::AddAlt).warnings, 0u);  // never in Preview
}

TEST(TemplateCode, NoAbandonsThePageAfterItsLinesWereLogged) {
    const PageResult r =
        RunPage(kPage + "<img src=\"t3.gif\" title=\"T3\">\n", ScanMode::AddAlt, Real,
                [](RecordingHost& h) { h.warningAnswers = {TemplateWarningAnswer::No}; });
    EXPECT_EQ(r.segments,
              Join({Added(3, "e.gif", "E", false), kStart, Added(5, "t2.gif", "T2", true),
                    FileLine(kFile, "Update aborted by user", C::LogRed), kNotSaved}));
    EXPECT_EQ(r.fileAfter, kPage + "<img src=\"t3.gif\" title=\"T3\">\n");
    EXPECT_EQ(r.totalAlt, 0);
}

TEST(TemplateCode, StopAndCloseAbandonThePageWithTheirOwnLines) {
    const PageResult stop = RunPage(kPage, ScanMode::AddAlt, Real, [](RecordingHost& h) {
        h.warningAnswers = {TemplateWarningAnswer::CancelByStop};
    });
    EXPECT_EQ(stop.segments,
              Join({Added(3, "e.gif", "E", false), kStart, Added(5, "t2.gif", "T2", true),
                    FileLine(kFile, "Process stopped by user", C::LogRed), kNotSaved}));
    EXPECT_EQ(stop.fileAfter, kPage);

    const PageResult close = RunPage(kPage, ScanMode::AddAlt, Real, [](RecordingHost& h) {
        h.warningAnswers = {TemplateWarningAnswer::CancelByClose};
    });
    EXPECT_EQ(close.segments, Join({Added(3, "e.gif", "E", false), kStart,
                                    Added(5, "t2.gif", "T2", true), kNotSaved}));
    EXPECT_EQ(close.fileAfter, kPage);
    EXPECT_EQ(close.progress, kPage.size());
}

TEST(TemplateCode, AFailedInsertionInTemplateCodeAlsoAsks) {
    const std::string page =
        "<!-- InstanceBeginEditable name=\"a\" --><img src=\"e.gif\">"
        "<!-- InstanceEndEditable --><img src=\"t.gif\" data-title=\"T\">";
    const PageResult r = RunPage(page, ScanMode::AddAlt, Real);
    EXPECT_EQ(r.warnings, 1u);
    EXPECT_EQ(r.lines[0], "page.htm : Line 1 : <img : e.gif : title missing - unable to add alt");
    EXPECT_EQ(r.lines[1], "page.htm : Dreamweaver Template Start");
    EXPECT_EQ(r.lines[2], "page.htm : Line 1 : <img : t.gif : alt add failed \"T\"");
}

TEST(TemplateCode, ARefusalInTemplateCodeNeitherAsksNorLosesThePage) {
    const std::string page =
        "<!-- InstanceBeginEditable name=\"a\" --><img src=\"e.gif\" title=\"E\">"
        "<!-- InstanceEndEditable --><img src=\"t.gif\" title>";
    const PageResult r = RunPage(page, ScanMode::AddAlt, Real, [](RecordingHost& h) {
        h.warningAnswers = {TemplateWarningAnswer::No};
    });
    EXPECT_EQ(r.warnings, 0u);
    EXPECT_EQ(r.lines[2],
              "page.htm : Line 1 : <img : t.gif : title not quoted - unable to add alt");
    EXPECT_EQ(r.lines.back(), "page.htm : Updated successfully");
    EXPECT_NE(r.fileAfter.find("alt=\"E\" title=\"E\""), std::string::npos);
}

TEST(TemplateCode, TheStartMarkerIsRecognisedInAnyLetterCaseOnlyWithItsBlanks) {
    const std::string tail = "<img src=\"t.gif\" title=\"T\">";
    const PageResult lower = RunPage(
        "<!-- instancebegineditable x --><img src=\"e.gif\" title=\"E\">"
        "<!-- INSTANCEENDEDITABLE -->" +
            tail,
        ScanMode::AddAlt, Real);
    EXPECT_EQ(lower.warnings, 1u);
    const PageResult unspaced =
        RunPage("<!--InstanceBeginEditable x--><!-- InstanceBeginEditablex -->" + tail,
                ScanMode::AddAlt, Real);
    EXPECT_EQ(unspaced.warnings, 0u);
    EXPECT_EQ(unspaced.lines[0], "page.htm : Line 1 : <img : t.gif : alt added : \"T\"");
}

TEST(TemplateCode, OnlyTheStartMarkerMakesAPageTemplateDerived) {
    // An end marker alone: the page is plain and every tag is examined.
    const PageResult r =
        RunPage("<!-- InstanceEndEditable --><img src=\"a\" title=\"A\">", ScanMode::AddAlt, Real);
    EXPECT_EQ(r.warnings, 0u);
    EXPECT_EQ(r.lines[0], "page.htm : Line 1 : <img : a : alt added : \"A\"");
    // A marker hidden in a script region does not count.
    const PageResult hidden =
        RunPage("<script><!-- InstanceBeginEditable x --></script><img src=\"a\" title=\"A\">",
                ScanMode::AddAlt, Real);
    EXPECT_EQ(hidden.warnings, 0u);
    EXPECT_EQ(hidden.lines.size(), 2u);
}

}  // namespace
}  // namespace vantaro
