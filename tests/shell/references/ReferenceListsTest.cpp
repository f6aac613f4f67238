#include <gtest/gtest.h>

#include "QStringPrinting.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QToolButton>
#include <QWidget>
#include <algorithm>

#include "shell/references/ReferenceListBoxes.h"

namespace vantaro {
namespace {

QStringList Texts(const TReferenceListBox& list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row) {
        texts.push_back(list.item(row)->text());
    }
    return texts;
}

QStringList SelectedTexts(const TReferenceListBox& list) {
    QStringList texts;
    for (int row : list.SelectedRows()) {
        texts.push_back(list.item(row)->text());
    }
    return texts;
}

void SelectTexts(TReferenceListBox& list, const QStringList& texts) {
    for (int row = 0; row < list.count(); ++row) {
        if (texts.contains(list.item(row)->text())) {
            list.item(row)->setSelected(true);
        }
    }
}

class ReferenceLists : public testing::Test {
  protected:
    TReferenceListBox& Found() { return *lists.RefImagesListBox(); }
    TReferenceListBox& Ignored() { return *lists.IgnoreImagesListBox(); }
    bool IgnoreEnabled() { return lists.IgnoreImgSpeedButton()->isEnabled(); }
    bool StopIgnoreEnabled() { return lists.StopIgnoreImgSpeedButton()->isEnabled(); }
    void AddFound(std::initializer_list<const char*> references) {
        for (const char* reference : references) {
            lists.AddFound(reference);
        }
        lists.ShowAllFound();  // as the end of a run does
    }
    // The menu's items as IgnoreImgsListBoxPopupMenuPopup leaves them: Delete, Select All.
    std::pair<bool, bool> MenuOnOpening() {
        lists.IgnoreImgsListBoxPopupMenuPopup();
        return {lists.Delete1()->isEnabled(), lists.SelectAll3()->isEnabled()};
    }

