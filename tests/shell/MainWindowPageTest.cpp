#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QTextBlock>
#include <stdexcept>

#include "MainWindowFixture.h"
#include "QStringPrinting.h"
#include "shell/PageTextView.h"
#include "shell/PageView.h"
#include "shell/log/LogView.h"

namespace vantaro::test {
namespace {

// A page whose image tag starts on line 149 and closes on line 150, far down the page, beside an
// area tag.
std::string LongPage() {
    std::string page;
    for (int line = 1; line < 149; ++line) {
        page += "<p>" + std::to_string(line) + "</p>\r\n";
    }
    page += "<p>before</p> <IMG src=\"logo.gif\"\r\n";
    page += "  title=\"a > b\"> <area shape=\"rect\" title=\"A\">\r\n";
    for (int line = 151; line <= 300; ++line) {
        page += "<p>" + std::to_string(line) + "</p>\r\n";
    }
    return page;
}

const char* const kTag = "<IMG src=\"logo.gif\"\u2029  title=\"a > b\">";

// Double-click, Enter and the context menu on the log's lines, and the page viewer they open.
class MainWindowPageTest : public MainWindowTest {
  protected:
    // Scans a site of the two pages. The window is left to list their folder itself, as its
    // stored folder, so no listing of another folder can arrive after the pages are selected.
    void ScanSite() {
        std::filesystem::create_directories(dir.File("pages"));
        dir.Write("pages/long.htm", LongPage());
        dir.Write("pages/plain.htm", "<p>no images</p>");
        WriteIni("MainForm", "Default Path", dir.File("pages/"));
        TMainForm& w = CreateShown();
        w.ShowClearLogPrompt = false;
        ASSERT_TRUE(QTest::qWaitFor([this] { return ui.FilesListView()->RowCount() == 2; }));
        Settle();
        ui.Action("Clear1")->trigger();
        ui.Action("SelectAll1")->trigger();
        ui.Action("Scan1")->trigger();
        Settle();
        ASSERT_GE(LogLine("long.htm : Line 150 : "), 0);
    }

    std::string PagePath() { return dir.File("pages/long.htm"); }

    // The log's line that starts with the text.
    int LogLine(const QString& start) {
        TLogView* log = ui.LogRichEdit();
        for (int line = 0; line < log->LineCount(); ++line) {
            if (log->LineText(line).startsWith(start)) {
                return line;
            }
        }
        ADD_FAILURE() << "no log line starts with " << start.toStdString();
        return -1;
    }

    QPoint PointOf(int line) {
        if (line < 0) {
            throw std::logic_error("no such line in the log");
        }
        TLogView* log = ui.LogRichEdit();
        const LogPosition start{static_cast<std::size_t>(line), 0};
        log->SetSelection(start, start);
        return log->LineRect(line).topLeft() + QPoint(8, log->LineRect(line).height() / 2);
    }

    void DoubleClick(int line) {
        QTest::mouseDClick(ui.LogRichEdit()->viewport(), Qt::LeftButton, {}, PointOf(line));
        Settle();
    }

    // Opens the log's context menu on the line as a right click does; the menu that opens.
    QMenu* ContextMenuOn(int line) {
        QWidget* viewport = ui.LogRichEdit()->viewport();
        const QPoint at = PointOf(line);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &event);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        EXPECT_NE(menu, nullptr);
        return menu;
    }

    TPageView* Viewer() {
        const QList<TPageView*> viewers =
            window->findChildren<TPageView*>(QStringLiteral("PageView"));
        return viewers.size() == 1 && viewers.front()->isVisible() ? viewers.front() : nullptr;
    }

    // The stretches of the page's text the viewer marks.
    QStringList Marked(TPageView& viewer) {
        QStringList marked;
        for (const QTextEdit::ExtraSelection& mark : viewer.TextView().extraSelections()) {
            marked.append(mark.cursor.selectedText());
        }
        return marked;
    }

    static bool LineVisible(TPageTextView& text, int line) {
        const QTextCursor at(text.document()->findBlockByNumber(line - 1));
        return text.viewport()->rect().contains(text.cursorRect(at).center());
    }

