#include "cli/Recover.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "cli/Terminal.h"
#include "engine/RecoveryFiles.h"
#include "log/PageText.h"

namespace vantaro::cli {

namespace {

std::string Quoted(const std::string& bytes) {
    return JsonString(DecodeForDisplay(bytes));
}

}  // namespace

RecoverResult RunRecover(const CliOptions& options) {
    const auto shown = [](const std::string& path) { return ForOutput(DecodeForDisplay(path)); };
    RecoverResult result;
    std::string& out = result.Output;
    for (const RecoveryEntry& entry : ListRecoveryFiles()) {
        const bool restored = options.Restore && RestoreFromRecovery(entry);
        const int error = errno;
        if (options.Format == OutputFormat::Jsonl) {
            std::string json = "{\"type\":\"recovery\",\"file\":" + Quoted(entry.pagePath) +
                               ",\"recovery\":" + Quoted(entry.recoveryFile);
            if (options.Restore) {
                json += std::string(",\"restored\":") + (restored ? "true" : "false");
            }
            out += json + "}\n";
        } else if (!options.Restore) {
            out += shown(entry.pagePath) + "\t" + shown(entry.recoveryFile) + "\n";
        } else if (restored) {
            out += "restored " + shown(entry.pagePath) + "\n";
        }
        if (options.Restore && !restored) {
            std::fprintf(stderr,
                         "vantaro-cli: %s could not be restored (%s); its old text stays in %s\n",
                         ForMessage(entry.pagePath).c_str(), std::strerror(error),
                         ForMessage(entry.recoveryFile).c_str());
            result.Status = 2;
        }
    }
    return result;
}

}  // namespace vantaro::cli
