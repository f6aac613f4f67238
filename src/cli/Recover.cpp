#include "cli/Recover.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "cli/Terminal.h"
#include "engine/RecoveryFiles.h"
#include "log/PageText.h"

namespace vantaro::cli {

namespace {

std::string Quoted(const std::string& bytes) {
    return "\"" + JsonEscaped(DecodeForDisplay(bytes)) + "\"";
}

}  // namespace

int RunRecover(const CliOptions& options, std::FILE* out) {
    const bool terminal = ::isatty(::fileno(out)) != 0;
    const auto shown = [&](const std::string& path) {
        return ForOutput(DecodeForDisplay(path), terminal);
    };
    int status = 0;
    for (const RecoveryEntry& entry : ListRecoveryFiles()) {
        const bool restored = options.Restore && RestoreFromRecovery(entry);
        const int error = errno;
        if (options.Format == OutputFormat::Jsonl) {
            std::string json = "{\"type\":\"recovery\",\"file\":" + Quoted(entry.pagePath) +
                               ",\"recovery\":" + Quoted(entry.recoveryFile);
            if (options.Restore) {
                json += std::string(",\"restored\":") + (restored ? "true" : "false");
            }
            std::fputs((json + "}\n").c_str(), out);
        } else if (!options.Restore) {
            std::fputs((shown(entry.pagePath) + "\t" + shown(entry.recoveryFile) + "\n").c_str(),
                       out);
        } else if (restored) {
            std::fputs(("restored " + shown(entry.pagePath) + "\n").c_str(), out);
        }
        if (options.Restore && !restored) {
            std::fprintf(stderr,
                         "vantaro-cli: %s could not be restored (%s); its old text stays in %s\n",
                         shown(entry.pagePath).c_str(), std::strerror(error),
                         shown(entry.recoveryFile).c_str());
            status = 2;
        }
    }
    return status;
}

}  // namespace vantaro::cli
