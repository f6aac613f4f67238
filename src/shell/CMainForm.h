#pragma once

#include <QMainWindow>
#include <QSize>
#include <functional>
#include <memory>
#include <string>

#include "engine/EngineHost.h"
#include "engine/EngineSettings.h"
#include "shell/PaneProportions.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QToolBar;
class QToolButton;

namespace vantaro {

class Engine;
class ProcessRunner;
class TBusyInputFilter;
class TFileListView;
class TFolderTree;
class TReferenceListBox;
class TReferenceLists;
class TWindowEngineHost;
class TWindowRunHost;
class TLogCommands;
class TLogPageCommands;
class TLogView;
class TPaneSplitter;
class TProgressGauge;
class TRecentFolders;
struct AppSettings;

// The main window: the command toolbars, the folder tree and file list, the log with the two
// reference lists beside it, the log toolbar with the progress gauge, menus and status bar. It
// owns the engine, keeps the user's toggles and the busy state of a run, keeps the panes in
// proportion, and loads its settings when created and saves them when destroyed.
//
// Its components are private; each carries its designer name as its objectName. The handlers
// carry the names of the commands they serve. Two adapters host the engine and the run, and
// reach the few components they write to through the accessors below.
class TMainForm : public QMainWindow {
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
    // Shows a folder, or a page's folder with the page selected, as dropping it on the window,
    // typing it above the tree or choosing a recent folder does. False (and reported) when it
    // cannot be shown; nothing happens during a run.
    bool OpenPath(const QString& path);

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
    bool IncludeSubfolders = false;  // runs take every folder below the shown one too
    std::string OtherFileFormats;    // extra extensions without the dot, separated by ";"
    double FoldersWidthPercent = 0;
    double LogHeightPercent = 0;
    double LogListsWidthPercent = 0;

    // --- Commands and toggles ---------------------------------------------------------------
    void SetProcessingState(bool busy);
    // "n of N pages" and the page a run is at, in the status bar.
    void ShowPageInProgress(std::size_t number, std::size_t total, const std::string& fullPath);
    void ShowLogLoadProgress(std::size_t done, std::size_t total);
    void UpdateAddCaptions();
    void UpdateFileCommands();
    void StopToolButtonClick();

    void AreaToolButtonClick();
    void ImgToolButtonClick();
    void InputToolButtonClick();
    void PreviewToolButtonClick();
    void SubfoldersToolButtonClick();
    void area1Click();
    void img1Click();
    void input1Click();
    void Preview1Click();
    void IncludeSubfolders1Click();
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

    // --- Panes ------------------------------------------------------------------------------
    void LogListsPanelResize();

    // --- Parts other classes work with -----------------------------------------------------
    // What hosts the engine on the window's behalf.
    TWindowEngineHost& EngineHostAdapter() { return *engineHost_; }
    // The log's five commands and the enabling of Copy and Clear.
    TLogCommands& LogCommands() { return *logCommands_; }
    // The two reference lists with their buttons and context menu.
    TReferenceLists& ReferenceLists() { return *referenceLists_; }
    // Where a run's events are written.
    TLogView& LogRichEdit() { return *logRichEdit_; }
    // Sized by the run, advanced by the engine.
    TProgressGauge& ProgressGauge() { return *progressGauge_; }

  protected:
    // The run over the selected files of CurrentFolder; the three run commands end here.
    virtual void RunProcess(ScanMode mode);

    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // Construction of the form's components, in the order they are laid out. A Build function
    // that returns a panel leaves placing it to its caller.
    void BuildWindow();
    QWidget* BuildCommandToolbars(QWidget* parent);
    void BuildWorkPanel(QWidget* parent);
    QWidget* BuildFolders(QWidget* parent);
    QWidget* BuildLogPanel(QWidget* parent);
    void BuildLogLists(QWidget* parent);
    QWidget* BuildLogToolBar(QWidget* parent);
    void BuildMainMenu();
    void BuildPopupMenus();
    void BuildLogPopupMenu();
    void ConnectCommands();
    void SetUpKeyboard();
    void FitMinimumWidthToToolbars();
    void ConnectFileList();

    void FormCreate();
    void FormShow();
    void FormCloseQuery(bool& canClose);
    void FormDestroy();

    // The Preferences dialog and the file-list refresh that follows it.
    void Preferences1Click();
    // Opens the folder of the last session in the folder tree, once the window is up.
    void UMShowDefaultPath();
    // Lists the files of CurrentFolder, after the folder tree has finished changing.
    void UMListFiles();

    void LoadSettings();
    void SaveSettings();
    AppSettings CurrentSettings() const;
    void ApplySettings(const AppSettings& settings);

    void ApplyPaneProportions();
    void TakePaneProportions();
    bool WorkAreaShowing() const;

    void ShowCurrentFolder(const QString& folder);
    void ResetProgress();
    void EnableMenuItems(bool enabled);

