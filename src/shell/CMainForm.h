#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QSize>
#include <functional>
#include <memory>
#include <string>

#include "engine/EngineHost.h"
#include "engine/EngineSettings.h"
#include "run/ProcessRunner.h"
#include "shell/PaneProportions.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace vantaro {

class Engine;
class TBusyInputFilter;
class TFileListView;
class TFolderTree;
class TReferenceListBox;
class TReferenceLists;
class TExPanel;
class TLogCommands;
class TLogView;
class TPaneSplitter;
class TProgressGauge;
struct AppSettings;

// The main window: the command toolbars, the folder tree and file list, the log with the two
// reference lists beside it, the log toolbar with the progress gauge, menus and status bar. It
// owns the engine, keeps the user's toggles and the busy state of a run, keeps the panes in
// proportion, and loads its settings when created and saves them when destroyed.
//
// Components are public members named as on the form, like a designer's fields; the handlers
// carry the names of the commands they serve. The window hosts the engine and the run.
class TMainForm : public QMainWindow, public EngineHost, public RunHost {
    Q_OBJECT

  public:
    // The work area's size as designed: the proportions of the sizes loaded at creation are
    // taken against it, whatever size the window then gets.
    static constexpr QSize kDesignedWorkArea{672, 232};

    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // What the program was asked to open: a folder is shown instead of the last session's, a
    // page's folder is shown with the page selected. Called before the window is first shown.
    void OpenAtStart(const QString& path);

    // --- State ------------------------------------------------------------------------------
    bool Processing() const { return processing_; }
    Engine& MainEngine() { return *engine_; }
    // StopRequested and AbortFile.
    RunFlags& Flags();
    // The tag toggles, Preview, what a scan reports, the template options and LanguageTags:
    // the engine reads them from here, so it always sees the window's current choices.
    EngineSettings& Settings();

    std::string CurrentFolder;  // the folder the file list shows, ending in '/'
    bool ShowBackupDlg = true;
    bool ShowClearLogPrompt = true;
    std::string OtherFileFormats;  // extra extensions without the dot, separated by ";"
    double FoldersWidthPercent = 0;
    double LogHeightPercent = 0;
    double LogListsWidthPercent = 0;

    // --- Commands and toggles ---------------------------------------------------------------
    void SetProcessingState(bool busy) override;
    void UpdateAddCaptions();
    void UpdateFileCommands();
    void StopToolButtonClick();

    void AreaToolButtonClick();
    void ImgToolButtonClick();
    void InputToolButtonClick();
    void PreviewToolButtonClick();
    void area1Click();
    void img1Click();
    void input1Click();
    void Preview1Click();
    void ShowmissingAlts1Click();
    void ShowmissingTitles1Click();

    void Scan3Click();
    void AddAlt3Click();
    void AddTitle3Click();
    void SelectAllSpeedButtonClick();
    void DeSelectAllSpeedButtonClick();
    void FileListViewPopupMenuPopup();

    void Exit1Click();
    void About1Click();
    void Help2Click();
    void Feedback1Click();
    void Update1Click();
    void CorvellOnline1Click();

    // The log's five commands and the enabling of Copy and Clear.
    TLogCommands& LogCommands() { return *logCommands_; }

    // --- Panes ------------------------------------------------------------------------------
    void LogListsPanelResize();

    // --- EngineHost -------------------------------------------------------------------------
    void AddLogLine(std::string_view text, LogColour colour, bool endLine,
                    FontStyle style) override;
    void AdvanceProgress(std::uint64_t bytes) override;
    void PumpEvents() override;
    bool IsIgnoredReference(std::string_view reference) override;
    bool IsFoundReference(std::string_view reference) override;
    void AddFoundReference(std::string_view reference) override;
    TemplateWarningAnswer ShowTemplateWarning(const std::string& fullPath) override;

    // --- RunHost ----------------------------------------------------------------------------
    bool AskBackupWarning() override;
    void ShowNoReportsWarning() override;
    void ClearFoundReferences() override;
    void SetProgressMaximum(std::uint64_t totalBytes) override;

    // The two reference lists with their buttons and context menu.
    TReferenceLists& ReferenceLists() { return *referenceLists_; }

    // --- Components -------------------------------------------------------------------------
    TExPanel* MainFormPanel = nullptr;
    QToolBar* TagsToolBar = nullptr;
    QAction* AreaToolButton = nullptr;
    QAction* ImgToolButton = nullptr;
    QAction* InputToolButton = nullptr;
    QToolBar* ProcessToolBar = nullptr;
    QAction* ScanSpeedButton = nullptr;
    QAction* PreviewToolButton = nullptr;
    QAction* AddAltToolButton = nullptr;
    QAction* AddTitleToolButton = nullptr;
    QToolBar* StopToolBar = nullptr;
    QAction* StopToolButton = nullptr;

