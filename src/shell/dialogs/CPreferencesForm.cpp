#include "shell/dialogs/CPreferencesForm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>

#include "engine/ByteText.h"
#include "run/WordSort.h"
#include "shell/HelpViewer.h"
#include "shell/Prompter.h"
#include "shell/dialogs/CTagIOForm.h"
#include "shell/log/DisplayText.h"

namespace vantaro {

namespace {

constexpr int LanguageColumnCount = 3;
constexpr int FormatColumns = 5;
constexpr int FormatItemHeight = 16;
constexpr int GroupInnerRight = 306;  // of the 308-pixel group boxes, inside their frame
constexpr int GroupListRight = 298;   // where the lists and the edit inside a group end
const char* const TagProperty = "Tag";

QString Text(const std::string& bytes) {
    return DisplayText(bytes);
}

// A cell keeps the bytes it was loaded with, so text that is not UTF-8 goes back unchanged.
void SetCell(QTreeWidgetItem& row, int column, const QByteArray& bytes) {
    row.setText(column, DisplayText(std::string_view(bytes.constData(), bytes.size())));
    row.setData(column, Qt::UserRole, bytes);
}

std::string CellBytes(const QTreeWidgetItem& row, int column) {
    return row.data(column, Qt::UserRole).toByteArray().toStdString();
}

std::string WithoutBlanks(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

QGroupBox* AddGroupBox(QWidget* parent, const char* name, const QString& caption,
                       const QRect& geometry) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(geometry);
    return box;
}

QToolButton* AddSpeedButton(QWidget* parent, const char* name, const QString& caption,
                            const QRect& geometry) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setGeometry(geometry);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QCheckBox* AddCheckBox(QWidget* parent, const char* name, const QString& caption, int left,
                       int top) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(left, top, GroupInnerRight - left, 17);
    return box;
}

QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption, int left) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(left, 415, 75, 25);
    return button;
}

}  // namespace

TPreferencesForm::TPreferencesForm(PreferencesTarget target, QWidget* owner)
    : QDialog(owner, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint), target_(std::move(target)) {
    setObjectName(QStringLiteral("PreferencesForm"));
    setWindowTitle(QStringLiteral(" Preferences"));
    setFixedSize(323, 446);
    CreateFileFormatControls();
    CreateLanguageTagControls();
    CreateDialogControls();
    CreateButtons();
    WidenToFitCaptions();
    SetKeyboardOrder();
    FormCreate();
    fileFormatsCheckListBox_->setFocus();
}

void TPreferencesForm::CreateFileFormatControls() {
    QGroupBox* group =
        AddGroupBox(this, "GroupBox1", QStringLiteral(" File Formats "), QRect(8, 4, 308, 182));
    fileFormatsCheckListBox_ = new QListWidget(group);
    fileFormatsCheckListBox_->setObjectName(QStringLiteral("FileFormatsCheckListBox"));
    fileFormatsCheckListBox_->setGeometry(8, 16, 290, 84);
    fileFormatsCheckListBox_->setFlow(QListView::LeftToRight);
    fileFormatsCheckListBox_->setWrapping(true);
    fileFormatsCheckListBox_->setUniformItemSizes(true);
    // The 23 formats fit in five rows; a scroll bar kept in reserve would cost a column.
    fileFormatsCheckListBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fileFormatsCheckListBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int inner = 290 - 2 * fileFormatsCheckListBox_->frameWidth();
    fileFormatsCheckListBox_->setGridSize(QSize(inner / FormatColumns, FormatItemHeight));

    selectAllButton_ = AddSpeedButton(group, "SelectAllButton", QStringLiteral("Select All"),
                                      QRect(140, 104, 75, 25));
    selectAllButton_->setProperty(TagProperty, 1);
    deSelectAllButton_ = AddSpeedButton(group, "DeSelectAllButton", QStringLiteral("Deselect All"),
                                        QRect(223, 104, 75, 25));
    deSelectAllButton_->setProperty(TagProperty, 0);

    auto* label =
        new QLabel(QStringLiteral("Other. Use ; as separator (e.g. txt;vbs;wml)."), group);
    label->setObjectName(QStringLiteral("Label2"));
    label->move(8, 135);
    label->adjustSize();
    otherFileFormatsEdit_ = new QLineEdit(group);
    otherFileFormatsEdit_->setObjectName(QStringLiteral("OtherFileFormatsEdit"));
    otherFileFormatsEdit_->setGeometry(8, 151, 290, 21);

    connect(fileFormatsCheckListBox_, &QListWidget::itemChanged, this,
            &TPreferencesForm::FileFormatsCheckListBoxClickCheck);
    for (QToolButton* button : {selectAllButton_, deSelectAllButton_}) {
        connect(button, &QToolButton::clicked, this,
                [this, button] { SelectAllButtonClick(button->property(TagProperty).toInt()); });
    }
}

