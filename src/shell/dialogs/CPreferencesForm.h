#pragma once

#include <QDialog>
#include <QHash>
#include <functional>
#include <string>
#include <vector>

#include "settings/AppSettings.h"
#include "settings/FileFormats.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vantaro {

// The main window's fields that Preferences shows and, on OK, writes back.
struct PreferencesTarget {
    std::string& OtherFileFormats;
    std::vector<std::string>& LanguageTags;  // description, open, close: three items a row
    bool& UpdateDWTs;
    bool& ShowBackupDlg;
    bool& ShowDWTDlg;
    bool& ShowClearLogPrompt;
    std::function<void()> BuildIgnoreTagList;  // rebuilds the skipped regions from LanguageTags
};

// The Preferences dialog: which file formats the file list shows, the language rows whose
// regions runs skip, and four dialog switches. It works on its own controls and writes the
// target and FileFormats() only on OK; Cancel, Esc and the close box write nothing.
class TPreferencesForm : public QDialog {
    Q_OBJECT

  public:
    explicit TPreferencesForm(PreferencesTarget target, QWidget* owner = nullptr);

    // What the file list needs after OK to bring its rows up to date.
    const FileFormatTable& OldFileFormats() const { return oldFileFormats_; }
    const std::string& OldOtherFileFormats() const { return oldOtherFileFormats_; }
    bool FormatsChanged() const { return formatsChanged_; }

  private:
    void CreateFileFormatControls();
    void CreateLanguageTagControls();
    void CreateDialogControls();
    void CreateButtons();
    void WidenToFitCaptions();
    void SetKeyboardOrder();

    void FormCreate();
    void OKButtonClick();
    void SelectAllButtonClick(int tag);
    void FileFormatsCheckListBoxClickCheck();
    void UpdateDWTCheckBoxClick();
    void LanguageTagsListViewChange();
    void AddSpeedButtonClick();
    void EditSpeedButtonClick();
    void DeleteSpeedButtonClick();
    void UpdateSelectButtons();
    void UpdateTagButtons();

    std::string OtherFileFormatsTyped() const;
    QTreeWidgetItem* SelectedLanguageRow() const;

    PreferencesTarget target_;
    FileFormatTable oldFileFormats_;
    std::string oldOtherFileFormats_;
    bool formatsChanged_ = false;

    QListWidget* fileFormatsCheckListBox_ = nullptr;
    QHash<QString, QListWidgetItem*> formatItems_;  // by extension
    QToolButton* selectAllButton_ = nullptr;
    QToolButton* deSelectAllButton_ = nullptr;
    QLineEdit* otherFileFormatsEdit_ = nullptr;
    QTreeWidget* languageTagsListView_ = nullptr;
    QToolButton* addSpeedButton_ = nullptr;
    QToolButton* editSpeedButton_ = nullptr;
    QToolButton* deleteSpeedButton_ = nullptr;
    QCheckBox* showBackupDlgCheckBox_ = nullptr;
    QCheckBox* updateDWTCheckBox_ = nullptr;
    QCheckBox* showDWTDlgCheckBox_ = nullptr;
    QCheckBox* showClrLogPromptCheckBox_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace vantaro