    QWidget window;
    TReferenceLists lists{&window};
};

TEST_F(ReferenceLists, IgnoringMovesTheSelectedIntoSortedPlaceAndSelectsOnlyThem) {
    lists.SetIgnoredItems({"f.gif", "b.gif", "d.gif"});
    SelectTexts(Ignored(), {"d.gif"});
    AddFound({"e.gif", "a.gif", "g.gif", "c.gif"});
    SelectTexts(Found(), {"a.gif", "c.gif", "e.gif"});
    EXPECT_TRUE(IgnoreEnabled());

    lists.IgnoreImgSpeedButton()->click();
    EXPECT_EQ(Texts(Ignored()),
              (QStringList{"a.gif", "b.gif", "c.gif", "d.gif", "e.gif", "f.gif"}));
    EXPECT_EQ(SelectedTexts(Ignored()), (QStringList{"a.gif", "c.gif", "e.gif"}));
    EXPECT_EQ(Texts(Found()), QStringList{"g.gif"});
    EXPECT_TRUE(SelectedTexts(Found()).isEmpty());
    EXPECT_FALSE(IgnoreEnabled());
    EXPECT_TRUE(StopIgnoreEnabled());
    EXPECT_TRUE(lists.IsIgnored("C.GIF"));
    EXPECT_FALSE(lists.IsFound("c.gif"));
}

TEST_F(ReferenceLists, StoppingIgnoringIsTheMirrorImage) {
    lists.SetIgnoredItems({"b.gif", "d.gif", "f.gif"});
    AddFound({"a.gif", "e.gif"});
    SelectTexts(Found(), {"a.gif"});
    SelectTexts(Ignored(), {"b.gif", "f.gif"});

    lists.StopIgnoreImgSpeedButton()->click();
    EXPECT_EQ(Texts(Found()), (QStringList{"a.gif", "b.gif", "e.gif", "f.gif"}));
    EXPECT_EQ(SelectedTexts(Found()), (QStringList{"b.gif", "f.gif"}));
    EXPECT_EQ(Texts(Ignored()), QStringList{"d.gif"});
    EXPECT_TRUE(IgnoreEnabled());
    EXPECT_FALSE(StopIgnoreEnabled());
    EXPECT_FALSE(lists.IsIgnored("b.gif"));
    EXPECT_TRUE(lists.IsFound("B.gif"));
}

TEST_F(ReferenceLists, AnEqualTextMovedTwiceGivesTwoEntriesAndLookupsCountThem) {
    lists.SetIgnoredItems({"x.gif"});
    AddFound({"x.gif"});
    SelectTexts(Found(), {"x.gif"});
    lists.IgnoreImgSpeedButtonClick();
    EXPECT_EQ(Texts(Ignored()), (QStringList{"x.gif", "x.gif"}));
    EXPECT_EQ(Ignored().SelectedRows(), std::vector<int>{1});

    lists.Delete1Click();
    EXPECT_EQ(Texts(Ignored()), QStringList{"x.gif"});
    EXPECT_TRUE(lists.IsIgnored("X.GIF"));
    lists.SelectAll3Click();
    lists.Delete1Click();
    EXPECT_FALSE(lists.IsIgnored("x.gif"));
}

TEST_F(ReferenceLists, SelectAllAndDeleteFromTheContextMenu) {
    EXPECT_EQ(MenuOnOpening(), std::make_pair(false, false));  // empty list

    lists.SetIgnoredItems({"a.gif", "b.gif", "c.gif"});
    EXPECT_EQ(MenuOnOpening(), std::make_pair(false, true));
    lists.SelectAll3()->trigger();
    EXPECT_EQ(SelectedTexts(Ignored()), Texts(Ignored()));
    EXPECT_TRUE(StopIgnoreEnabled());
    EXPECT_EQ(MenuOnOpening(), std::make_pair(true, false));

    lists.Delete1()->trigger();
    EXPECT_EQ(Ignored().count(), 0);
    EXPECT_FALSE(StopIgnoreEnabled());
    EXPECT_FALSE(lists.IsIgnored("a.gif"));
    EXPECT_TRUE(lists.IgnoredItems().empty());
    EXPECT_EQ(MenuOnOpening(), std::make_pair(false, false));
}

TEST_F(ReferenceLists, DeleteRemovesOnlyTheSelectedAndTheNextLookupSeesIt) {
    lists.SetIgnoredItems({"a.gif", "b.gif", "c.gif"});
    SelectTexts(Ignored(), {"a.gif", "c.gif"});
    EXPECT_EQ(MenuOnOpening(), std::make_pair(true, true));
    lists.Delete1Click();
    EXPECT_EQ(lists.IgnoredItems(), std::vector<std::string>{"b.gif"});
    EXPECT_FALSE(lists.IsIgnored("A.gif"));
    EXPECT_TRUE(lists.IsIgnored("B.GIF"));
}

TEST_F(ReferenceLists, TextsDifferingInCaseOnlyAreAdjacentAndSavedInListOrder) {
    lists.SetIgnoredItems({"B.gif", "c.gif", "a.gif", "b.gif", "A.gif"});
    EXPECT_EQ(lists.IgnoredItems(),
              (std::vector<std::string>{"a.gif", "A.gif", "b.gif", "B.gif", "c.gif"}));
    EXPECT_EQ(Texts(Ignored()), (QStringList{"a.gif", "A.gif", "b.gif", "B.gif", "c.gif"}));
}

TEST_F(ReferenceLists, ClearingFoundEmptiesItAndDisablesIgnore) {
    AddFound({"a.gif", "b.gif"});
    SelectTexts(Found(), {"a.gif"});
    EXPECT_TRUE(IgnoreEnabled());
    lists.ClearFound();
    EXPECT_EQ(Found().count(), 0);
    EXPECT_FALSE(IgnoreEnabled());
    EXPECT_FALSE(lists.IsFound("a.gif"));
}

TEST_F(ReferenceLists, ReferencesKeepTheirBytesThroughMoves) {
    const std::string latin1 = "caf\xe9.gif";  // not UTF-8: as a Windows-1252 page has it
    lists.SetIgnoredItems({latin1});
    EXPECT_EQ(Texts(Ignored()), QStringList{QStringLiteral("caf\u00e9.gif")});
    lists.SelectAll3Click();
    lists.StopIgnoreImgSpeedButtonClick();
    SelectTexts(Found(), {QStringLiteral("caf\u00e9.gif")});
    lists.IgnoreImgSpeedButtonClick();
    EXPECT_EQ(lists.IgnoredItems(), std::vector<std::string>{latin1});
    EXPECT_TRUE(lists.IsIgnored("CAF\xe9.GIF"));
}

TEST_F(ReferenceLists, TooltipShowsTheFullTextOfTheItemUnderTheMouse) {
    const std::string wide = "a-reference-much-wider-than-its-narrow-list.gif";
    lists.SetIgnoredItems({wide, "b.gif"});
    Ignored().resize(112, 200);
    window.show();
    const QRect first = Ignored().visualItemRect(Ignored().item(0));
    const QRect last = Ignored().visualItemRect(Ignored().item(1));
    EXPECT_EQ(Ignored().HintAt(first.center()), QString::fromStdString(wide));
    EXPECT_EQ(Ignored().HintAt(last.center()), QStringLiteral("b.gif"));
    EXPECT_TRUE(Ignored().HintAt(QPoint(last.center().x(), last.bottom() + 10)).isEmpty());
    EXPECT_TRUE(Found().HintAt(QPoint(5, 5)).isEmpty());
}

// A run's references are shown in batches: a large batch rebuilds the rows, which must keep
// the sorted order and the user's selection, and a batch shows by itself once the events run.
TEST_F(ReferenceLists, ReferencesFoundInBatchesShowSortedAndKeepTheSelection) {
    AddFound({"m.gif", "c.gif"});
    SelectTexts(Found(), {"m.gif"});
    QStringList expected = {"c.gif", "m.gif"};
    for (int i = 0; i < 100; ++i) {
        const QString text = QString("r%1.gif").arg(i * 37 % 100);
        lists.AddFound(text.toStdString());
        expected.append(text);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Found().count(), 2);
    EXPECT_TRUE(lists.IsFound("R5.GIF"));
    QElapsedTimer waited;
    waited.start();
    while (Found().count() == 2 && waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    EXPECT_EQ(Texts(Found()), expected);
    EXPECT_EQ(SelectedTexts(Found()), QStringList{"m.gif"});
    EXPECT_TRUE(IgnoreEnabled());
}

}  // namespace
}  // namespace vantaro