    std::unique_ptr<TWindowEngineHost> engineHost_;
    std::unique_ptr<TWindowRunHost> runHost_;
    std::unique_ptr<Engine> engine_;
    std::unique_ptr<ProcessRunner> runner_;
    TReferenceLists* referenceLists_ = nullptr;
    TLogCommands* logCommands_ = nullptr;
    TLogPageCommands* logPageCommands_ = nullptr;  // the page a log line reports on
    TBusyInputFilter* busyFilter_ = nullptr;
    bool processing_ = false;
    bool formShown_ = false;
    // The work area the panes' pixel sizes belong to: the stored one until the window is laid
    // out, then the one they were last applied to or taken from.
    QSize paneArea_ = kDesignedWorkArea;
    RefsAreaPercents refsPercents_;
    QString startFolder_;    // shown instead of the stored default path, once
    std::string startPage_;  // selected in the first listing, as the file system spells it
    std::function<void(const std::string&)> previousIniReporter_;

    // --- Components the window works with after building them, named as on the form --------
    // The command toolbars.
    QToolBar* tagsToolBar_ = nullptr;
    QAction* areaToolButton_ = nullptr;
    QAction* imgToolButton_ = nullptr;
    QAction* inputToolButton_ = nullptr;
    QToolBar* processToolBar_ = nullptr;
    QAction* scanSpeedButton_ = nullptr;
    QAction* previewToolButton_ = nullptr;
    QAction* subfoldersToolButton_ = nullptr;
    QAction* addAltToolButton_ = nullptr;
    QAction* addTitleToolButton_ = nullptr;
    QAction* stopToolButton_ = nullptr;

    // The work area: folders and files above, the log and the reference lists below.
    QWidget* workPanel_ = nullptr;
    TPaneSplitter* vertSplitter_ = nullptr;  // the files above, the log below
    TPaneSplitter* horzSplitter_ = nullptr;  // the folder tree left, the file list right
    QLineEdit* folderPathEdit_ = nullptr;    // a folder typed or pasted above the tree
    QLabel* runStatusLabel_ = nullptr;       // the page a run is at
    QLabel* folderStatusLabel_ = nullptr;    // why the shown folder lists nothing, if it cannot
    TFolderTree* foldersShellTreeView_ = nullptr;
    TFileListView* filesListView_ = nullptr;
    TPaneSplitter* splitter1_ = nullptr;  // the log left, the reference lists right
    TLogView* logRichEdit_ = nullptr;
    QWidget* logListsPanel_ = nullptr;
    QGroupBox* refsGroupBox_ = nullptr;
    TReferenceListBox* refImagesListBox_ = nullptr;
    QToolButton* ignoreImgSpeedButton_ = nullptr;
    QToolButton* stopIgnoreImgSpeedButton_ = nullptr;
    QGroupBox* refsIgnoredGroupBox_ = nullptr;
    TReferenceListBox* ignoreImagesListBox_ = nullptr;

    // The log toolbar.
    QAction* openLogToolButton_ = nullptr;
    QAction* saveLogToolButton_ = nullptr;
    QAction* printLogToolButton_ = nullptr;
    QAction* copyToolButton_ = nullptr;
    QAction* clearLogToolButton_ = nullptr;
    QLabel* progressLabel_ = nullptr;
    TProgressGauge* progressGauge_ = nullptr;

    // Items of the File menu.
    QAction* selectAll1_ = nullptr;
    QAction* deselectAll1_ = nullptr;
    QAction* preferences1_ = nullptr;
    TRecentFolders* recentFolders_ = nullptr;
    QAction* exit1_ = nullptr;
    // Items of the Tools menu.
    QAction* area1_ = nullptr;
    QAction* img1_ = nullptr;
    QAction* input1_ = nullptr;
    QAction* scan1_ = nullptr;
    QAction* preview1_ = nullptr;
    QAction* includeSubfolders1_ = nullptr;
    QAction* addAlt1_ = nullptr;
    QAction* addTitle1_ = nullptr;
    QAction* stop1_ = nullptr;
    // Items of the Log menu.
    QAction* open1_ = nullptr;
    QAction* save1_ = nullptr;
    QAction* print1_ = nullptr;
    QAction* copy1_ = nullptr;
    QAction* clear1_ = nullptr;
    QAction* showmissingAlts1_ = nullptr;
    QAction* showmissingTitles1_ = nullptr;
    // Items of the Help menu.
    QAction* help2_ = nullptr;  // "Help Topics..."
    QAction* about1_ = nullptr;
    QAction* feedback1_ = nullptr;
    QAction* update1_ = nullptr;
    QAction* corvellOnline1_ = nullptr;
    // Items of the file list's context menu.
    QAction* selectAll2_ = nullptr;
    QAction* deselectAll2_ = nullptr;
    QAction* area2_ = nullptr;
    QAction* img2_ = nullptr;
    QAction* inputimage1_ = nullptr;  // "input (image)"
    QAction* scan2_ = nullptr;
    QAction* preview2_ = nullptr;
    QAction* addalt2_ = nullptr;
    QAction* addtitle2_ = nullptr;
};

}  // namespace vantaro
