// Takes the main window's picture for the README: the window at 1280 x 800, a folder of pages
// listed and scanned, the log and the found references as the scan left them. Run it under Xvfb
// with a throw-away home, so no real settings are read or written:
//
//   export HOME=$(mktemp -d) XDG_CONFIG_HOME=$HOME/.config
//   mkdir $HOME/Sites && cp -r <folder of pages> $HOME/Sites/
//   xvfb-run -a -s "-screen 0 1280x800x24" build/tests/shell/vantaro_window_screenshot
//       $HOME/Sites/<folder> docs/main-window.png

#include <QApplication>
#include <QElapsedTimer>
#include <QFileSystemModel>
#include <QListWidget>
#include <QLocale>
#include <QMimeDatabase>
#include <QStandardItemModel>
#include <QTreeView>
#include <cstdio>

#include "run/ProcessRunner.h"
#include "settings/FileFormats.h"
#include "shell/CMainForm.h"
#include "shell/FolderListing.h"
#include "shell/ImageLists.h"
#include "shell/ProgressGauge.h"

namespace {

using namespace vantaro;

// The run's questions answered as a user going ahead would answer them.
class ScreenshotRun : public RunHost {
  public:
    explicit ScreenshotRun(TMainForm& form) : form_(form) {}
    void SetProcessingState(bool busy) override { form_.SetProcessingState(busy); }
    bool AskBackupWarning() override { return true; }
    void ShowNoReportsWarning() override {}
    void ClearFoundReferences() override { form_.RefImagesListBox->clear(); }
    void SetProgressMaximum(std::uint64_t total) override {
        form_.ProgressGauge->SetMaxValue(total);
    }

  private:
    TMainForm& form_;
};

void Wait(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

// The tree shows the home folder's folders, the folder of pages among them.
void ShowFolder(TMainForm& form, const QString& folder) {
    auto* folders = new QFileSystemModel(&form);
    folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    folders->setRootPath(QDir::homePath());
    form.FoldersShellTreeView->setModel(folders);
    form.FoldersShellTreeView->setRootIndex(folders->index(QDir::homePath()));
    for (int column = 1; column < folders->columnCount(); ++column) {
        form.FoldersShellTreeView->hideColumn(column);
    }
    Wait(300);
    const QModelIndex shown = folders->index(folder);
    form.FoldersShellTreeView->scrollTo(shown);
    form.FoldersShellTreeView->setCurrentIndex(shown);
}

std::vector<std::string> ListPages(TMainForm& form, const std::string& folder) {
    auto* rows = qobject_cast<QStandardItemModel*>(form.FilesListView->model());
    const QMimeDatabase types;
    const QLocale locale;
    std::vector<std::string> names;
    for (const ListedFile& file :
         ListFolderFiles(folder, BuildExtensionList(FileFormats(), form.OtherFileFormats))) {
        const QString path = QString::fromStdString(folder + file.Name);
        auto* size = new QStandardItem(locale.toString(std::max<qulonglong>(1, file.Size / 1024)) +
                                       QStringLiteral(" KB"));
        size->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        rows->appendRow({new QStandardItem(QString::fromStdString(file.Name)), size,
                         new QStandardItem(types.mimeTypeForFile(path).comment()),
                         new QStandardItem(locale.toString(
                             QDateTime::fromSecsSinceEpoch(file.Modified), QLocale::ShortFormat))});
        names.push_back(file.Name);
    }
    form.FilesListView->selectAll();
    return names;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <folder of pages> <picture.png>\n", argv[0]);
        return 2;
    }
    QApplication::setApplicationName(QStringLiteral("Vantaro"));
    QApplication::setWindowIcon(AppIcon());

    std::string folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath().toStdString() + "/";
    TMainForm form;
    form.setGeometry(0, 0, 1280, 800);
    form.show();
    Wait(500);
    ShowFolder(form, QString::fromStdString(folder));
    form.CurrentFolder = folder;
    const std::vector<std::string> pages = ListPages(form, folder);
    ScreenshotRun host(form);
    ProcessRunner runner(form.MainEngine(), form, host);
    runner.RunProcess(ScanMode::Scan, folder, pages);
    Wait(500);

    if (!form.grab().save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
