#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "log/RtfReader.h"
#include "shell/log/LogView.h"
#include "support/LogRunPrinting.h"

namespace vantaro {
namespace {

using C = LogColour;

LogRun Span(std::string text, C colour, bool endLine = false, FontStyle style = {}) {
    return LogRun{std::move(text), colour, style, endLine};
}

class LogViewTest : public testing::Test {
  protected:
    LogViewTest() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(other);
        layout->addWidget(view);
        window.resize(400, 300);
        window.show();
        window.activateWindow();
    }

    void Select(LogPosition from, LogPosition to) { view->SetSelection(from, to); }

    // The middle of a line's text at a byte offset, in the viewport.
    QPoint PointAt(LogPosition at) const {
        const QString before = QString::fromUtf8(view->LineText(static_cast<int>(at.line))
                                                     .toUtf8()
                                                     .left(static_cast<qsizetype>(at.offset)));
        const int x = 4 + QFontMetrics(view->font()).horizontalAdvance(before);
        return QPoint(x, view->LineRect(static_cast<int>(at.line)).center().y());
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(view, static_cast<Qt::Key>(key), modifiers);
    }

    QWidget window;
    QLineEdit* other = new QLineEdit;
    TLogView* view = new TLogView;
};

TEST_F(LogViewTest, EachSegmentKeepsItsColourAndStyleAndLineEnds) {
    view->AddLogLine("page.htm : ", C::LogGrey, false, FontStyle::Plain());
    view->AddLogLine("Line 3", C::LogGrey, false, FontStyle::Plain());
    view->AddLogLine(" : ", C::LogDarkGrey, false, FontStyle::Plain());
    view->AddLogLine("missing alt", C::LogOrange, true, FontStyle::Plain());
    view->AddLogLine("", C::LogBlue, true, FontStyle::Underline);
    view->AddLogLine("...", C::LogDarkGrey, true, FontStyle::Bold);
    view->AddLogLine("tail", C::LogRed, false, FontStyle::Plain());
    EXPECT_EQ(view->Runs(), (LogRuns{
                                Span("page.htm : Line 3", C::LogGrey),
                                Span(" : ", C::LogDarkGrey),
                                Span("missing alt", C::LogOrange, true),
                                Span("", C::LogBlue, true, FontStyle::Underline),
                                Span("...", C::LogDarkGrey, true, FontStyle::Bold),
                                Span("tail", C::LogRed),
                            }));
    EXPECT_EQ(view->LineCount(), 4);
    EXPECT_EQ(view->toPlainText(), "page.htm : Line 3 : missing alt\n\n...\ntail");
}

TEST_F(LogViewTest, AStyleReplacesThePreviousOneAndNeverMerges) {
    view->AddLogLine("b", C::LogDarkGrey, false, FontStyle::Bold);
    view->AddLogLine("u", C::LogDarkGrey, false, FontStyle::Underline);
    view->AddLogLine("p", C::LogDarkGrey, false, FontStyle::Plain());
    view->AddLogLine("i", C::LogDarkGrey, false,
                     FontStyle(FontStyle::Italic) | FontStyle::StrikeOut);
    view->AddLogLine("p", C::LogDarkGrey, false, FontStyle::Plain());
    EXPECT_EQ(
        view->Runs(),
        (LogRuns{
            Span("b", C::LogDarkGrey, false, FontStyle::Bold),
            Span("u", C::LogDarkGrey, false, FontStyle::Underline),
            Span("p", C::LogDarkGrey),
            Span("i", C::LogDarkGrey, false, FontStyle(FontStyle::Italic) | FontStyle::StrikeOut),
            Span("p", C::LogDarkGrey),
        }));
}

TEST_F(LogViewTest, EmptyTextWritesNothingUnlessItEndsTheLine) {
    QSignalSpy changes(view, &TLogView::textChanged);
    view->AddLogLine("", C::LogRed, false, FontStyle::Bold);
    EXPECT_TRUE(view->IsEmpty());
    EXPECT_EQ(changes.count(), 0);

    view->AddLogLine("", C::LogGreen, true, FontStyle::Plain());
    EXPECT_FALSE(view->IsEmpty());
    EXPECT_EQ(view->LineCount(), 2);
    EXPECT_EQ(view->Runs(), (LogRuns{Span("", C::LogGreen, true)}));
    EXPECT_EQ(changes.count(), 1);
}

TEST_F(LogViewTest, AfterAWriteTheCaretIsAtTheEndWithNothingSelected) {
    view->AddLogLine("first line", C::LogGrey, true, FontStyle::Plain());
    view->AddLogLine("second", C::LogGrey, false, FontStyle::Plain());
    Select({0, 2}, {1, 3});
    view->AddLogLine(" more", C::LogGreen, false, FontStyle::Plain());
    EXPECT_FALSE(view->HasSelectedText());
    EXPECT_TRUE(view->CaretAtEnd());

    Select({0, 0}, {0, 3});
    view->AddLogLine("", C::LogGreen, false, FontStyle::Plain());
    EXPECT_FALSE(view->HasSelectedText());
    EXPECT_TRUE(view->CaretAtEnd());
    EXPECT_EQ(PlainTextOf(view->Runs()), "first line\r\nsecond more");
}

TEST_F(LogViewTest, WritingTakesTheKeyboardFocus) {
    other->setFocus();
    ASSERT_EQ(window.focusWidget(), other);
    view->AddLogLine("x", C::LogGrey, true, FontStyle::Plain());
    EXPECT_EQ(window.focusWidget(), view);
}

TEST_F(LogViewTest, BytesAreShownAsUtf8WhenTheyAreUtf8AndAsWindows1252Otherwise) {
    view->AddLogLine("caf\xC3\xA9 \xE2\x82\xAC", C::LogGrey, true, FontStyle::Plain());
    view->AddLogLine("caf\xE9 \x80\x81\x93q\x94", C::LogGrey, true, FontStyle::Plain());
    view->AddLogLine(std::string("a\0b", 3), C::LogGrey, true, FontStyle::Plain());
    view->AddLogLine(std::string("\xE9\0", 2), C::LogGrey, true, FontStyle::Plain());
    EXPECT_EQ(view->LineText(0), QString::fromUtf8("café €"));
    EXPECT_EQ(view->LineText(1), QString::fromUtf8("café €\xC2\x81“q”"));
    EXPECT_EQ(view->LineText(2), QString::fromUtf8("a\xEF\xBF\xBD"
                                                   "b"));
    EXPECT_EQ(view->LineText(3), QString::fromUtf8("é\xEF\xBF\xBD"));
    EXPECT_EQ(view->Runs().at(1).text, "caf\xC3\xA9 \xE2\x82\xAC\xC2\x81\xE2\x80\x9Cq\xE2\x80\x9D");
}

TEST_F(LogViewTest, LineBreaksInsideTheTextEndLinesInItsFormat) {
    view->AddLogLine("a\r\nb\rc\nd", C::LogBlue, true, FontStyle::Bold);
    EXPECT_EQ(view->LineCount(), 5);
    EXPECT_EQ(view->Runs(), (LogRuns{
                                Span("a", C::LogBlue, true, FontStyle::Bold),
                                Span("b", C::LogBlue, true, FontStyle::Bold),
                                Span("c", C::LogBlue, true, FontStyle::Bold),
                                Span("d", C::LogBlue, true, FontStyle::Bold),
                            }));
}

TEST_F(LogViewTest, TheSelectionReadsBackAsRunsAndCopiesWithCrLf) {
    view->AddLogLine("alpha ", C::LogGrey, false, FontStyle::Plain());
    view->AddLogLine("beta", C::LogRed, true, FontStyle::Bold);
    view->AddLogLine("gamma", C::LogGreen, true, FontStyle::Plain());
    Select({1, 3}, {0, 2});  // "pha beta\ngam", selected upwards
    const LogRuns selected = {Span("pha ", C::LogGrey),
                              Span("beta", C::LogRed, true, FontStyle::Bold),
                              Span("gam", C::LogGreen)};
    EXPECT_EQ(view->SelectedRuns(), selected);

    view->copy();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), "pha beta\r\ngam");
    EXPECT_TRUE(data->html().contains("#ff0000", Qt::CaseInsensitive));
    const QByteArray rtf = data->data("text/rtf");
    EXPECT_EQ(ReadLogRtf(std::string_view(rtf.constData(), static_cast<std::size_t>(rtf.size()))),
              selected);
}