    void ExpectShownAtTheFinding() {
        TPageView* viewer = Viewer();
        ASSERT_NE(viewer, nullptr);
        EXPECT_EQ(viewer->Page(), (PageLocation{PagePath(), 150, TagKind::Img}));
        TPageTextView& text = viewer->TextView();
        EXPECT_EQ(text.document()->blockCount(), 301);
        EXPECT_EQ(text.document()->findBlockByNumber(0).text(), "<p>1</p>");
        // The line, and the one tag that closes on it.
        EXPECT_EQ(Marked(*viewer), (QStringList{"", QString::fromUtf8(kTag)}));
        EXPECT_TRUE(LineVisible(text, 150));
        EXPECT_FALSE(LineVisible(text, 1));
    }
};

TEST_F(MainWindowPageTest, DoubleClickOrEnterOnAFindingShowsThePageThere) {
    ASSERT_NO_FATAL_FAILURE(ScanSite());
    const int finding = LogLine("long.htm : Line 150 : <img : logo.gif : alt missing");
    DoubleClick(finding);
    ASSERT_NO_FATAL_FAILURE(ExpectShownAtTheFinding());
    Viewer()->close();

    ui.LogRichEdit()->SetSelection({static_cast<std::size_t>(finding), 0},
                                   {static_cast<std::size_t>(finding), 0});
    QTest::keyClick(ui.LogRichEdit(), Qt::Key_Return);
    ASSERT_NO_FATAL_FAILURE(ExpectShownAtTheFinding());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MainWindowPageTest, LinesWithoutAPageDoNothing) {
    ASSERT_NO_FATAL_FAILURE(ScanSite());
    const int finding = LogLine("long.htm : Line 150 : <img");
    for (const char* start :
         {"Scan for missing", "Path : ", "plain.htm : No changes", "Missing alt attributes"}) {
        ContextMenuOn(finding)->close();  // enables the items
        const int line = LogLine(QString::fromLatin1(start));
        DoubleClick(line);
        ui.LogRichEdit()->SetSelection({static_cast<std::size_t>(line), 0},
                                       {static_cast<std::size_t>(line), 0});
        QTest::keyClick(ui.LogRichEdit(), Qt::Key_Return);
        QMenu* menu = ContextMenuOn(line);
        ASSERT_NE(menu, nullptr);
        EXPECT_FALSE(ui.Action("ShowPage1")->isEnabled()) << start;
        EXPECT_FALSE(ui.Action("CopyPagePath1")->isEnabled()) << start;
        menu->close();
        EXPECT_EQ(Viewer(), nullptr) << start;
    }
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MainWindowPageTest, TheContextMenuCopiesThePathAndShowsThePage) {
    ASSERT_NO_FATAL_FAILURE(ScanSite());
    const int finding = LogLine("long.htm : Line 150 : ");
    QApplication::clipboard()->clear();
    QMenu* menu = ContextMenuOn(finding);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->actions().contains(ui.Action("CopyToClipboard1")));
    ASSERT_TRUE(ui.Action("CopyPagePath1")->isEnabled());
    ui.Action("CopyPagePath1")->trigger();
    menu->close();
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromStdString(PagePath()));

    menu = ContextMenuOn(finding);
    ASSERT_NE(menu, nullptr);
    ui.Action("ShowPage1")->trigger();
    menu->close();
    ASSERT_NO_FATAL_FAILURE(ExpectShownAtTheFinding());
}

TEST_F(MainWindowPageTest, ASavedLogReopenedStillLeadsToThePages) {
    ASSERT_NO_FATAL_FAILURE(ScanSite());
    prompter.saveNames = {QString::fromStdString(dir.File("run.vtl"))};
    ui.Action("Save1")->trigger();
    ui.Action("Clear1")->trigger();
    prompter.openNames = {QString::fromStdString(dir.File("run.vtl"))};
    ui.Action("Open1")->trigger();
    ASSERT_TRUE(prompter.messages.empty());

    DoubleClick(LogLine("Log loaded from file : "));
    EXPECT_EQ(Viewer(), nullptr);
    DoubleClick(LogLine("long.htm : Line 150 : "));
    ASSERT_NO_FATAL_FAILURE(ExpectShownAtTheFinding());
}

TEST_F(MainWindowPageTest, APageThatIsGoneIsReported) {
    ASSERT_NO_FATAL_FAILURE(ScanSite());
    std::filesystem::remove(PagePath());
    DoubleClick(LogLine("long.htm : Line 150 : "));
    EXPECT_EQ(Viewer(), nullptr);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].kind, Prompter::Kind::Error);
    EXPECT_TRUE(prompter.messages[0].text.contains(QString::fromStdString(PagePath())));
}

TEST_F(MainWindowPageTest, TheViewerHandsThePageToTheDesktop) {
    ASSERT_NO_FATAL_FAILURE(ScanSite());
    DoubleClick(LogLine("long.htm : Line 150 : "));
    TPageView* viewer = Viewer();
    ASSERT_NE(viewer, nullptr);
    std::vector<QUrl> opened;
    bool opens = true;
    viewer->SetFileOpener([&](const QUrl& url) {
        opened.push_back(url);
        return opens;
    });
    auto* button = viewer->findChild<QPushButton*>(QStringLiteral("OpenInDefaultProgramButton"));
    ASSERT_NE(button, nullptr);
    button->click();
    EXPECT_EQ(opened, std::vector<QUrl>{QUrl::fromLocalFile(QString::fromStdString(PagePath()))});
    EXPECT_TRUE(prompter.messages.empty());

    opens = false;
    button->click();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].kind, Prompter::Kind::Error);
}

}  // namespace
}  // namespace vantaro::test
