// Appends a long run's worth of log lines to the log view and prints how long it took.
//   vantaro_log_append_bench [lines] [--one-at-a-time]

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Corpus.h"
#include "shell/log/LogView.h"

namespace {

using vantaro::FontStyle;
using vantaro::LogColour;

// One finding line as the engine writes it: six segments, and the place in the page it reports
// on (a page holds a few findings).
void WriteFinding(vantaro::TLogView& view, int line) {
    view.BeginPageLine(
        vantaro::PageLocation{"/home/user/site/folder/page" + std::to_string(line / 4) + ".htm",
                              static_cast<std::uint64_t>(line), vantaro::TagKind::Img});
    view.AddLogLine("folder/page.htm : ", LogColour::LogGrey, false, FontStyle::Plain());
    view.AddLogLine("Line " + std::to_string(line), LogColour::LogGrey, false, FontStyle::Plain());
    view.AddLogLine(" : <", LogColour::LogGrey, false, FontStyle::Plain());
    view.AddLogLine("img", LogColour::LogDarkGrey, false, FontStyle::Plain());
    view.AddLogLine(" : images/picture.gif : ", LogColour::LogGrey, false, FontStyle::Plain());
    view.AddLogLine("missing alt", LogColour::LogOrange, true, FontStyle::Plain());
}

// Writes the lines as a run does, letting the event loop in every few milliseconds so that
// painting and scrolling are part of the figure.
void Append(int lines, bool batching) {
    vantaro::TLogView view;
    view.resize(900, 600);
    view.show();
    QApplication::processEvents();

    QElapsedTimer total;
    QElapsedTimer sincePump;
    total.start();
    sincePump.start();
    int pumps = 0;
    view.SetBatching(batching);
    for (int line = 1; line <= lines; ++line) {
        WriteFinding(view, line);
        if (sincePump.elapsed() >= 10) {
            view.Flush();
            QApplication::processEvents();
            sincePump.restart();
            ++pumps;
        }
    }
    view.SetBatching(false);
    QApplication::processEvents();
    const double seconds = static_cast<double>(total.elapsed()) / 1000.0;
    std::printf(
        "%s: %d lines (%d segments) appended in %.2f s, %d event-loop turns, %d lines, peak "
        "memory %.1f MiB\n",
        batching ? "gathered between turns" : "one piece at a time", lines, lines * 6, seconds,
        pumps, view.LineCount(), vantaro::bench::PeakMemoryMiB());
}

}  // namespace

// vantaro_log_append_bench [lines] [--one-at-a-time]
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 200000;
    const bool batching = !(argc > 2 && std::string(argv[2]) == "--one-at-a-time");
    Append(lines, batching);
    return 0;
}