TEST_F(LogViewTest, TheViewFollowsTheEndOnceTheEventLoopTurns) {
    for (int line = 0; line < 500; ++line) {
        view->AddLogLine("line " + std::to_string(line), C::LogGrey, true, FontStyle::Plain());
    }
    QApplication::processEvents();
    QScrollBar* bar = view->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST_F(LogViewTest, ALineWrittenPieceByPieceIsMeasuredWhole) {
    // The view is painted between the pieces, as during a run.
    const std::string piece = "a piece of a long line, ";
    std::string line;
    for (int count = 0; count < 20; ++count) {
        view->AddLogLine(piece, C::LogGrey, false, FontStyle::Plain());
        line += piece;
        QApplication::processEvents();
    }
    const qreal expected =
        QFontMetricsF(view->font()).horizontalAdvance(QString::fromStdString(line));
    // The long line scrolls sideways just far enough to show its end.
    const QScrollBar* bar = view->horizontalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_NEAR(bar->maximum() + view->viewport()->width(), expected + 8, 4.0);
}

// A reference may hold line breaks, which break the finding's line in the view.
TEST_F(LogViewTest, APageStaysWithEveryLineOfItsFindingAndNoOther) {
    view->AddLogLine("heading", C::LogDarkGrey, true, {});
    const PageLocation page{"/site/a.htm", 3, TagKind::Img};
    view->BeginPageLine(page);
    view->AddLogLine("a.htm : Line 3 : <img : one", C::LogGrey, false, {});
    view->AddLogLine("\ntwo : alt missing", C::LogOrange, true, {});
    view->AddLogLine("a.htm : No changes", C::LogGreen, true, {});
    std::vector<std::optional<PageLocation>> pages;
    for (int line = 0; line < view->LineCount(); ++line) {
        pages.push_back(view->PageOfLine(line));
    }
    EXPECT_EQ(pages, (std::vector<std::optional<PageLocation>>{std::nullopt, page, page,
                                                               std::nullopt, std::nullopt}));
}

std::vector<std::optional<PageLocation>> PagesOfLines(const TLogView& view) {
    std::vector<std::optional<PageLocation>> pages;
    for (int line = 0; line < view.LineCount(); ++line) {
        pages.push_back(view.PageOfLine(line));
    }
    return pages;
}

// A run's writes are gathered and added between turns of the event loop; wherever the flushes
// fall, the log holds the same text, formats and pages as when each piece is added at once.
TEST_F(LogViewTest, GatheredWritesGiveTheLogThatSingleWritesGive) {
    const PageLocation a{"/site/a.htm", 3, TagKind::Img};
    const PageLocation b{"/site/b.htm", 9, TagKind::Area};
    const auto write = [&](TLogView& log, bool gathered) {
        const auto flush = [&] {
            if (gathered) {
                log.Flush();
            }
        };
        log.SetBatching(gathered);
        log.AddLogLine("heading", C::LogDarkGrey, true, FontStyle::Bold);
        log.BeginPageLine(a);
        log.AddLogLine("a.htm : ", C::LogGrey, false, {});
        log.AddLogLine("Line 3", C::LogGrey, false, {});
        flush();  // in the middle of a line
        log.AddLogLine("", C::LogGrey, false, {});
        log.AddLogLine(" : <img : one\r\ntwo", C::LogDarkGrey, false, {});
        log.AddLogLine("alt missing", C::LogOrange, true, {});
        log.AddLogLine("a.htm : No changes", C::LogGreen, true, {});
        log.BeginPageLine(b);
        flush();  // between a page's line and its text
        log.AddLogLine("b.htm : Line 9 : <area", C::LogGrey, false, {});
        log.AddLogLine(" : title missing", C::LogOrange, true, {});
        log.AddLogLine("Missing alt attributes: 1", C::LogDarkGrey, true, {});
        log.AddLogLine("Missing title attributes: 1", C::LogDarkGrey, true, {});
        log.BeginPageLine(a);
        log.SetBatching(false);  // the run ends: everything is in, and the page still pending
        log.AddLogLine("a.htm : Line 3 : again", C::LogGrey, true, {});
    };
    TLogView single;
    write(single, false);
    write(*view, true);
    EXPECT_EQ(view->Runs(), single.Runs());
    EXPECT_EQ(view->toPlainText(), single.toPlainText());
    EXPECT_EQ(PagesOfLines(*view), PagesOfLines(single));
    EXPECT_EQ(PagesOfLines(single)[1], a);
    EXPECT_EQ(PagesOfLines(single)[4], b);
}

// While batching, the view catches up at the flush: the caret goes after the text there.
TEST_F(LogViewTest, GatheredTextIsShownAtTheFlush) {
    view->SetBatching(true);
    view->AddLogLine("pending", C::LogGrey, true, {});
    EXPECT_FALSE(view->CaretAtEnd());
    view->Flush();
    EXPECT_EQ(view->toPlainText(), "pending\n");
    EXPECT_TRUE(view->CaretAtEnd());
}

// The view does its own selecting, so the mouse and the keyboard are tried here: a drag across
// lines, Shift with a click, a double-click on a word, and the movement keys over characters of
// several bytes, whose selection must always read back as whole characters.
TEST_F(LogViewTest, TheMouseAndTheKeysSelectWholeCharactersAcrossLines) {
    view->AddLogLine("first line", C::LogGrey, true, {});
    view->AddLogLine("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 end", C::LogRed, true, {});
    view->AddLogLine("last", C::LogGreen, false, {});
    QApplication::processEvents();
    QWidget* area = view->viewport();

    QTest::mousePress(area, Qt::LeftButton, {}, PointAt({0, 6}));
    QTest::mouseMove(area, PointAt({2, 2}));
    QTest::mouseRelease(area, Qt::LeftButton, {}, PointAt({2, 2}));
    EXPECT_EQ(PlainTextOf(view->SelectedRuns()),
              "line\r\ncaf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 end\r\nla");

    QTest::mouseClick(area, Qt::LeftButton, Qt::ShiftModifier, PointAt({1, 0}));
    EXPECT_EQ(PlainTextOf(view->SelectedRuns()), "line\r\n");

    QTest::mouseDClick(area, Qt::LeftButton, {}, PointAt({0, 1}));
    EXPECT_EQ(PlainTextOf(view->SelectedRuns()), "first");
    QTest::mouseClick(area, Qt::LeftButton, {}, PointAt({0, 1}));  // a third click
    EXPECT_EQ(PlainTextOf(view->SelectedRuns()), "first line");

    Select({1, 0}, {1, 0});
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(PlainTextOf(view->SelectedRuns()), "caf\xC3\xA9");
    Key(Qt::Key_Right);  // drops the selection
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(PlainTextOf(view->SelectedRuns()), "\xE2\x82\xAC \xF0\x9F\x98\x80");
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(PlainTextOf(view->SelectedRuns()), "\xE2\x82\xAC ");

    Key(Qt::Key_Home);
    Key(Qt::Key_Left);  // to the end of the line above
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(PlainTextOf(view->SelectedRuns()),
              "\r\ncaf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 end");
    Key(Qt::Key_Down, Qt::ShiftModifier);  // the last line is shorter: its end
    EXPECT_TRUE(view->CaretAtEnd());
    Key(Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier);  // the anchor stays
    EXPECT_EQ(PlainTextOf(view->SelectedRuns()), "first line");
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_FALSE(view->HasSelectedText());
    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(view->SelectedRuns(), view->Runs());
}

// Lines are drawn in their own colours, scrolled to what is in sight.
TEST_F(LogViewTest, LinesInSightArePaintedInTheirColours) {
    for (int line = 0; line < 200; ++line) {
        view->AddLogLine("line " + std::to_string(line), C::LogGrey, true, {});
    }
    view->AddLogLine("\xE2\x96\x88\xE2\x96\x88\xE2\x96\x88\xE2\x96\x88", C::LogRed, false,
                     FontStyle::Bold);
    QApplication::processEvents();
    const QImage shown = view->viewport()->grab().toImage();
    const QRect last = view->LineRect(view->LineCount() - 1);
    ASSERT_TRUE(shown.rect().contains(last.center()));
    int red = 0;
    for (int x = 0; x < shown.width(); ++x) {
        const QColor pixel = shown.pixelColor(x, last.center().y());
        red += pixel.red() > 200 && pixel.green() < 80 && pixel.blue() < 80 ? 1 : 0;
    }
    EXPECT_GT(red, 4);
}

// Assistive tools read the log line by line: its value is the caret's line, read-only.
TEST_F(LogViewTest, AssistiveToolsReadTheCaretsLine) {
    view->AddLogLine("first", C::LogGrey, true, {});
    view->AddLogLine("second", C::LogRed, false, {});
    QAccessibleInterface* log = QAccessible::queryAccessibleInterface(view);
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(log->text(QAccessible::Value), "second");
    EXPECT_TRUE(log->state().readOnly);
    Key(Qt::Key_Up);
    EXPECT_EQ(log->text(QAccessible::Value), "first");
}

}  // namespace
}  // namespace vantaro