void TPreferencesForm::CreateLanguageTagControls() {
    QGroupBox* group =
        AddGroupBox(this, "GroupBox2", QStringLiteral(" Tags to ignore "), QRect(8, 187, 308, 133));
    languageTagsListView_ = new QTreeWidget(group);
    languageTagsListView_->setObjectName(QStringLiteral("LanguageTagsListView"));
    languageTagsListView_->setGeometry(8, 16, 290, 79);
    languageTagsListView_->setColumnCount(LanguageColumnCount);
    languageTagsListView_->setHeaderLabels(
        {QStringLiteral("Description"), QStringLiteral("Open"), QStringLiteral("Close")});
    languageTagsListView_->setRootIsDecorated(false);
    languageTagsListView_->setUniformRowHeights(true);
    languageTagsListView_->setAllColumnsShowFocus(true);
    languageTagsListView_->setSelectionMode(QAbstractItemView::SingleSelection);
    languageTagsListView_->setSelectionBehavior(QAbstractItemView::SelectRows);
    languageTagsListView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QHeaderView* columns = languageTagsListView_->header();
    columns->setSectionsClickable(false);
    columns->setSectionsMovable(false);
    columns->setStretchLastSection(false);
    columns->setSectionResizeMode(QHeaderView::Fixed);
    const int widths[LanguageColumnCount] = {132, 68, 68};
    for (int column = 0; column < LanguageColumnCount; ++column) {
        columns->resizeSection(column, widths[column]);
    }

    addSpeedButton_ =
        AddSpeedButton(group, "AddSpeedButton", QStringLiteral("Add"), QRect(57, 99, 75, 25));
    editSpeedButton_ =
        AddSpeedButton(group, "EditSpeedButton", QStringLiteral("Edit"), QRect(140, 99, 75, 25));
    deleteSpeedButton_ = AddSpeedButton(group, "DeleteSpeedButton", QStringLiteral("Delete"),
                                        QRect(223, 99, 75, 25));

    connect(languageTagsListView_, &QTreeWidget::itemSelectionChanged, this,
            &TPreferencesForm::LanguageTagsListViewChange);
    QAbstractItemModel* rows = languageTagsListView_->model();
    connect(rows, &QAbstractItemModel::rowsInserted, this,
            &TPreferencesForm::LanguageTagsListViewChange);
    connect(rows, &QAbstractItemModel::rowsRemoved, this,
            &TPreferencesForm::LanguageTagsListViewChange);
    connect(addSpeedButton_, &QToolButton::clicked, this, &TPreferencesForm::AddSpeedButtonClick);
    connect(editSpeedButton_, &QToolButton::clicked, this, &TPreferencesForm::EditSpeedButtonClick);
    connect(deleteSpeedButton_, &QToolButton::clicked, this,
            &TPreferencesForm::DeleteSpeedButtonClick);
}

void TPreferencesForm::CreateDialogControls() {
    QGroupBox* group =
        AddGroupBox(this, "GroupBox5", QStringLiteral(" Dialogs "), QRect(8, 321, 308, 88));
    showBackupDlgCheckBox_ = AddCheckBox(group, "ShowBackupDlgCheckBox",
                                         QStringLiteral("Show Backup Warning dialog "), 8, 16);
    updateDWTCheckBox_ =
        AddCheckBox(group, "UpdateDWTCheckBox",
                    QStringLiteral("Scan/update code derived from a Dreamweaver template"), 8, 32);
    // Indented: it only matters while template code is updated.
    showDWTDlgCheckBox_ =
        AddCheckBox(group, "ShowDWTDlgCheckBox",
                    QStringLiteral("Show Dreamweaver Template Code Detected dialog "), 27, 48);
    showClrLogPromptCheckBox_ = AddCheckBox(group, "ShowClrLogPromptCheckBox",
                                            QStringLiteral("Show Clear Log prompt"), 8, 64);
    connect(updateDWTCheckBox_, &QCheckBox::clicked, this,
            &TPreferencesForm::UpdateDWTCheckBoxClick);
}

void TPreferencesForm::CreateButtons() {
    okButton_ = AddButton(this, "OKButton", QStringLiteral("OK"), 158);
    cancelButton_ = AddButton(this, "CancelButton", QStringLiteral("Cancel"), 241);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, [this] {
        OKButtonClick();
        accept();
    });
    connect(cancelButton_, &QPushButton::clicked, this, &TPreferencesForm::reject);
}

