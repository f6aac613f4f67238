// Moving the window's settings between the settings file and the window.

#include <QAction>
#include <QHeaderView>
#include <QTreeView>

#include "engine/Engine.h"
#include "shell/references/ReferenceListBoxes.h"
#include "settings/AppSettings.h"
#include "settings/DataPaths.h"
#include "shell/CMainForm.h"
#include "shell/FileListView.h"
#include "shell/PaneSplitter.h"

namespace vantaro {

namespace {

// A toggle with a button: the button follows the setting, the main-menu item the button.
void ShowToggle(QAction* button, QAction* menuItem, bool value) {
    button->setChecked(value);
    menuItem->setChecked(button->isChecked());
}

}  // namespace

// What the file does not hold keeps the window's current value.
void TMainForm::LoadSettings() {
    AppSettings settings = CurrentSettings();
    vantaro::LoadSettings(IniFileName(), settings);
    ApplySettings(settings);
}

void TMainForm::SaveSettings() {
    vantaro::SaveSettings(IniFileName(), CurrentSettings());
}

AppSettings TMainForm::CurrentSettings() const {
    const EngineSettings& engine = engine_->Settings();
    AppSettings settings;
    settings.FoldersWidth = HorzSplitter->PaneSize();
    for (std::size_t column = 0; column < kFileColumns.size(); ++column) {
        settings.ColumnWidths[column] =
            FilesListView->header()->sectionSize(static_cast<int>(column));
    }
    settings.LogHeight = VertSplitter->PaneSize();
    settings.LogListsWidth = Splitter1->PaneSize();
    settings.ReferencesIgnored = referenceLists_->IgnoredItems();
    settings.OtherFileFormats = OtherFileFormats;
    settings.ShowBackupDlg = ShowBackupDlg;
    settings.ShowClearLogPrompt = ShowClearLogPrompt;
    TakeFromEngine(engine, settings);
    // Until a folder has been opened, the one stored last time stays.
    settings.DefaultPath = CurrentFolder.empty() ? ReadDefaultPath(IniFileName()) : CurrentFolder;
    return settings;
}

// The pane proportions are taken against the work area as designed: the window has not been
// shown, let alone maximised, yet.
void TMainForm::ApplySettings(const AppSettings& settings) {
    EngineSettings& engine = engine_->Settings();
    HorzSplitter->SetPaneSize(settings.FoldersWidth);
    FoldersWidthPercent = PercentOf(settings.FoldersWidth, kDesignedWorkArea.width());
    for (std::size_t column = 0; column < kFileColumns.size(); ++column) {
        FilesListView->header()->resizeSection(static_cast<int>(column),
                                               settings.ColumnWidths[column]);
    }
    VertSplitter->SetPaneSize(settings.LogHeight);
    LogHeightPercent = PercentOf(settings.LogHeight, kDesignedWorkArea.height());
    referenceLists_->SetIgnoredItems(settings.ReferencesIgnored);
    OtherFileFormats = settings.OtherFileFormats;

    ShowBackupDlg = settings.ShowBackupDlg;
    ShowClearLogPrompt = settings.ShowClearLogPrompt;
    ApplyToEngine(settings, engine);

    ShowmissingAlts1->setChecked(engine.ShowMissingAltMsgs);
    ShowmissingTitles1->setChecked(engine.ShowMissingTitleMsgs);
    ShowToggle(AreaToolButton, area1, engine.TagArea);
    ShowToggle(ImgToolButton, img1, engine.TagImg);
    ShowToggle(InputToolButton, input1, engine.TagInput);
    ShowToggle(PreviewToolButton, Preview1, engine.PreviewMode);
    UpdateAddCaptions();
}

}  // namespace vantaro
