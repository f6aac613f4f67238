#include <QAction>
#include <QContextMenuEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QTreeView>

#include "MainWindowFixture.h"
#include "shell/FolderTree.h"
#include "shell/PaneSplitter.h"
#include "shell/ProgressGauge.h"
#include "shell/WindowEngineHost.h"
#include "shell/log/LogView.h"
#include "shell/references/ReferenceListBoxes.h"

namespace vantaro {
namespace {

using test::MainWindowProbe;
using test::MainWindowTest;

// Records what reaches an object. Installed before the busy state begins, it sees only what the
// busy state lets through.
class Arrivals : public QObject {
  public:
    explicit Arrivals(QObject* target) { target->installEventFilter(this); }

    int Count(QEvent::Type type) const {
        return static_cast<int>(std::count(seen_.begin(), seen_.end(), type));
    }
    int Total() const { return static_cast<int>(seen_.size()); }
    void Clear() { seen_.clear(); }

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        seen_.push_back(event->type());
        return false;
    }

  private:
    std::vector<QEvent::Type> seen_;
};

// Where mouse input to a control arrives: an item view's viewport, or the control itself.
QWidget* MouseTarget(QWidget* control) {
    auto* view = qobject_cast<QAbstractScrollArea*>(control);
    return view != nullptr ? view->viewport() : control;
}

std::vector<QWidget*> HookedControls(const MainWindowProbe& ui) {
    return {ui.Find("FoldersShellTreeView"),
            ui.FilesListView(),
            ui.RefImagesListBox(),
            ui.Find("IgnoreImgSpeedButton"),
            ui.Find("StopIgnoreImgSpeedButton"),
            ui.IgnoreImagesListBox()};
}

// The nine mouse-button messages, sent straight to a widget.
void SendButtonMessages(QWidget* target) {
    const QPointF at(3, 3);
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::MiddleButton, Qt::RightButton}) {
        for (QEvent::Type type :
             {QEvent::MouseButtonDblClick, QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held =
                type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
            QMouseEvent event(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
            QApplication::sendEvent(target, &event);
        }
    }
}

// Input that is not a click of the three buttons.
void SendOtherInput(QWidget* target) {
    const QPointF at(4, 4);
    // A drag, so that it is delivered whether or not the control tracks the mouse.
    QMouseEvent move(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QMouseEvent back(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::BackButton,
                     Qt::BackButton, Qt::NoModifier);
    QApplication::sendEvent(target, &back);
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier);
    QApplication::sendEvent(target, &key);
    QHelpEvent tip(QEvent::ToolTip, at.toPoint(), target->mapToGlobal(at.toPoint()));
    QApplication::sendEvent(target, &tip);
}

QList<QAction*> MainMenuItems(const MainWindowProbe& ui) {
    QList<QAction*> items;
    for (const char* menu : {"File1", "Tools1", "Log1", "Help1"}) {
        for (QAction* item : ui.Find<QMenu>(menu)->actions()) {
            if (!item->isSeparator()) {
                items.append(item);
            }
        }
    }
    return items;
}

TEST_F(MainWindowTest, BusyStateDisablesExactlyTheCommandsThatCouldDisturbARun) {
    TMainForm& w = CreateShown();
    TProgressGauge* gauge = ui.ProgressGauge();
    QLabel* progressLabel = ui.Find<QLabel>("ProgressLabel");
    EXPECT_FALSE(ui.Action("StopToolButton")->isEnabled());
    EXPECT_FALSE(gauge->isEnabled());
    gauge->SetMaxValue(100);
    gauge->SetProgress(40);
    const QList<QAction*> popupItems = ui.Find<QMenu>("FileListViewPopupMenu")->actions();
    std::vector<bool> popupEnabled;
    for (QAction* item : popupItems) {
        popupEnabled.push_back(item->isEnabled());
    }

    w.SetProcessingState(true);
    EXPECT_TRUE(w.Processing());
    const QList<QAction*> disabled = ui.Actions({"SelectAll1",
                                                 "DeselectAll1",
                                                 "Preferences1",
                                                 "area1",
                                                 "img1",
                                                 "input1",
                                                 "Preview1",
                                                 "IncludeSubfolders1",
                                                 "Scan1",
                                                 "AddAlt1",
                                                 "AddTitle1",
                                                 "Open1",
                                                 "Save1",
                                                 "Print1",
                                                 "Copy1",
                                                 "Clear1",
                                                 "ShowmissingAlts1",
                                                 "ShowmissingTitles1",
                                                 "Help2",
                                                 "About1",
                                                 "Feedback1",
                                                 "Update1",
                                                 "CorvellOnline1"});
    for (QAction* item : MainMenuItems(ui)) {
        EXPECT_EQ(item->isEnabled(), !disabled.contains(item)) << item->objectName().toStdString();
    }
    EXPECT_TRUE(ui.Action("Exit1")->isEnabled());
    EXPECT_TRUE(ui.Action("Stop1")->isEnabled());
    for (const char* name : {"TagsToolBar", "ProcessToolBar"}) {
        QToolBar* bar = ui.Find<QToolBar>(name);
        EXPECT_FALSE(bar->isEnabled());
        for (QAction* button : bar->actions()) {
            if (!button->isSeparator()) {
                EXPECT_FALSE(bar->widgetForAction(button)->isEnabled());
            }
        }
    }
    EXPECT_TRUE(ui.Find<QToolBar>("StopToolBar")
                    ->widgetForAction(ui.Action("StopToolButton"))
                    ->isEnabled());
    EXPECT_TRUE(ui.Find<QToolBar>("LogToolBar")
                    ->widgetForAction(ui.Action("OpenLogToolButton"))
                    ->isEnabled());
    EXPECT_TRUE(ui.LogRichEdit()->isEnabled());
    EXPECT_TRUE(progressLabel->isEnabled());
    EXPECT_TRUE(gauge->isEnabled());
    EXPECT_TRUE(gauge->ShowText());
    EXPECT_EQ(gauge->Progress(), 0u);
    for (qsizetype i = 0; i < popupItems.size(); ++i) {
        EXPECT_EQ(popupItems[i]->isEnabled(), popupEnabled[static_cast<std::size_t>(i)]);
    }

    // Copy and Clear stay as they are while busy, and follow the log again afterwards.
    ui.LogRichEdit()->AddLogLine("a line", LogColour::LogGrey, true, FontStyle::Plain());
    gauge->SetProgress(30);
    EXPECT_FALSE(ui.Action("ClearLogToolButton")->isEnabled());

    w.SetProcessingState(false);
    EXPECT_FALSE(w.Processing());
    EXPECT_FALSE(ui.Action("StopToolButton")->isEnabled());
    EXPECT_FALSE(ui.Action("Stop1")->isEnabled());
    EXPECT_FALSE(gauge->isEnabled());
    EXPECT_TRUE(progressLabel->isEnabled());  // as the run left it
    EXPECT_TRUE(gauge->ShowText());
    EXPECT_EQ(gauge->Progress(), 30u);
    for (QAction* item :
         ui.Actions({"Preferences1", "area1", "img1", "input1", "Preview1", "Open1", "Save1",
                     "Print1", "ShowmissingAlts1", "ShowmissingTitles1", "Help2", "About1",
                     "Feedback1", "Update1", "CorvellOnline1", "Clear1", "ClearLogToolButton"})) {
        EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
    }
    // No files, no selection, no log selection.
    for (QAction* item : ui.Actions({"SelectAll1", "DeselectAll1", "Scan1", "AddAlt1", "AddTitle1",
                                     "Copy1", "CopyToolButton"})) {
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
    }
    EXPECT_TRUE(ui.Find<QToolBar>("TagsToolBar")->isEnabled());
    EXPECT_TRUE(ui.Find<QToolBar>("ProcessToolBar")->isEnabled());
}

TEST_F(MainWindowTest, WhileBusyClicksOnTheSixControlsAreSwallowedAndNothingElse) {
    TMainForm& w = CreateShown();
    std::vector<std::unique_ptr<Arrivals>> arrivals;
    std::vector<QWidget*> targets;
    for (QWidget* control : HookedControls(ui)) {
        targets.push_back(control);
        if (MouseTarget(control) != control) {
            targets.push_back(MouseTarget(control));
        }
    }
    for (QWidget* target : targets) {
        arrivals.push_back(std::make_unique<Arrivals>(target));
    }

    w.SetProcessingState(true);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        SCOPED_TRACE(targets[i]->objectName().toStdString() + " " +
                     targets[i]->metaObject()->className());
        arrivals[i]->Clear();
        SendButtonMessages(targets[i]);
        EXPECT_EQ(arrivals[i]->Total(), 0);
        SendOtherInput(targets[i]);
        EXPECT_EQ(arrivals[i]->Count(QEvent::MouseMove), 1);
        EXPECT_EQ(arrivals[i]->Count(QEvent::MouseButtonPress), 1);  // the back button
        EXPECT_EQ(arrivals[i]->Count(QEvent::Wheel), 1);
        EXPECT_EQ(arrivals[i]->Count(QEvent::KeyPress), 1);
        EXPECT_EQ(arrivals[i]->Count(QEvent::ToolTip), 1);
    }
    QToolTip::hideText();

    w.SetProcessingState(false);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        SCOPED_TRACE(targets[i]->objectName().toStdString());
        arrivals[i]->Clear();
        SendButtonMessages(targets[i]);
        EXPECT_EQ(arrivals[i]->Count(QEvent::MouseButtonPress), 3);
        EXPECT_EQ(arrivals[i]->Count(QEvent::MouseButtonRelease), 3);
        EXPECT_EQ(arrivals[i]->Count(QEvent::MouseButtonDblClick), 3);
    }
}

