#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstring>
#include <optional>

#include "Version.h"
#include "shell/CMainForm.h"
#include "shell/ImageLists.h"

namespace {

constexpr int kExitClean = 0;
constexpr int kExitUsage = 2;

const char* const kUsage = R"(Usage: vantaro [FOLDER | PAGE]

Finds img, area and image input tags that lack alt or title in web pages, and adds
one from the other.

The window shows the folder it showed when it was last closed; given a FOLDER, that
folder instead; given a PAGE, the page's folder with the page selected.

Options:
  -h, --help     show this help
      --version  show the version

Qt's own options, such as -platform NAME, are accepted as well.
)";

// Answered before Qt starts, so that they work without a display.
std::optional<int> AnswerHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return kExitClean;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("vantaro (%s) %s\n%s\nAll rights reserved.\n",
                        vantaro::version::ProductName, vantaro::version::FileVersion,
                        vantaro::version::LegalCopyright);
            return kExitClean;
        }
    }
    return std::nullopt;
}

int UsageError(const QString& message) {
    std::fprintf(stderr, "vantaro: %s\nTry 'vantaro --help'.\n", message.toLocal8Bit().constData());
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> answered = AnswerHelpOrVersion(argc, argv)) {
        return *answered;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantaro"));
    QApplication::setDesktopFileName(QStringLiteral("com.corvell.Vantaro"));
    QApplication::setWindowIcon(vantaro::AppIcon());

    // Qt has taken its own options out of the arguments by now.
    QStringList paths;
    bool optionsEnded = false;
    for (const QString& argument : QApplication::arguments().mid(1)) {
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && argument.startsWith(QLatin1Char('-'))) {
            return UsageError(QStringLiteral("unknown option '%1'").arg(argument));
        } else {
            paths.push_back(argument);
        }
    }
    if (paths.size() > 1) {
        return UsageError(QStringLiteral("give one FOLDER or PAGE at most"));
    }

    vantaro::TMainForm mainForm;
    if (!paths.isEmpty()) {
        mainForm.OpenAtStart(paths.front());
    }
    mainForm.showMaximized();
    return QApplication::exec();
}
