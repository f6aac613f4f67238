#include "cli/CliOptions.h"

#include <algorithm>
#include <string_view>

namespace vantaro::cli {

namespace {

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(',', start), text.size());
        items.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return items;
}

bool AllAmong(const std::vector<std::string>& items, std::initializer_list<const char*> allowed) {
    return std::all_of(items.begin(), items.end(), [&](const std::string& item) {
        return std::any_of(allowed.begin(), allowed.end(),
                           [&](const char* name) { return item == name; });
    });
}

std::optional<int> JobCount(const std::string& text) {
    if (text.empty() || text.size() > 3 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const int count = std::stoi(text);
    return count >= 1 && count <= 256 ? std::optional<int>(count) : std::nullopt;
}

class Parser {
  public:
    explicit Parser(const std::vector<std::string>& arguments) : args_(arguments) {}

    ParseResult Parse() {
        while (index_ < args_.size() && result_.Error.empty()) {
            const std::string argument = args_[index_++];
            if (onlyPaths_ || argument == "-" || argument.empty() || argument[0] != '-') {
                Positional(argument);
            } else if (argument == "--") {
                onlyPaths_ = true;
            } else {
                Option(argument);
            }
        }
        Check();
        return result_;
    }

  private:
    void Fail(const std::string& message) {
        if (result_.Error.empty()) {
            result_.Error = message;
        }
    }

    void Positional(const std::string& argument) {
        if (!haveCommand_) {
            haveCommand_ = true;
            if (argument == "scan") {
                options().Mode = ScanMode::Scan;
            } else if (argument == "add-alt") {
                options().Mode = ScanMode::AddAlt;
            } else if (argument == "add-title") {
                options().Mode = ScanMode::AddTitle;
            } else if (argument == "recover") {
                options().Recover = true;
            } else {
                Fail("unknown command '" + argument +
                     "' (use scan, add-alt, add-title or recover)");
            }
            return;
        }
        options().Paths.push_back(argument);
    }

    // The value of an option given as --name=value or as --name value.
    std::optional<std::string> Value(const std::string& argument, const std::string& name) {
        if (argument.size() > name.size() &&
            argument.compare(0, name.size() + 1, name + "=") == 0) {
            return argument.substr(name.size() + 1);
        }
        if (argument != name) {
            return std::nullopt;
        }
        if (index_ >= args_.size()) {
            Fail(name + " needs a value");
            return std::string();
        }
        return args_[index_++];
    }

    void Option(const std::string& argument) {
        CliOptions& o = options();
        if (argument == "-h" || argument == "--help") {
            o.Help = true;
        } else if (argument == "--version") {
            o.Version = true;
        } else if (argument == "-j") {
            Option("--jobs");
        } else if (argument == "-r" || argument == "--recursive") {
            o.Recursive = true;
        } else if (argument == "--no-settings") {
            o.NoSettings = true;
        } else if (argument == "--preview") {
            o.Preview = true;
        } else if (argument == "-y" || argument == "--yes") {
            o.Yes = true;
        } else if (argument == "--list-refs") {
            o.ListRefs = true;
        } else if (argument == "--restore") {
            o.Restore = true;
        } else if (auto file = Value(argument, "--settings")) {
            o.SettingsFile = *file;
        } else if (auto tags = Value(argument, "--tags")) {
            o.Tags = SplitList(*tags);
            if (!AllAmong(*o.Tags, {"img", "area", "input"})) {
                Fail("--tags takes img, area and input, separated by commas");
            }
        } else if (auto reports = Value(argument, "--report")) {
            o.Reports = SplitList(*reports);
            if (!AllAmong(*o.Reports, {"alt", "title"})) {
                Fail("--report takes alt and title, separated by commas");
            }
        } else if (auto jobs = Value(argument, "--jobs")) {
            o.Jobs = JobCount(*jobs);
            if (!o.Jobs) {
                Fail("--jobs takes a number from 1 to 256");
            }
        } else if (auto reference = Value(argument, "--ignore")) {
            o.Ignore.push_back(*reference);
        } else if (auto color = Value(argument, "--color")) {
            if (*color == "auto") {
                o.Color = ColorChoice::Auto;
            } else if (*color == "always") {
                o.Color = ColorChoice::Always;
            } else if (*color == "never") {
                o.Color = ColorChoice::Never;
            } else {
                Fail("--color takes auto, always or never");
            }
        } else if (auto format = Value(argument, "--format")) {
            if (*format == "text") {
                o.Format = OutputFormat::Text;
            } else if (*format == "jsonl") {
                o.Format = OutputFormat::Jsonl;
            } else if (*format == "sarif") {
                o.Format = OutputFormat::Sarif;
            } else {
                Fail("--format takes text, jsonl or sarif");
            }
        } else {
            Fail("unknown option '" + argument + "'");
        }
    }

    void Check() {
        const CliOptions& o = result_.Options;
        if (o.Help || o.Version || !result_.Error.empty()) {
            return;
        }
        if (!haveCommand_) {
            Fail("no command given (scan, add-alt, add-title or recover)");
        } else if (o.Recover && !o.Paths.empty()) {
            Fail("recover takes no PATH");
        } else if (o.Restore && !o.Recover) {
            Fail("--restore goes with the recover command");
        } else if (!o.Recover && o.Paths.empty()) {
            Fail("no PATH given");
        } else if (o.NoSettings && o.SettingsFile) {
            Fail("--settings and --no-settings exclude each other");
        } else if (o.Format == OutputFormat::Sarif && (o.Recover || o.ListRefs)) {
            Fail("--format=sarif is for the findings of scan, add-alt and add-title");
        }
    }

    CliOptions& options() { return result_.Options; }

    const std::vector<std::string>& args_;
    std::size_t index_ = 0;
    bool haveCommand_ = false;
    bool onlyPaths_ = false;
    ParseResult result_;
};

}  // namespace