// The designed width is a minimum: where this platform's font makes a check box's caption wider
// than its group, the dialog, its groups and their lists grow by the difference and the buttons
// on the right move with them.
void TPreferencesForm::WidenToFitCaptions() {
    int extra = 0;
    for (QCheckBox* box : {showBackupDlgCheckBox_, updateDWTCheckBox_, showDWTDlgCheckBox_,
                           showClrLogPromptCheckBox_}) {
        extra = std::max(extra, box->x() + box->sizeHint().width() - GroupInnerRight);
    }
    if (extra <= 0) {
        return;
    }
    setFixedSize(width() + extra, height());
    for (QGroupBox* group : findChildren<QGroupBox*>(QString(), Qt::FindDirectChildrenOnly)) {
        group->resize(group->width() + extra, group->height());
        for (QWidget* child :
             group->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (qobject_cast<QToolButton*>(child) != nullptr) {
                child->move(child->x() + extra, child->y());
            } else if (child->geometry().right() + 1 >= GroupListRight) {
                child->resize(child->width() + extra, child->height());
            }
        }
    }
    for (QPushButton* button : {okButton_, cancelButton_}) {
        button->move(button->x() + extra, button->y());
    }
}

void TPreferencesForm::SetKeyboardOrder() {
    QWidget* const order[] = {fileFormatsCheckListBox_,
                              otherFileFormatsEdit_,
                              languageTagsListView_,
                              showBackupDlgCheckBox_,
                              updateDWTCheckBox_,
                              showDWTDlgCheckBox_,
                              showClrLogPromptCheckBox_,
                              okButton_,
                              cancelButton_};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void TPreferencesForm::FormCreate() {
    SetHelpContext(*this, help::Preferences);
    oldFileFormats_ = FileFormats();
    formatsChanged_ = false;

    std::vector<const TFileFormat*> sorted;
    for (const TFileFormat& format : oldFileFormats_) {
        sorted.push_back(&format);
    }
    std::stable_sort(sorted.begin(), sorted.end(), [](const TFileFormat* a, const TFileFormat* b) {
        return WordSortLess(a->Extension, b->Extension);
    });
    for (const TFileFormat* format : sorted) {
        auto* item = new QListWidgetItem(Text(format->Extension), fileFormatsCheckListBox_);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setCheckState(format->Enabled ? Qt::Checked : Qt::Unchecked);
        formatItems_.insert(item->text(), item);
    }

    oldOtherFileFormats_ = target_.OtherFileFormats;
    otherFileFormatsEdit_->setText(Text(oldOtherFileFormats_));

    QTreeWidgetItem* row = nullptr;
    for (std::size_t i = 0; i < target_.LanguageTags.size(); ++i) {
        const QByteArray value = QByteArray::fromStdString(target_.LanguageTags[i]);
        if (i % LanguageColumnCount == 0) {
            row = new QTreeWidgetItem(languageTagsListView_);
        }
        SetCell(*row, static_cast<int>(i % LanguageColumnCount), value);
    }

    updateDWTCheckBox_->setChecked(target_.UpdateDWTs);
    showBackupDlgCheckBox_->setChecked(target_.ShowBackupDlg);
    showDWTDlgCheckBox_->setChecked(target_.ShowDWTDlg);
    showDWTDlgCheckBox_->setEnabled(updateDWTCheckBox_->isChecked());
    showClrLogPromptCheckBox_->setChecked(target_.ShowClearLogPrompt);

    UpdateSelectButtons();
    UpdateTagButtons();
}

void TPreferencesForm::OKButtonClick() {
    for (TFileFormat& format : FileFormats()) {
        const QListWidgetItem* item = formatItems_.value(Text(format.Extension));
        format.Enabled = item != nullptr && item->checkState() == Qt::Checked;
    }

    const std::string typed = OtherFileFormatsTyped();
    otherFileFormatsEdit_->setText(Text(typed));
    // Extensions match letter case aside, so a change of case alone lists the same files.
    formatsChanged_ = !EqualsIgnoreAsciiCase(target_.OtherFileFormats, typed);
    target_.OtherFileFormats = typed;

    target_.LanguageTags.clear();
    for (int i = 0; i < languageTagsListView_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem& row = *languageTagsListView_->topLevelItem(i);
        for (int column = 0; column < LanguageColumnCount; ++column) {
            target_.LanguageTags.push_back(CellBytes(row, column));
        }
    }
    if (target_.BuildIgnoreTagList) {
        target_.BuildIgnoreTagList();
    }

    target_.UpdateDWTs = updateDWTCheckBox_->isChecked();
    target_.ShowBackupDlg = showBackupDlgCheckBox_->isChecked();
    target_.ShowDWTDlg = showDWTDlgCheckBox_->isChecked();
    target_.ShowClearLogPrompt = showClrLogPromptCheckBox_->isChecked();

    if (!formatsChanged_) {
        formatsChanged_ = FileFormats() != oldFileFormats_;
    }
}

// The edit's text with every blank removed; untouched text keeps the bytes it was loaded with.
std::string TPreferencesForm::OtherFileFormatsTyped() const {
    const QString shown = otherFileFormatsEdit_->text();
    if (shown == Text(oldOtherFileFormats_)) {
        return WithoutBlanks(oldOtherFileFormats_);
    }
    return WithoutBlanks(shown.toStdString());
}

void TPreferencesForm::SelectAllButtonClick(int tag) {
    const Qt::CheckState state = tag == 1 ? Qt::Checked : Qt::Unchecked;
    for (int i = 0; i < fileFormatsCheckListBox_->count(); ++i) {
        fileFormatsCheckListBox_->item(i)->setCheckState(state);
    }
    UpdateSelectButtons();
}

void TPreferencesForm::FileFormatsCheckListBoxClickCheck() {
    UpdateSelectButtons();
}

void TPreferencesForm::UpdateSelectButtons() {
    int checked = 0;
    for (int i = 0; i < fileFormatsCheckListBox_->count(); ++i) {
        checked += fileFormatsCheckListBox_->item(i)->checkState() == Qt::Checked ? 1 : 0;
    }
    selectAllButton_->setEnabled(checked != fileFormatsCheckListBox_->count());
    deSelectAllButton_->setEnabled(checked > 0);
}

void TPreferencesForm::UpdateDWTCheckBoxClick() {
    showDWTDlgCheckBox_->setEnabled(updateDWTCheckBox_->isChecked());
}

void TPreferencesForm::LanguageTagsListViewChange() {
    UpdateTagButtons();
}

void TPreferencesForm::UpdateTagButtons() {
    const bool selected = SelectedLanguageRow() != nullptr;
    editSpeedButton_->setEnabled(selected);
    deleteSpeedButton_->setEnabled(selected);
    addSpeedButton_->setEnabled(true);
}

QTreeWidgetItem* TPreferencesForm::SelectedLanguageRow() const {
    return languageTagsListView_->selectedItems().value(0);
}

void TPreferencesForm::AddSpeedButtonClick() {
    TTagIOForm editor(this);
    editor.SetCaptionPrefix(QStringLiteral(" Add"));
    editor.SetHelpContext(help::TagEditorAdd);
    editor.SetTexts(QString(), QString(), QString());
    if (CurrentPrompter().Exec(editor) != QDialog::Accepted) {
        return;
    }
    auto* row = new QTreeWidgetItem(languageTagsListView_);
    SetCell(*row, 0, editor.LanguageText().toUtf8());
    SetCell(*row, 1, editor.OpenText().toUtf8());
    SetCell(*row, 2, editor.CloseText().toUtf8());
    languageTagsListView_->setCurrentItem(row);
    languageTagsListView_->setFocus();
}

void TPreferencesForm::EditSpeedButtonClick() {
    QTreeWidgetItem* row = SelectedLanguageRow();
    if (row == nullptr) {
        return;
    }
    TTagIOForm editor(this);
    editor.SetCaptionPrefix(QStringLiteral(" Edit"));
    editor.SetHelpContext(help::TagEditorEdit);
    editor.SetTexts(row->text(0), row->text(1), row->text(2));
    if (CurrentPrompter().Exec(editor) != QDialog::Accepted) {
        return;
    }
    const QString texts[] = {editor.LanguageText(), editor.OpenText(), editor.CloseText()};
    for (int column = 0; column < LanguageColumnCount; ++column) {
        if (texts[column] != row->text(column)) {
            SetCell(*row, column, texts[column].toUtf8());
        }
    }
    languageTagsListView_->setFocus();
}

void TPreferencesForm::DeleteSpeedButtonClick() {
    QTreeWidgetItem* row = SelectedLanguageRow();
    if (row == nullptr) {
        return;
    }
    const QString question =
        QStringLiteral("Delete ") + row->text(0) + QStringLiteral(" Tags. Are you sure ?");
    if (AskYesNo(this, Prompter::Kind::Confirmation, QStringLiteral("Confirm"), question,
                 help::DeleteLanguageTags) == Prompter::Yes) {
        delete row;
        // The next Delete must name a row the user picked, not whichever moved up.
        languageTagsListView_->clearSelection();
    }
}

}  // namespace vantaro
