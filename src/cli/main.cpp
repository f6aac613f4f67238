// vantaro-cli: runs the engine over pages from the command line, writing the same log as the
// window.

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "Version.h"
#include "cli/CliHost.h"
#include "cli/CliOptions.h"
#include "cli/Recover.h"
#include "cli/RunPlan.h"
#include "cli/Terminal.h"
#include "engine/Engine.h"
#include "platform/Console.h"
#include "run/FolderListing.h"
#include "run/ProcessRunner.h"
#include "settings/AppSettings.h"
#include "settings/DataPaths.h"
#include "settings/FileFormats.h"
#include "settings/SettingsFile.h"

namespace {

using namespace vantaro;
using namespace vantaro::cli;

constexpr int kExitClean = 0;
constexpr int kExitFindings = 1;
constexpr int kExitTrouble = 2;

// A reader that went away (a closed pipe) wants no more output and no message.
void ReportOutputError(int error, bool stoppedRun) {
    if (error != EPIPE) {
        std::fprintf(stderr, "vantaro-cli: cannot write to standard output: %s%s\n",
                     std::strerror(error), stoppedRun ? "; the run was stopped" : "");
    }
}

bool Has(const std::vector<std::string>& items, const char* item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

// The settings, or why they cannot be had. Only the usual settings file may be missing (a
// first run: the defaults apply); a file named with --settings must be there, and neither may
// be unreadable, since running on the defaults could then change what the user's settings
// protect.
std::optional<AppSettings> ReadSettings(const CliOptions& options) {
    AppSettings settings;
    if (options.NoSettings) {
        return settings;
    }
    InitDataPaths("/Corvell/", "Vantaro/App.ini");
    const std::string file = options.SettingsFile.value_or(IniFileName());
    SettingsText text = ReadSettingsText(file);
    if (text.Missing && options.SettingsFile) {
        text.Text.reset();
        text.Problem = std::strerror(ENOENT);
    }
    if (!text.Text) {
        std::fprintf(stderr, "vantaro-cli: cannot use the settings file %s: %s\n",
                     ForMessage(file).c_str(), text.Problem.c_str());
        return std::nullopt;
    }
    LoadSettingsFromText(std::move(*text.Text), settings);
    return settings;
}

void ApplySettings(const AppSettings& stored, const CliOptions& options, Engine& engine) {
    EngineSettings& s = engine.Settings();
    s = stored.Engine;
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

int Run(const CliOptions& options, bool escapesWork) {
    const std::optional<AppSettings> settings = ReadSettings(options);
    if (!settings) {
        return kExitTrouble;
    }
    const AppSettings& stored = *settings;
    const bool writing = options.Mode != ScanMode::Scan && !options.Preview;
    const bool interactive = IsTerminal(StandardStream::Input);
    if (writing && !options.Yes && !interactive) {
        std::fprintf(stderr,
                     "vantaro-cli: refusing to change pages without a terminal to confirm on; "
                     "give --yes to go ahead, or --preview to see what would change\n");
        return kExitTrouble;
    }

    const bool colour =
        options.Color == ColorChoice::Always ||
        (options.Color == ColorChoice::Auto && IsTerminal(StandardStream::Output) && escapesWork);
    CliHost host(options, colour, IsTerminal(StandardStream::Error) && escapesWork,
                 QuestionPolicy{interactive, options.Yes});
    Engine engine(host);
    ApplySettings(stored, options, engine);
    host.SetRunFlags(&engine.Flags());
    host.Ignored().Assign(stored.ReferencesIgnored);
    for (const std::string& reference : options.Ignore) {
        host.Ignored().Add(reference);
    }
    ProcessRunner runner(engine, host);
    runner.ShowBackupDlg = stored.ShowBackupDlg;
    runner.Jobs = options.Jobs.value_or(DefaultJobCount());

    const RunPlan plan = PlanRuns(options.Paths, options.Recursive,
                                  BuildExtensionList(FileFormats(), stored.OtherFileFormats));
    for (const std::string& problem : plan.Problems) {
        std::fprintf(stderr, "vantaro-cli: %s\n", ForMessage(problem).c_str());
    }
    InstallInterruptHandler();
    if (plan.Runs.size() > 1) {
        std::vector<FolderPages> runs;
        for (const PlannedRun& run : plan.Runs) {
            runs.push_back(FolderPages{run.Folder, run.Pages});
        }
        runner.ReadAheadAcross(options.Mode, std::move(runs));
    }
    for (const PlannedRun& run : plan.Runs) {
        if (Interrupted() || host.WasStopped() || host.OutputError() != 0) {
            break;
        }
        host.BeginRun(run.Folder);
        runner.RunProcess(options.Mode, run.Folder, run.Pages);
        if (host.RefusedToReport()) {
            host.CloseOutput();
            return kExitTrouble;
        }
    }
    runner.EndReadAhead();
    if (options.ListRefs) {
        host.PrintFoundReferences();
    }
    if (options.Format == OutputFormat::Sarif) {
        host.PrintSarifLog();
    }
    host.CloseOutput();
    if (host.OutputError() != 0) {
        ReportOutputError(host.OutputError(), host.StoppedByOutputError());
    }
    if (Interrupted() || (host.WasStopped() && !host.StoppedByOutputError())) {
        return kInterruptedStatus;
    }
    if (host.OutputError() != 0) {
        return kExitTrouble;
    }
    if (host.HadFailures() || !plan.Problems.empty()) {
        return kExitTrouble;
    }
    return host.HadUnresolvedFindings() ? kExitFindings : kExitClean;
}

// Help and version: standard output checked as for a run.
int Print(const std::string& text) {
    int error = 0;
    if (std::fputs(text.c_str(), stdout) < 0 || std::fflush(stdout) != 0) {
        error = LastOutputError();
    }
    if (std::fclose(stdout) != 0 && error == 0) {
        error = LastOutputError();
    }
    if (error != 0) {
        ReportOutputError(error, false);
        return kExitTrouble;
    }
    return kExitClean;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    IgnoreBrokenPipes();
    const bool escapesWork = PrepareStandardStreams();
    const ParseResult parsed = ParseCommandLine(ProgramArguments(argc, argv));
    if (!parsed.Error.empty()) {
        std::fprintf(stderr, "vantaro-cli: %s\nTry 'vantaro-cli --help'.\n", parsed.Error.c_str());
        return kExitTrouble;
    }
    if (parsed.Options.Help) {
        return Print(UsageText());
    }
    if (parsed.Options.Version) {
        return Print(std::string("vantaro-cli (") + version::ProductName + ") " +
                     version::FileVersion + "\n" + version::LegalCopyright +
                     "\nAll rights reserved.\n");
    }
    try {
        if (parsed.Options.Recover) {
            const RecoverResult recovered = RunRecover(parsed.Options);
            const int printed = Print(recovered.Output);
            return printed != kExitClean ? printed : recovered.Status;
        }
        return Run(parsed.Options, escapesWork);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vantaro-cli: %s\n", ForMessage(error.what()).c_str());
        return kExitTrouble;
    }
}
