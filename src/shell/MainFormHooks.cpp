// The main window's parts that come with the run, the folder tree, the reference lists and the
// Preferences dialog. Each is called from its place in the window already; what it does is
// filled in with the part it belongs to.

#include "settings/AppSettings.h"
#include "settings/DataPaths.h"
#include "shell/CMainForm.h"

namespace vantaro {

// To come with the run over the selected files (RunProcess with CurrentFolder).
void TMainForm::RunProcess(ScanMode /*mode*/) {}

// To come with the Preferences dialog: show it, then apply format changes to the file list.
void TMainForm::Preferences1Click() {}

// Until the folder tree selects the stored folder (which sets CurrentFolder through its change
// handler), the stored folder is taken as it is.
void TMainForm::UMShowDefaultPath() {
    std::string folder = ReadDefaultPath(IniFileName());
    if (!folder.ends_with('/')) {
        folder += '/';
    }
    CurrentFolder = folder;
}

// To come with the reference lists: moving references between them, deleting and selecting
// ignored ones, and enabling > and < by the lists' selections.
void TMainForm::IgnoreImgSpeedButtonClick() {}
void TMainForm::StopIgnoreImgSpeedButtonClick() {}
void TMainForm::Delete1Click() {}
void TMainForm::SelectAll3Click() {}
void TMainForm::IgnoreImgsListBoxPopupMenuPopup() {}
void TMainForm::UpdateIgnoreButtons() {}

}  // namespace vantaro
