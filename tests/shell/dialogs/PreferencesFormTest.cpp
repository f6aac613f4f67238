#include <gtest/gtest.h>

#include "QStringPrinting.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>

#include "ScriptedPrompter.h"
#include "engine/EngineSettings.h"
#include "shell/HelpViewer.h"
#include "shell/dialogs/CPreferencesForm.h"
#include "shell/dialogs/CTagIOForm.h"

namespace vantaro {
namespace {

using test::ScriptedPrompter;
using Tags = std::vector<std::string>;

std::size_t IndexOf(const char* extension) {
    const FileFormatTable table = DefaultFileFormats();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].Extension == extension) {
            return i;
        }
    }
    ADD_FAILURE() << extension;
    return 0;
}

class Preferences : public testing::Test {
  protected:
    Preferences() { FileFormats() = DefaultFileFormats(); }
    ~Preferences() override { FileFormats() = DefaultFileFormats(); }

    TPreferencesForm& Open() {
        form = std::make_unique<TPreferencesForm>(
            PreferencesTarget{other, tags, updateDWTs, showBackupDlg, showDWTDlg,
                              showClearLogPrompt, [this] { ++ignoreTagBuilds; }});
        return *form;
    }
    template <typename T>
    T* Find(const char* name) {
        T* child = form->findChild<T*>(QLatin1String(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QListWidget* Formats() { return Find<QListWidget>("FileFormatsCheckListBox"); }
    QListWidgetItem* FormatItem(const char* extension) {
        const QList<QListWidgetItem*> found =
            Formats()->findItems(QLatin1String(extension), Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1) << extension;
        return found.value(0);
    }
    QLineEdit* OtherEdit() { return Find<QLineEdit>("OtherFileFormatsEdit"); }
    QTreeWidget* Rows() { return Find<QTreeWidget>("LanguageTagsListView"); }
    QToolButton* SpeedButton(const char* name) { return Find<QToolButton>(name); }
    QCheckBox* CheckBox(const char* name) { return Find<QCheckBox>(name); }
    void SelectRow(int row) { Rows()->setCurrentItem(Rows()->topLevelItem(row)); }
    void PressOk() { Find<QPushButton>("OKButton")->click(); }
    void PressCancel() { Find<QPushButton>("CancelButton")->click(); }
    // Select All and Deselect All enabled.
    std::pair<bool, bool> SelectButtons() {
        return {SpeedButton("SelectAllButton")->isEnabled(),
                SpeedButton("DeSelectAllButton")->isEnabled()};
    }
    // The tag editor answered with these texts and OK.
    void AnswerTagEditor(const QString& language, const QString& open, const QString& close) {
        prompter.onExec = [=, this](QDialog& dialog) {
            auto& editor = dynamic_cast<TTagIOForm&>(dialog);
            editorCaptions.push_back(editor.windowTitle());
            editorHelp.push_back(editor.HelpContext());
            editorTexts.push_back({editor.LanguageText(), editor.OpenText(), editor.CloseText()});
            editor.SetTexts(language, open, close);
            editor.accept();
            return editor.result();
        };
    }

    ScriptedPrompter prompter;
    std::string other = "txt";
    Tags tags = EngineSettings::DefaultLanguageTags();
    bool updateDWTs = true;
    bool showBackupDlg = true;
    bool showDWTDlg = true;
    bool showClearLogPrompt = true;
    int ignoreTagBuilds = 0;
    std::unique_ptr<TPreferencesForm> form;
    std::vector<QString> editorCaptions;
    std::vector<int> editorHelp;
    std::vector<QStringList> editorTexts;
};

TEST_F(Preferences, ShowsTheCurrentChoicesInKeyboardOrder) {
    TPreferencesForm& dialog = Open();

    QStringList extensions;
    for (int i = 0; i < Formats()->count(); ++i) {
        extensions.push_back(Formats()->item(i)->text());
    }
    EXPECT_EQ(extensions,
              (QStringList{"asa",  "ascx", "asmx", "asp",   "aspx", "cfc", "cfm",  "cfml",
                           "dwt",  "hta",  "htc",  "htm",   "html", "inc", "php",  "php3",
                           "php4", "php5", "shtm", "shtml", "ssi",  "stm", "xhtml"}));
    EXPECT_EQ(OtherEdit()->text(), QStringLiteral("txt"));
    ASSERT_EQ(Rows()->topLevelItemCount(), 3);
    EXPECT_EQ(Rows()->topLevelItem(0)->text(0), QStringLiteral("ASP, JSP"));
    EXPECT_EQ(Rows()->topLevelItem(2)->text(2), QStringLiteral("</script>"));

    dialog.show();
    EXPECT_EQ(dialog.focusWidget(), Formats());
    QStringList order;
    QWidget* widget = Formats();
    do {
        if (widget->focusPolicy() & Qt::TabFocus) {
            order.push_back(widget->objectName());
        }
        widget = widget->nextInFocusChain();
    } while (widget != Formats() && order.size() < 20);
    EXPECT_EQ(order, (QStringList{"FileFormatsCheckListBox", "OtherFileFormatsEdit",
                                  "LanguageTagsListView", "ShowBackupDlgCheckBox",
                                  "UpdateDWTCheckBox", "ShowDWTDlgCheckBox",
                                  "ShowClrLogPromptCheckBox", "OKButton", "CancelButton"}));
}

TEST_F(Preferences, NoCaptionIsCutAndTheButtonsStayInsideTheDialog) {
    TPreferencesForm& dialog = Open();
    dialog.show();
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
        const QWidget* group = box->parentWidget();
        EXPECT_GE(box->width(), box->sizeHint().width()) << box->objectName().toStdString();
        EXPECT_LE(box->geometry().right(), group->width()) << box->objectName().toStdString();
    }
    for (QWidget* button : {static_cast<QWidget*>(Find<QPushButton>("CancelButton")),
                            static_cast<QWidget*>(SpeedButton("DeleteSpeedButton"))}) {
        EXPECT_LE(button->mapTo(&dialog, QPoint(button->width(), 0)).x(), dialog.width());
    }
}

TEST_F(Preferences, OkWithoutChangesLeavesFormatsUnchangedButRebuildsTheLanguageRows) {
    Open();
    PressOk();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_FALSE(form->FormatsChanged());
    EXPECT_EQ(tags, EngineSettings::DefaultLanguageTags());
    EXPECT_EQ(ignoreTagBuilds, 1);
    EXPECT_EQ(other, "txt");
    EXPECT_EQ(FileFormats(), DefaultFileFormats());
}

TEST_F(Preferences, BlanksAreRemovedFromOtherFormatsAndTheEditShowsIt) {
    Open();
    OtherEdit()->setText(QStringLiteral(" txt ; vbs;;wml "));
    PressOk();
    EXPECT_EQ(other, "txt;vbs;;wml");
    EXPECT_EQ(OtherEdit()->text(), QStringLiteral("txt;vbs;;wml"));
    EXPECT_TRUE(form->FormatsChanged());
    EXPECT_EQ(form->OldOtherFileFormats(), "txt");
}

TEST_F(Preferences, ALetterCaseChangeAloneIsStoredButChangesNoFormats) {
    Open();
    OtherEdit()->setText(QStringLiteral("TXT "));
    PressOk();
    EXPECT_FALSE(form->FormatsChanged());
    EXPECT_EQ(other, "TXT");
}

TEST_F(Preferences, FormatChecksAreWrittenToTheTableOnOkOnly) {
    Open();
    FormatItem("php")->setCheckState(Qt::Unchecked);
    FormatItem("htm")->setCheckState(Qt::Unchecked);
    FormatItem("htm")->setCheckState(Qt::Checked);
    EXPECT_EQ(FileFormats(), DefaultFileFormats());
    PressOk();
    EXPECT_TRUE(form->FormatsChanged());
    EXPECT_FALSE(FileFormats()[IndexOf("php")].Enabled);
    EXPECT_TRUE(FileFormats()[IndexOf("htm")].Enabled);
    EXPECT_EQ(form->OldFileFormats(), DefaultFileFormats());
}

TEST_F(Preferences, CheckingAndUncheckingTheSameFormatIsNoChange) {
    FileFormats()[IndexOf("dwt")].Enabled = false;
    Open();
    FormatItem("dwt")->setCheckState(Qt::Checked);
    FormatItem("dwt")->setCheckState(Qt::Unchecked);
    PressOk();
    EXPECT_FALSE(form->FormatsChanged());
    EXPECT_FALSE(FileFormats()[IndexOf("dwt")].Enabled);
}

TEST_F(Preferences, SelectButtonsFollowTheChecks) {
    Open();
    EXPECT_EQ(SelectButtons(), std::make_pair(false, true));
    SpeedButton("DeSelectAllButton")->click();
    EXPECT_EQ(Formats()->item(0)->checkState(), Qt::Unchecked);
    EXPECT_EQ(Formats()->item(22)->checkState(), Qt::Unchecked);
    EXPECT_EQ(SelectButtons(), std::make_pair(true, false));
    FormatItem("asp")->setCheckState(Qt::Checked);
    EXPECT_EQ(SelectButtons(), std::make_pair(true, true));
    SpeedButton("SelectAllButton")->click();
    EXPECT_EQ(Formats()->item(22)->checkState(), Qt::Checked);
    EXPECT_EQ(SelectButtons(), std::make_pair(false, true));
}

TEST_F(Preferences, TheTemplateDialogOptionGreysWithTheTemplateOptionButKeepsItsCheck) {
    Open();
    EXPECT_TRUE(CheckBox("ShowDWTDlgCheckBox")->isEnabled());
    CheckBox("UpdateDWTCheckBox")->click();
    EXPECT_FALSE(CheckBox("ShowDWTDlgCheckBox")->isEnabled());
    EXPECT_TRUE(CheckBox("ShowDWTDlgCheckBox")->isChecked());
    CheckBox("ShowBackupDlgCheckBox")->click();
    PressOk();
    EXPECT_FALSE(updateDWTs);
    EXPECT_TRUE(showDWTDlg);
    EXPECT_FALSE(showBackupDlg);
    EXPECT_TRUE(showClearLogPrompt);

    updateDWTs = false;
    showDWTDlg = false;
    Open();
    EXPECT_FALSE(CheckBox("ShowDWTDlgCheckBox")->isEnabled());
    CheckBox("UpdateDWTCheckBox")->click();
    EXPECT_TRUE(CheckBox("ShowDWTDlgCheckBox")->isEnabled());
    EXPECT_FALSE(CheckBox("ShowDWTDlgCheckBox")->isChecked());
}

TEST_F(Preferences, DeletingAsksAndYesRemovesTheRow) {
    Open();
    EXPECT_FALSE(SpeedButton("DeleteSpeedButton")->isEnabled());
    SelectRow(0);
    EXPECT_TRUE(SpeedButton("DeleteSpeedButton")->isEnabled());
    EXPECT_TRUE(SpeedButton("EditSpeedButton")->isEnabled());

    prompter.answers = {Prompter::No};
    SpeedButton("DeleteSpeedButton")->click();
    ASSERT_EQ(prompter.messages.size(), 1u);
    const Prompter::Message& question = prompter.messages[0];
    EXPECT_EQ(question.text, QStringLiteral("Delete ASP, JSP Tags. Are you sure ?"));
    EXPECT_EQ(question.title, QStringLiteral("Confirm"));
    EXPECT_EQ(question.kind, Prompter::Kind::Confirmation);
    EXPECT_EQ(question.buttons, unsigned{Prompter::Yes | Prompter::No});
    EXPECT_EQ(question.helpContext, help::DeleteLanguageTags);
    EXPECT_EQ(Rows()->topLevelItemCount(), 3);

    prompter.answers = {Prompter::Yes};
    SpeedButton("DeleteSpeedButton")->click();
    ASSERT_EQ(Rows()->topLevelItemCount(), 2);
    EXPECT_EQ(Rows()->topLevelItem(0)->text(0), QStringLiteral("PHP"));
    EXPECT_TRUE(Rows()->selectedItems().isEmpty());
    EXPECT_FALSE(SpeedButton("DeleteSpeedButton")->isEnabled());
}

TEST_F(Preferences, DeletingEveryRowAndOkLeavesNoLanguageRows) {
    Open();
    while (Rows()->topLevelItemCount() > 0) {
        SelectRow(0);
        prompter.answers = {Prompter::Yes};
        SpeedButton("DeleteSpeedButton")->click();
    }
    EXPECT_FALSE(SpeedButton("DeleteSpeedButton")->isEnabled());
    EXPECT_FALSE(SpeedButton("EditSpeedButton")->isEnabled());
    EXPECT_TRUE(SpeedButton("AddSpeedButton")->isEnabled());
    PressOk();
    EXPECT_TRUE(tags.empty());
    EXPECT_EQ(ignoreTagBuilds, 1);
}

TEST_F(Preferences, AddAppendsTheEditorsRowSelectedAndFocused) {
    Open().show();
    AnswerTagEditor(QStringLiteral(" JSP, taglib "), QStringLiteral("<%@"), QStringLiteral("%>"));
    SpeedButton("AddSpeedButton")->click();
    ASSERT_EQ(editorCaptions.size(), 1u);
    EXPECT_EQ(editorCaptions[0], QStringLiteral(" Add Tags to ignore"));
    EXPECT_EQ(editorHelp[0], help::TagEditorAdd);
    EXPECT_EQ(editorTexts[0], (QStringList{"", "", ""}));
    ASSERT_EQ(Rows()->topLevelItemCount(), 4);
    EXPECT_EQ(Rows()->selectedItems().value(0), Rows()->topLevelItem(3));
    EXPECT_EQ(form->focusWidget(), Rows());
    EXPECT_TRUE(SpeedButton("EditSpeedButton")->isEnabled());

    PressOk();
    ASSERT_EQ(tags.size(), 12u);
    EXPECT_EQ(Tags(tags.begin() + 9, tags.end()), (Tags{" JSP, taglib ", "<%@", "%>"}));
}

TEST_F(Preferences, EditReplacesTheSelectedRowWithTheEditorsTexts) {
    Open().show();
    SelectRow(1);
    AnswerTagEditor(QStringLiteral("PHP short"), QStringLiteral("<?"), QStringLiteral("?>"));
    SpeedButton("EditSpeedButton")->click();
    ASSERT_EQ(editorCaptions.size(), 1u);
    EXPECT_EQ(editorCaptions[0], QStringLiteral(" Edit Tags to ignore"));
    EXPECT_EQ(editorHelp[0], help::TagEditorEdit);
    EXPECT_EQ(editorTexts[0], (QStringList{"PHP", "<?php", "?>"}));
    EXPECT_EQ(form->focusWidget(), Rows());
    PressOk();
    EXPECT_EQ(Tags(tags.begin() + 3, tags.begin() + 6), (Tags{"PHP short", "<?", "?>"}));
    EXPECT_EQ(tags.size(), 9u);
}

TEST_F(Preferences, AnEditorClosedWithCancelChangesNothing) {
    Open();
    SelectRow(0);
    SpeedButton("AddSpeedButton")->click();  // no answer: the editor is cancelled
    SpeedButton("EditSpeedButton")->click();
    EXPECT_EQ(prompter.dialogs,
              (std::vector<QString>{"vantaro::TTagIOForm", "vantaro::TTagIOForm"}));
    EXPECT_EQ(Rows()->topLevelItemCount(), 3);
    EXPECT_EQ(Rows()->topLevelItem(0)->text(0), QStringLiteral("ASP, JSP"));
}

TEST_F(Preferences, CancelAfterAddEditAndDeleteWritesNothingBack) {
    Open();
    AnswerTagEditor(QStringLiteral("JSP"), QStringLiteral("<%@"), QStringLiteral("%>"));
    SpeedButton("AddSpeedButton")->click();
    SelectRow(0);
    SpeedButton("EditSpeedButton")->click();
    SelectRow(1);
    prompter.answers = {Prompter::Yes};
    SpeedButton("DeleteSpeedButton")->click();
    FormatItem("php")->setCheckState(Qt::Unchecked);
    OtherEdit()->setText(QStringLiteral("vbs"));
    CheckBox("ShowClrLogPromptCheckBox")->click();
    PressCancel();

    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_EQ(tags, EngineSettings::DefaultLanguageTags());
    EXPECT_EQ(ignoreTagBuilds, 0);
    EXPECT_EQ(other, "txt");
    EXPECT_TRUE(showClearLogPrompt);
    EXPECT_EQ(FileFormats(), DefaultFileFormats());
    EXPECT_FALSE(form->FormatsChanged());
}

TEST_F(Preferences, AShortLanguageRowShowsEmptyColumnsAndIsSavedWithEmptyStrings) {
    tags = {"ASP", "<%", "%>", "Half"};
    Open();
    ASSERT_EQ(Rows()->topLevelItemCount(), 2);
    EXPECT_EQ(Rows()->topLevelItem(1)->text(0), QStringLiteral("Half"));
    EXPECT_TRUE(Rows()->topLevelItem(1)->text(1).isEmpty());
    PressOk();
    EXPECT_EQ(tags, (Tags{"ASP", "<%", "%>", "Half", "", ""}));
}

TEST_F(Preferences, TextThatIsNotUtf8IsWrittenBackUnchanged) {
    tags = {"Mod\xe8le", "<\xa7", "\xa7>"};
    other = "t\xe9xt;vbs";
    Open();
    EXPECT_EQ(Rows()->topLevelItem(0)->text(0), QStringLiteral("Mod\u00e8le"));
    PressOk();
    EXPECT_EQ(tags, (Tags{"Mod\xe8le", "<\xa7", "\xa7>"}));
    EXPECT_EQ(other, "t\xe9xt;vbs");
    EXPECT_FALSE(form->FormatsChanged());
}

}  // namespace
}  // namespace vantaro
