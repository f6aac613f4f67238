// vantaro-cli: runs the engine over pages from the command line, writing the same log as the
// window.

#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "Version.h"
#include "cli/CliHost.h"
#include "cli/CliOptions.h"
#include "cli/RunPlan.h"
#include "engine/Engine.h"
#include "run/ProcessRunner.h"
#include "settings/AppSettings.h"
#include "settings/DataPaths.h"
#include "settings/FileFormats.h"
#include "shell/FolderListing.h"

namespace {

using namespace vantaro;
using namespace vantaro::cli;

constexpr int kExitClean = 0;
constexpr int kExitFindings = 1;
constexpr int kExitTrouble = 2;
constexpr int kExitInterrupted = 130;

bool Has(const std::vector<std::string>& items, const char* item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

AppSettings ReadSettings(const CliOptions& options) {
    AppSettings settings;
    if (options.NoSettings) {
        return settings;
    }
    InitDataPaths("/Corvell/", "Vantaro/App.ini");
    LoadSettings(options.SettingsFile.value_or(IniFileName()), settings);
    return settings;
}

void ApplySettings(const AppSettings& stored, const CliOptions& options, Engine& engine) {
    EngineSettings& s = engine.Settings();
    ApplyToEngine(stored, s);
    s.PreviewMode = options.Preview;  // the window's stored Preview toggle is not used here
    if (options.Tags) {
        s.TagImg = Has(*options.Tags, "img");
        s.TagArea = Has(*options.Tags, "area");
        s.TagInput = Has(*options.Tags, "input");
    }
    if (options.Reports) {
        s.ShowMissingAltMsgs = Has(*options.Reports, "alt");
        s.ShowMissingTitleMsgs = Has(*options.Reports, "title");
    }
    engine.BuildIgnoreTagList();
}

int Run(const CliOptions& options) {
    const AppSettings stored = ReadSettings(options);
    const bool writing = options.Mode != ScanMode::Scan && !options.Preview;
    const bool interactive = ::isatty(STDIN_FILENO) != 0;
    if (writing && !options.Yes && !interactive) {
        std::fprintf(stderr,
                     "vantaro-cli: refusing to change pages without a terminal to confirm on; "
                     "give --yes to go ahead, or --preview to see what would change\n");
        return kExitTrouble;
    }

    const bool colour = options.Color == ColorChoice::Always ||
                        (options.Color == ColorChoice::Auto && ::isatty(STDOUT_FILENO) != 0);
    CliHost host(options, colour, ::isatty(STDERR_FILENO) != 0,
                 QuestionPolicy{interactive, options.Yes});
    Engine engine(host);
    ApplySettings(stored, options, engine);
    host.SetRunFlags(&engine.Flags());
    host.Ignored().Assign(stored.ReferencesIgnored);
    for (const std::string& reference : options.Ignore) {
        host.Ignored().Add(reference);
    }
    ProcessRunner runner(engine, host, host);
    runner.ShowBackupDlg = stored.ShowBackupDlg;

    const RunPlan plan = PlanRuns(options.Paths, options.Recursive,
                                  BuildExtensionList(FileFormats(), stored.OtherFileFormats));
    for (const std::string& problem : plan.Problems) {
        std::fprintf(stderr, "vantaro-cli: %s\n", problem.c_str());
    }
    InstallInterruptHandler(&engine.Flags().StopRequested, &engine.Flags().AbortFile);
    for (const PlannedRun& run : plan.Runs) {
        if (Interrupted() || host.WasStopped()) {
            break;
        }
        host.BeginRun(run.Folder);
        runner.RunProcess(options.Mode, run.Folder, run.Pages);
        if (host.RefusedToReport()) {
            return kExitTrouble;
        }
    }
    if (options.ListRefs) {
        host.PrintFoundReferences();
    }
    if (Interrupted() || host.WasStopped()) {
        return kExitInterrupted;
    }
    if (host.HadFailures() || !plan.Problems.empty()) {
        return kExitTrouble;
    }
    return host.HadUnresolvedFindings() ? kExitFindings : kExitClean;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    const ParseResult parsed = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.Error.empty()) {
        std::fprintf(stderr, "vantaro-cli: %s\nTry 'vantaro-cli --help'.\n", parsed.Error.c_str());
        return kExitTrouble;
    }
    if (parsed.Options.Help) {
        std::fputs(UsageText().c_str(), stdout);
        return kExitClean;
    }
    if (parsed.Options.Version) {
        std::printf("vantaro-cli (%s) %s\n%s\nAll rights reserved.\n", version::ProductName,
                    version::FileVersion, version::LegalCopyright);
        return kExitClean;
    }
    try {
        return Run(parsed.Options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vantaro-cli: %s\n", error.what());
        return kExitTrouble;
    }
}