TEST_F(MainWindowTest, WhileBusyClicksHaveNoEffectButKeysAndTooltipsDo) {
    TMainForm& w = CreateShown();
    ListPages(w, {"a.htm"});
    TFileListView* fileList = ui.FilesListView();
    TReferenceListBox* found = ui.RefImagesListBox();
    auto* ignoreButton = ui.Find<QToolButton>("IgnoreImgSpeedButton");
    auto* popupMenu = ui.Find<QMenu>("FileListViewPopupMenu");
    QAbstractItemModel* files = fileList->model();
    w.EngineHostAdapter().AddFoundReference("images/a-rather-long-reference-name.gif");
    w.EngineHostAdapter().AddFoundReference("logo.gif");
    ui.RefImagesListBox()->ShowQueuedReferences();
    found->setCurrentRow(0);
    QSignalSpy ignoreClicks(ignoreButton, &QToolButton::clicked);
    const QPoint row = fileList->visualRect(files->index(0, 0)).center();
    QWidget* filesViewport = fileList->viewport();

    w.SetProcessingState(true);
    QTest::mouseClick(filesViewport, Qt::LeftButton, {}, row);
    EXPECT_TRUE(fileList->selectionModel()->selectedRows().isEmpty());
    QTest::mouseClick(ignoreButton, Qt::LeftButton);
    EXPECT_EQ(ignoreClicks.count(), 0);

    // A right click brings no menu; the menu key still does.
    QContextMenuEvent byMouse(QContextMenuEvent::Mouse, row, filesViewport->mapToGlobal(row));
    QApplication::sendEvent(filesViewport, &byMouse);
    EXPECT_FALSE(popupMenu->isVisible());
    QContextMenuEvent byKey(QContextMenuEvent::Keyboard, row, filesViewport->mapToGlobal(row));
    QApplication::sendEvent(filesViewport, &byKey);
    EXPECT_TRUE(popupMenu->isVisible());
    popupMenu->hide();

    // Keys reach the list, and resting on an item shows its whole text.
    QTest::keyClick(found, Qt::Key_Down);
    EXPECT_EQ(found->currentRow(), 1);
    QWidget* refsViewport = found->viewport();
    const QPoint item = found->visualItemRect(found->item(0)).center();
    QHelpEvent tip(QEvent::ToolTip, item, refsViewport->mapToGlobal(item));
    QApplication::sendEvent(refsViewport, &tip);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "images/a-rather-long-reference-name.gif");
    QToolTip::hideText();

    w.SetProcessingState(false);
    QTest::mouseClick(filesViewport, Qt::LeftButton, {}, row);
    EXPECT_EQ(fileList->selectionModel()->selectedRows().size(), 1);
    QTest::mouseClick(ignoreButton, Qt::LeftButton);
    EXPECT_EQ(ignoreClicks.count(), 1);
    QApplication::sendEvent(filesViewport, &byMouse);
    EXPECT_TRUE(popupMenu->isVisible());
    popupMenu->hide();
}

}  // namespace
}  // namespace vantaro
