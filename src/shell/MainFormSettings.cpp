// Moving the window's settings between the settings file and the window.

#include <QAction>
#include <QHeaderView>
#include <QTreeView>

#include "engine/Engine.h"
#include "settings/AppSettings.h"
#include "settings/DataPaths.h"
#include "shell/CMainForm.h"
#include "shell/FileListView.h"
#include "shell/PaneSplitter.h"
#include "shell/RecentFolders.h"
#include "shell/references/ReferenceListBoxes.h"

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
    settings.FoldersWidth = horzSplitter_->PaneSize();
    for (std::size_t column = 0; column < kFileColumns.size(); ++column) {
        settings.ColumnWidths[column] =
            filesListView_->header()->sectionSize(static_cast<int>(column));
    }
    settings.LogHeight = vertSplitter_->PaneSize();
    settings.LogListsWidth = splitter1_->PaneSize();
    settings.WorkAreaWidth = paneArea_.width();
    settings.WorkAreaHeight = paneArea_.height();
    settings.ReferencesIgnored = referenceLists_->IgnoredItems();
    settings.OtherFileFormats = OtherFileFormats;
    settings.ShowBackupDlg = ShowBackupDlg;
    settings.ShowClearLogPrompt = ShowClearLogPrompt;
    settings.IncludeSubfolders = IncludeSubfolders;
    settings.Engine = engine;
    // Until a folder has been opened, the one stored last time stays.
    settings.DefaultPath = CurrentFolder.empty() ? ReadDefaultPath(IniFileName()) : CurrentFolder;
    settings.RecentFolders = recentFolders_->Folders();
    return settings;
}

// The pane proportions are taken against the work area the sizes were saved from (a file of an
// earlier version: the work area as designed); the window has not been shown yet.
void TMainForm::ApplySettings(const AppSettings& settings) {
    recentFolders_->SetFolders(settings.RecentFolders);
    EngineSettings& engine = engine_->Settings();
    const bool areaStored = settings.WorkAreaWidth > 0 && settings.WorkAreaHeight > 0;
    paneArea_ =
        areaStored ? QSize(settings.WorkAreaWidth, settings.WorkAreaHeight) : kDesignedWorkArea;
    horzSplitter_->SetPaneSize(settings.FoldersWidth);
    FoldersWidthPercent = PercentOf(settings.FoldersWidth, paneArea_.width());
    for (std::size_t column = 0; column < kFileColumns.size(); ++column) {
        filesListView_->header()->resizeSection(static_cast<int>(column),
                                                settings.ColumnWidths[column]);
    }
    vertSplitter_->SetPaneSize(settings.LogHeight);
    LogHeightPercent = PercentOf(settings.LogHeight, paneArea_.height());
    referenceLists_->SetIgnoredItems(settings.ReferencesIgnored);
    OtherFileFormats = settings.OtherFileFormats;

    ShowBackupDlg = settings.ShowBackupDlg;
    ShowClearLogPrompt = settings.ShowClearLogPrompt;
    engine = settings.Engine;

    showmissingAlts1_->setChecked(engine.ShowMissingAltMsgs);
    showmissingTitles1_->setChecked(engine.ShowMissingTitleMsgs);
    ShowToggle(areaToolButton_, area1_, engine.TagArea);
    ShowToggle(imgToolButton_, img1_, engine.TagImg);
    ShowToggle(inputToolButton_, input1_, engine.TagInput);
    ShowToggle(previewToolButton_, preview1_, engine.PreviewMode);
    IncludeSubfolders = settings.IncludeSubfolders;
    ShowToggle(subfoldersToolButton_, includeSubfolders1_, IncludeSubfolders);
    UpdateAddCaptions();
}

}  // namespace vantaro