    QStatusBar* StatusBar = nullptr;
    QWidget* LogToolBarPanel = nullptr;
    QToolBar* LogToolBar = nullptr;
    QAction* OpenLogToolButton = nullptr;
    QAction* SaveLogToolButton = nullptr;
    QAction* PrintLogToolButton = nullptr;
    QAction* CopyToolButton = nullptr;
    QAction* ClearLogToolButton = nullptr;
    QLabel* ProgressLabel = nullptr;
    TExPanel* ExPanel1 = nullptr;
    TProgressGauge* ProgressGauge = nullptr;
    QWidget* SpacerPanel = nullptr;

    QWidget* WorkPanel = nullptr;
    TPaneSplitter* VertSplitter = nullptr;
    TPaneSplitter* HorzSplitter = nullptr;
    QWidget* FoldersPanel = nullptr;
    QLabel* FoldersHeaderPanel = nullptr;
    TFolderTree* FoldersShellTreeView = nullptr;
    TFileListView* FilesListView = nullptr;
    QWidget* LogPanel = nullptr;
    TPaneSplitter* Splitter1 = nullptr;
    TLogView* LogRichEdit = nullptr;
    QWidget* LogListsPanel = nullptr;
    QGroupBox* RefsGroupBox = nullptr;
    TReferenceListBox* RefImagesListBox = nullptr;
    QToolButton* IgnoreImgSpeedButton = nullptr;
    QToolButton* StopIgnoreImgSpeedButton = nullptr;
    QGroupBox* RefsIgnoredGroupBox = nullptr;
    TReferenceListBox* IgnoreImagesListBox = nullptr;

    QMenuBar* MainMenu1 = nullptr;
    QMenu* File1 = nullptr;
    QAction* SelectAll1 = nullptr;
    QAction* DeselectAll1 = nullptr;
    QAction* Preferences1 = nullptr;
    QAction* Exit1 = nullptr;
    QMenu* Tools1 = nullptr;
    QAction* area1 = nullptr;
    QAction* img1 = nullptr;
    QAction* input1 = nullptr;
    QAction* Scan1 = nullptr;
    QAction* Preview1 = nullptr;
    QAction* AddAlt1 = nullptr;
    QAction* AddTitle1 = nullptr;
    QAction* Stop1 = nullptr;
    QMenu* Log1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* Print1 = nullptr;
    QAction* Copy1 = nullptr;
    QAction* Clear1 = nullptr;
    QAction* ShowmissingAlts1 = nullptr;
    QAction* ShowmissingTitles1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* Help2 = nullptr;
    QAction* About1 = nullptr;
    QAction* Feedback1 = nullptr;
    QAction* Update1 = nullptr;
    QAction* CorvellOnline1 = nullptr;

    QMenu* FileListViewPopupMenu = nullptr;
    QAction* SelectAll2 = nullptr;
    QAction* DeselectAll2 = nullptr;
    QAction* area2 = nullptr;
    QAction* img2 = nullptr;
    QAction* inputimage1 = nullptr;
    QAction* Scan2 = nullptr;
    QAction* Preview2 = nullptr;
    QAction* Addalt2 = nullptr;
    QAction* Addtitle2 = nullptr;

    QMenu* IgnoreImgsListBoxPopupMenu = nullptr;
    QAction* Delete1 = nullptr;
    QAction* SelectAll3 = nullptr;
    QAction* CopyToClipboard1 = nullptr;  // the log view's context menu

  protected:
    // The run over the selected files of CurrentFolder; the three run commands end here.
    virtual void RunProcess(ScanMode mode);
    // The Preferences dialog and the file-list refresh that follows it.
    virtual void Preferences1Click();
    // Opens the folder of the last session in the folder tree, once the window is up.
    virtual void UMShowDefaultPath();
    // Lists the files of CurrentFolder, after the folder tree has finished changing.
    void UMListFiles();

    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Construction of the form's components, in the order they are laid out.
    void BuildWindow();
    void BuildCommandToolbars();
    void BuildWorkPanel(QWidget* parent);
    void BuildFolders(QWidget* parent);
    void BuildLogPanel(QWidget* parent);
    void BuildLogLists(QWidget* parent);
    void BuildLogToolBar();
    void BuildMainMenu();
    void BuildPopupMenus();
    void BuildLogPopupMenu();
    void ConnectCommands();
    void ConnectFileList();

    void FormCreate();
    void FormShow();
    void FormCloseQuery(bool& canClose);
    void FormDestroy();

    void LoadSettings();
    void SaveSettings();
    AppSettings CurrentSettings() const;
    void ApplySettings(const AppSettings& settings);

    void ApplyPaneProportions();
    void TakePaneProportions();
    bool WorkAreaShowing() const;

    void ResetProgress();
    void EnableMenuItems(bool enabled);

    std::unique_ptr<Engine> engine_;
    std::unique_ptr<ProcessRunner> runner_;
    TReferenceLists* referenceLists_ = nullptr;
    TLogCommands* logCommands_ = nullptr;
    TBusyInputFilter* busyFilter_ = nullptr;
    bool processing_ = false;
    bool formShown_ = false;
    RefsAreaPercents refsPercents_;
    QElapsedTimer sincePump_;
    QString startFolder_;    // shown instead of the stored default path, once
    std::string startPage_;  // selected in the first listing, as the file system spells it
    std::function<void(const std::string&)> previousIniReporter_;
};

}  // namespace vantaro
