#include <QDialog>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <chrono>
#include <limits>
#include <thread>

#include "MainWindowFixture.h"
#include "engine/Engine.h"
#include "shell/ProgressGauge.h"
#include "shell/WindowEngineHost.h"
#include "shell/log/LogView.h"
#include "shell/references/ReferenceListBoxes.h"

namespace vantaro {
namespace {

using test::MainWindowTest;

QStringList Shown(const QListWidget& list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row) {
        texts.append(list.item(row)->text());
    }
    return texts;
}

TEST_F(MainWindowTest, ReferencesAreListedSortedAndFoundLetterCaseAside) {
    TMainForm& w = Create();
    w.EngineHostAdapter().AddFoundReference("b.gif");
    w.EngineHostAdapter().AddFoundReference("A.gif");
    w.EngineHostAdapter().AddFoundReference("c.gif");
    // Found references are shown in batches, at the latest when the run ends.
    EXPECT_TRUE(w.EngineHostAdapter().IsFoundReference("c.gif"));
    ui.RefImagesListBox()->ShowQueuedReferences();
    EXPECT_EQ(Shown(*ui.RefImagesListBox()), (QStringList{"A.gif", "b.gif", "c.gif"}));
    EXPECT_TRUE(w.EngineHostAdapter().IsFoundReference("B.GIF"));
    EXPECT_FALSE(w.EngineHostAdapter().IsFoundReference("d.gif"));
    EXPECT_FALSE(w.EngineHostAdapter().IsIgnoredReference("b.gif"));

    // Only ASCII letters are folded; other bytes must be equal.
    w.EngineHostAdapter().AddFoundReference("\xC3\xA9t\xC3\xA9.gif");  // été.gif
    EXPECT_TRUE(w.EngineHostAdapter().IsFoundReference("\xC3\xA9T\xC3\xA9.GIF"));
    EXPECT_FALSE(w.EngineHostAdapter().IsFoundReference("\xC3\x89T\xC3\x89.GIF"));

    // A reference that is not UTF-8 is shown decoded and kept as its bytes.
    w.EngineHostAdapter().AddFoundReference("caf\xE9.gif");
    ui.RefImagesListBox()->ShowQueuedReferences();
    EXPECT_TRUE(Shown(*ui.RefImagesListBox()).contains(QString::fromUtf8("caf\xC3\xA9.gif")));
    EXPECT_TRUE(w.EngineHostAdapter().IsFoundReference("CAF\xE9.GIF"));
    EXPECT_FALSE(w.EngineHostAdapter().IsFoundReference("caf\xC3\xA9.gif"));

    ui.IgnoreImagesListBox()->AddReference("Logo.gif");
    EXPECT_TRUE(w.EngineHostAdapter().IsIgnoredReference("LOGO.GIF"));
    EXPECT_EQ(ui.IgnoreImagesListBox()->References(), std::vector<std::string>{"Logo.gif"});
}

TEST_F(MainWindowTest, ARunThroughTheEngineReportsIntoTheWindow) {
    TMainForm& w = CreateShown();
    const std::string page =
        dir.Write("page.htm",
                  "<p><img src=\"images/Logo.gif\" title=\"Logo\"></p>\r\n"
                  "<img src=\"photo.jpg\" alt=\"A photo\" title=\"A photo\">\r\n");
    w.MainEngine().ProcessFile(page, ScanMode::Scan);
    ui.RefImagesListBox()->ShowQueuedReferences();
    EXPECT_EQ(Shown(*ui.RefImagesListBox()), QStringList{"Logo.gif"});
    const QString log = ui.LogRichEdit()->toPlainText();
    EXPECT_TRUE(log.contains("page.htm : ")) << log.toStdString();

    // An ignored reference keeps its tag out of the next run.
    ui.RefImagesListBox()->clear();
    ui.IgnoreImagesListBox()->AddReference("logo.GIF");
    w.ShowClearLogPrompt = false;
    ui.Action("Clear1")->trigger();
    w.MainEngine().ProcessFile(page, ScanMode::Scan);
    EXPECT_EQ(ui.RefImagesListBox()->count(), 0);
    EXPECT_FALSE(ui.LogRichEdit()->toPlainText().contains("Logo")) << log.toStdString();
}

TEST_F(MainWindowTest, ProgressOfAnySizeFitsTheGauge) {
    TMainForm& w = Create();
    TProgressGauge& gauge = *ui.ProgressGauge();
    gauge.SetMaxValue(1000);
    w.EngineHostAdapter().AdvanceProgress(250);
    EXPECT_EQ(gauge.maximum(), 1000);
    EXPECT_EQ(gauge.value(), 250);

    const std::uint64_t tenGiB = std::uint64_t{10} << 30;
    gauge.SetMaxValue(tenGiB);
    gauge.SetProgress(0);
    w.EngineHostAdapter().AdvanceProgress(tenGiB / 2);
    EXPECT_EQ(gauge.Progress(), tenGiB / 2);
    EXPECT_GT(gauge.maximum(), 0);
    EXPECT_EQ(gauge.value() * 2, gauge.maximum());
    // It never goes past its maximum, however much is added.
    w.EngineHostAdapter().AdvanceProgress(tenGiB);
    w.EngineHostAdapter().AdvanceProgress(std::numeric_limits<std::uint64_t>::max());
    EXPECT_EQ(gauge.Progress(), tenGiB);
    EXPECT_EQ(gauge.value(), gauge.maximum());

    // Nothing to do: an empty gauge, not a busy animation.
    gauge.SetMaxValue(0);
    EXPECT_EQ(gauge.Progress(), 0u);
    EXPECT_LT(gauge.minimum(), gauge.maximum());
    EXPECT_EQ(gauge.value(), 0);
}

TEST_F(MainWindowTest, PendingEventsAreDeliveredAtMostEveryFifteenMilliseconds) {
    TMainForm& w = Create();
    int delivered = 0;
    auto post = [&w, &delivered] {
        QMetaObject::invokeMethod(
            &w, [&delivered] { ++delivered; }, Qt::QueuedConnection);
    };
    QElapsedTimer sinceFirst;
    post();
    sinceFirst.start();
    w.EngineHostAdapter().PumpEvents();
    EXPECT_EQ(delivered, 1);
    post();
    w.EngineHostAdapter().PumpEvents();
    if (sinceFirst.elapsed() < 15) {
        EXPECT_EQ(delivered, 1);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    w.EngineHostAdapter().PumpEvents();
    EXPECT_EQ(delivered, 2);
}

TEST_F(MainWindowTest, StopInTheTemplateWarningIsTheWindowsStop) {
    TMainForm& w = Create();
    prompter.onExec = [](QDialog& dialog) {
        auto* stop = dialog.findChild<QPushButton*>(QStringLiteral("BitBtn3"));
        EXPECT_NE(stop, nullptr);
        if (stop != nullptr) {
            stop->click();
        }
        return dialog.result();
    };
    prompter.answers = {Prompter::Yes};
    EXPECT_EQ(w.EngineHostAdapter().ShowTemplateWarning(dir.File("page.htm")),
              TemplateWarningAnswer::CancelByStop);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Stop process ? Are you sure ?");
    EXPECT_TRUE(w.Flags().StopRequested);
    EXPECT_TRUE(w.Flags().AbortFile);
}

}  // namespace
}  // namespace vantaro
