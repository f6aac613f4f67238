// Takes the pictures of the main window for the README, at 1280 x 800: the window with a site's
// folder listed (main-window.png), the same window after a Scan, with the findings in the log
// and the references in the lists (after-scan.png), and a Scan of the whole site with Include
// Subfolders (site-scan.png). Run it under Xvfb with a throw-away home, so
// no real settings are read or written:
//
//   export HOME=$(mktemp -d) XDG_CONFIG_HOME=$HOME/.config
//   mkdir $HOME/Sites && cp -r /path/to/site $HOME/Sites/
//   xvfb-run -a -s "-screen 0 1280x800x24" build/tests/shell/vantaro_window_screenshot
//       $HOME/Sites/site docs

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <cstdio>

#include "MainWindowProbe.h"
#include "shell/CMainForm.h"
#include "shell/FolderTree.h"
#include "shell/ImageLists.h"
#include "shell/references/ReferenceListBoxes.h"

namespace {

using namespace vantaro;

void Wait(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

bool Save(QWidget& window, const QString& folder, const char* name) {
    const QString path = folder + QLatin1Char('/') + QLatin1String(name);
    if (window.grab().save(path)) {
        return true;
    }
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <folder of pages> <folder for the pictures>\n", argv[0]);
        return 2;
    }
    QApplication::setApplicationName(QStringLiteral("Vantaro"));
    QApplication::setWindowIcon(AppIcon());
    const QString site = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString pictures = QString::fromLocal8Bit(argv[2]);

    TMainForm form;
    const test::MainWindowProbe ui(form);
    form.setGeometry(0, 0, 1280, 800);
    form.show();
    Wait(500);
    form.ReferenceLists().SetIgnoredItems({"spacer.gif"});
    ui.Find<TFolderTree>("FoldersShellTreeView")->SelectFolder(site);
    Wait(800);
    ui.Action("SelectAll1")->trigger();
    Wait(200);
    if (!Save(form, pictures, "main-window.png")) {
        return 1;
    }
    ui.Action("Scan1")->trigger();
    Wait(500);
    if (!Save(form, pictures, "after-scan.png")) {
        return 1;
    }
    form.ShowClearLogPrompt = false;
    ui.Action("Clear1")->trigger();
    ui.Action("SubfoldersToolButton")->trigger();
    ui.Action("Scan1")->trigger();
    Wait(500);
    return Save(form, pictures, "site-scan.png") ? 0 : 1;
}
