#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ScriptedPrompter.h"
#include "shell/HelpViewer.h"
#include "shell/dialogs/CTagIOForm.h"

namespace vantaro {
namespace {

using test::ScriptedPrompter;

class TagEditor : public testing::Test {
  protected:
    void SetUp() override { form.show(); }

    QLineEdit* Edit(const char* name) { return form.findChild<QLineEdit*>(QLatin1String(name)); }
    QLineEdit* Language() { return Edit("LanguageEdit"); }
    QLineEdit* Open() { return Edit("OpenEdit"); }
    QLineEdit* Close() { return Edit("CloseEdit"); }
    QPushButton* Button(const char* name) {
        return form.findChild<QPushButton*>(QLatin1String(name));
    }

    // Presses OK and returns the warnings shown for it.
    std::vector<QString> PressOk() {
        const std::size_t before = prompter.messages.size();
        Button("OKButton")->click();
        std::vector<QString> shown;
        for (std::size_t i = before; i < prompter.messages.size(); ++i) {
            shown.push_back(prompter.messages[i].text);
        }
        return shown;
    }

    ScriptedPrompter prompter;
    TTagIOForm form;
};

TEST_F(TagEditor, AllEmptyReportsOnlyTheDescriptionAndFocusesIt) {
    Close()->setFocus();
    EXPECT_EQ(PressOk(), std::vector<QString>{QStringLiteral("Missing Language description.")});
    const Prompter::Message& box = prompter.messages.back();
    EXPECT_EQ(box.kind, Prompter::Kind::Warning);
    EXPECT_EQ(box.title, QStringLiteral("Warning"));
    EXPECT_EQ(box.buttons, unsigned{Prompter::Ok});
    EXPECT_EQ(box.helpContext, 0);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.focusWidget(), Language());
}

TEST_F(TagEditor, ChecksDescriptionOpenAndCloseInThatOrder) {
    QTest::keyClicks(Language(), QStringLiteral("PHP"));
    EXPECT_EQ(PressOk(), std::vector<QString>{QStringLiteral("Missing Tag Open specifier.")});
    EXPECT_EQ(form.focusWidget(), Open());
    QTest::keyClicks(Open(), QStringLiteral("<?php"));
    EXPECT_EQ(PressOk(), std::vector<QString>{QStringLiteral("Missing Tag Close specifier.")});
    EXPECT_EQ(form.focusWidget(), Close());
    EXPECT_TRUE(form.isVisible());
}

TEST_F(TagEditor, BlankOnlyFieldsCountAsEmpty) {
    form.SetTexts(QStringLiteral(" \t "), QStringLiteral("<%"), QStringLiteral("%>"));
    EXPECT_EQ(PressOk(), std::vector<QString>{QStringLiteral("Missing Language description.")});
    form.SetTexts(QStringLiteral("ASP"), QStringLiteral("<%"), QStringLiteral("  "));
    EXPECT_EQ(PressOk(), std::vector<QString>{QStringLiteral("Missing Tag Close specifier.")});
    EXPECT_TRUE(form.isVisible());
}

TEST_F(TagEditor, AcceptsTextsAndHandsThemBackExactlyAsTyped) {
    QTest::keyClicks(Language(), QStringLiteral("  My, <lang>  "));
    QTest::keyClicks(Open(), QStringLiteral(" <% "));
    QTest::keyClicks(Close(), QStringLiteral("%>"));
    EXPECT_TRUE(PressOk().empty());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.LanguageText(), QStringLiteral("  My, <lang>  "));
    EXPECT_EQ(form.OpenText(), QStringLiteral(" <% "));
    EXPECT_EQ(form.CloseText(), QStringLiteral("%>"));
    EXPECT_EQ(prompter.beeps, 0);
}

TEST_F(TagEditor, EnterInAFieldActsAsOk) {
    QTest::keyClick(Language(), Qt::Key_Return);
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(form.isVisible());
    form.SetTexts(QStringLiteral("JSP"), QStringLiteral("<%"), QStringLiteral("%>"));
    QTest::keyClick(Close(), Qt::Key_Return);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST_F(TagEditor, CancelEscAndCloseBoxCloseWithoutChecks) {
    Button("CancelButton")->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);

    form.show();
    form.setResult(-1);
    QTest::keyClick(Language(), Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);

    form.show();
    form.setResult(-1);
    form.close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(TagEditor, TypedDoubleQuotesBeepAndChangeNothing) {
    for (QLineEdit* edit : {Language(), Open(), Close()}) {
        QTest::keyClicks(edit, QStringLiteral("a\"b"));
        EXPECT_EQ(edit->text(), QStringLiteral("ab"));
    }
    EXPECT_EQ(prompter.beeps, 3);
}

TEST_F(TagEditor, PastedDoubleQuotesAreTakenOut) {
    QApplication::clipboard()->setText(QStringLiteral("<?\"php\""));
    Open()->setText(QStringLiteral("[]"));
    Open()->setCursorPosition(1);
    Open()->paste();
    EXPECT_EQ(Open()->text(), QStringLiteral("[<?php]"));
    EXPECT_EQ(Open()->cursorPosition(), 6);
    EXPECT_EQ(prompter.beeps, 1);
}

TEST_F(TagEditor, CallersSetCaptionAndHelpTopic) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral(" Tags to ignore"));
    form.SetCaptionPrefix(QStringLiteral(" Edit"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral(" Edit Tags to ignore"));
    form.SetHelpContext(help::TagEditorEdit);
    EXPECT_EQ(form.HelpContext(), help::TagEditorEdit);
    QTest::keyClick(Language(), Qt::Key_F1);
    ASSERT_NE(HelpViewer::Existing(), nullptr);
    EXPECT_EQ(HelpViewer::Existing()->CurrentPage(), HelpPageUrl(help::TagEditorEdit));
    EXPECT_EQ(form.size(), QSize(300, 86));
}

TEST_F(TagEditor, FieldsHaveNoLengthLimit) {
    const QString longText(40000, QLatin1Char('x'));
    form.SetTexts(longText, longText, longText);
    EXPECT_EQ(form.LanguageText().size(), longText.size());
}

}  // namespace
}  // namespace vantaro