ParseResult ParseCommandLine(const std::vector<std::string>& arguments) {
    return Parser(arguments).Parse();
}

namespace {

// The help shows the system's own program name, paths and folders; the rest is shared.
#ifdef _WIN32
constexpr std::string_view kProgram = "vantaro-cli.exe";
constexpr std::string_view kRecoverDetails =
    R"(                that holds its old text (in %LOCALAPPDATA%\Corvell\Vantaro\recovery\);
                with --restore, write each old text back over its page and remove the
                recovery file
)";
constexpr std::string_view kSettingsAndExamples =
    R"(Settings are read from %ProgramData%\Corvell\Vantaro\App.ini. Full documentation:
README.txt beside vantaro-cli.exe.

Examples:
  vantaro-cli.exe scan -r C:\Sites\example
  vantaro-cli.exe add-alt --preview C:\Sites\example\index.htm
  vantaro-cli.exe add-title -r --yes "C:\Sites\My site" > C:\Sites\titles.log
  vantaro-cli.exe recover --restore
)";
#else
constexpr std::string_view kProgram = "vantaro-cli";
constexpr std::string_view kRecoverDetails =
    R"(                that holds its old text (in $XDG_CACHE_HOME or ~/.cache, then
                Corvell/Vantaro/recovery/); with --restore, write each old text back over
                its page and remove the recovery file
)";
constexpr std::string_view kSettingsAndExamples =
    R"(Settings are read from $XDG_CONFIG_HOME/Corvell/Vantaro/App.ini (by default
~/.config/Corvell/Vantaro/App.ini). Full documentation: man vantaro-cli
)";
#endif

}  // namespace

std::string UsageText() {
    std::string text;
    text += "Usage: " + std::string(kProgram) + " scan|add-alt|add-title [options] PATH...\n";
    text +=
        std::string(7, ' ') + std::string(kProgram) + " recover [--restore] [--format=FORMAT]\n";
    text += R"(
Finds img, area and image input tags that lack alt or title in web pages, and adds
one from the other. Writes the same log as the window.

Commands:
  scan          report tags whose alt and/or title is missing
  add-alt       add alt from title where alt is missing
  add-title     add title from alt where title is missing
  recover       list the pages whose saving was interrupted, each with the recovery file
)";
    text += kRecoverDetails;
    text += R"(
A PATH that is a folder stands for its page files; files given from one folder form
one run over that folder.

Options:
  -r, --recursive       also take every subfolder (each folder is a run of its own)
      --settings FILE   read settings from FILE instead of the usual settings file
      --no-settings     use the default settings
      --tags=LIST       tags to examine: img,area,input
      --report=LIST     what a scan reports: alt,title
      --ignore REF      leave tags whose image is REF alone (repeatable)
      --preview         report what would be added, change nothing
  -j, --jobs N          read pages on N threads (default: one per processor); the
                        output is the same for every N
  -y, --yes             answer Yes to the backup question and the template warning
      --color=WHEN      auto (default), always or never
      --format=FORMAT   text (default), jsonl (one JSON object per line) or sarif
                        (one SARIF 2.1.0 log of the findings, for code scanning)
      --list-refs       print the references found after the run
      --restore         with recover: put the old texts back
  -h, --help            show this help
      --version         show the version

Exit status: 0 nothing missing (scan) or nothing left that could not be added;
1 findings remain; 2 usage error, a settings file that cannot be used, a page that
could not be read or written or that changed on disk during the run, or output that
could not be written; 130 stopped with Ctrl-C (a second Ctrl-C ends at once).
recover: 0, or 2 when an old text could not be restored.

)";
    text += kSettingsAndExamples;
    return text;
}

}  // namespace vantaro::cli
