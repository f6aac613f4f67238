#include <QApplication>

#include "shell/CMainForm.h"
#include "shell/ImageLists.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantaro"));
    QApplication::setWindowIcon(vantaro::AppIcon());

    vantaro::TMainForm mainForm;
    mainForm.showMaximized();
    return QApplication::exec();
}
