#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "ScriptedPrompter.h"
#include "shell/HelpViewer.h"
#include "shell/dialogs/CDVTCodeDetectDlg.h"

namespace vantaro {
namespace {

using test::ScriptedPrompter;

const char* const IndexMessage =
    "Code derived from one or more Dreamweaver templates has been found in index.htm. You are "
    "therefore advised to perform the following actions...\r\n\r\n"
    "1. Use Vantaro to add attributess to the necessary Dreamweaver template(s);\r\n"
    "2. Use Dreamweaver to update the files that relate to the modified Dreamweaver "
    "template(s);\r\n"
    "3. Use Vantaro to add attributess to the non-template code within your original "
    "files.\r\n\r\n"
    "Are you sure you want to continue updating index.htm?\r\n";

QPushButton* Button(QDialog& dialog, const char* name) {
    return dialog.findChild<QPushButton*>(QLatin1String(name));
}

// The window's Stop command as the main window performs it: its confirmation decides.
bool ConfirmStop() {
    return CurrentPrompter().Ask(nullptr, {.kind = Prompter::Kind::Confirmation,
                                           .title = QStringLiteral("Confirm"),
                                           .text = QStringLiteral("Stop process ? Are you sure ?"),
                                           .buttons = Prompter::Yes | Prompter::No,
                                           .defaultButton = Prompter::Yes,
                                           .escapeButton = Prompter::No}) == Prompter::Yes;
}

// Plays the dialog shown and returns its result; the dialog must have closed by then.
int Play(QDialog& dialog, const std::function<void(QDialog&)>& user) {
    dialog.setResult(-1);
    dialog.show();
    user(dialog);
    EXPECT_FALSE(dialog.isVisible());
    return dialog.result();
}

TemplateWarningAnswer Answer(ScriptedPrompter& prompter,
                             const std::function<void(QDialog&)>& user) {
    prompter.onExec = [&user](QDialog& dialog) { return Play(dialog, user); };
    return ShowTemplateWarning(nullptr, "/site/pages/index.htm", ConfirmStop);
}

TEST(TemplateWarning, NamesTheFileTwiceInTheExactMessage) {
    EXPECT_EQ(TDWTCodeDetectDlg::FormatMessage(QStringLiteral("index.htm")),
              QString::fromLatin1(IndexMessage));
    EXPECT_EQ(FileNameOfPath("/site/pages/index.htm"), QStringLiteral("index.htm"));
    EXPECT_EQ(FileNameOfPath("index.htm"), QStringLiteral("index.htm"));

    TDWTCodeDetectDlg dialog(nullptr, QStringLiteral("index.htm"), ConfirmStop);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral(" Warning"));
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_NE(label, nullptr);
    const QStringList lines = label->text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 8);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("following actions...")));
    EXPECT_TRUE(lines[1].isEmpty());
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("1. ")));
    EXPECT_TRUE(lines[4].startsWith(QStringLiteral("3. ")));
    EXPECT_EQ(lines[6], QStringLiteral("Are you sure you want to continue updating index.htm?"));
    EXPECT_EQ(label->text().count(QStringLiteral("index.htm")), 2);
}

TEST(TemplateWarning, HasItsDesignedFixedLayoutAndTheWholeMessageFits) {
    TDWTCodeDetectDlg dialog(nullptr, QStringLiteral("a-rather-long-page-name.shtml"), ConfirmStop);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.width(), 517);
    EXPECT_GE(dialog.height(), 176);
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("Label1"));
    EXPECT_GE(label->height(), label->heightForWidth(label->width()));
    EXPECT_LE(label->geometry().bottom(), Button(dialog, "BitBtn1")->y());
    EXPECT_EQ(Button(dialog, "BitBtn1")->text(), QStringLiteral("Yes"));
    EXPECT_EQ(Button(dialog, "BitBtn2")->text(), QStringLiteral("No"));
    EXPECT_EQ(Button(dialog, "BitBtn3")->text(), QStringLiteral("Stop"));
    EXPECT_FALSE(Button(dialog, "BitBtn3")->icon().isNull());
    EXPECT_TRUE(Button(dialog, "BitBtn2")->isDefault());
    EXPECT_EQ(HelpContextOf(dialog), help::TemplateWarning);
}

TEST(TemplateWarning, ButtonsAndKeysGiveTheirAnswers) {
    ScriptedPrompter prompter;
    EXPECT_EQ(Answer(prompter, [](QDialog& d) { Button(d, "BitBtn1")->click(); }),
              TemplateWarningAnswer::Yes);
    EXPECT_EQ(Answer(prompter, [](QDialog& d) { Button(d, "BitBtn2")->click(); }),
              TemplateWarningAnswer::No);
    EXPECT_EQ(Answer(prompter, [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }),
              TemplateWarningAnswer::No);
    // No has the focus when the dialog opens, so Enter answers No.
    EXPECT_EQ(Answer(prompter,
                     [](QDialog& d) {
                         ASSERT_EQ(d.focusWidget(), Button(d, "BitBtn2"));
                         QTest::keyClick(d.focusWidget(), Qt::Key_Return);
                     }),
              TemplateWarningAnswer::No);
    EXPECT_EQ(Answer(prompter, [](QDialog& d) { d.close(); }),
              TemplateWarningAnswer::CancelByClose);
    EXPECT_EQ(prompter.dialogs.size(), 5u);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST(TemplateWarning, StopClosesOnlyWhenTheStopIsConfirmed) {
    ScriptedPrompter prompter;
    prompter.answers = {Prompter::No, Prompter::Yes};
    const TemplateWarningAnswer answer = Answer(prompter, [&prompter](QDialog& d) {
        Button(d, "BitBtn3")->click();
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.result(), -1);
        EXPECT_EQ(prompter.messages.size(), 1u);
        Button(d, "BitBtn3")->click();
    });
    EXPECT_EQ(answer, TemplateWarningAnswer::CancelByStop);
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[1].text, QStringLiteral("Stop process ? Are you sure ?"));
}

// A prompter that rejects the dialog without running it counts as closing it.
TEST(TemplateWarning, AnUnplayedDialogCountsAsClosed) {
    ScriptedPrompter prompter;
    EXPECT_EQ(ShowTemplateWarning(nullptr, "/a/b.htm", ConfirmStop),
              TemplateWarningAnswer::CancelByClose);
}

}  // namespace
}  // namespace vantaro
