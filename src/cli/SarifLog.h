#pragma once

#include <string>
#include <vector>

#include "engine/EngineEvents.h"

namespace vantaro::cli {

// The findings of an invocation as one SARIF 2.1.0 log, the form code-hosting code scanning and
// editors read. Only findings that leave a tag lacking an attribute are results; each names the
// page by its path relative to the working folder.
class SarifLog {
  public:
    explicit SarifLog(std::string workingFolder) : workingFolder_(std::move(workingFolder)) {}

    void Add(const Finding& finding);
    std::string Text() const;

  private:
    struct Result {
        int rule;
        std::string uri;
        std::uint64_t line;
        std::string message;
    };

    std::string workingFolder_;
    std::vector<Result> results_;
};

// A path as a URI reference relative to folder (both absolute): "../" where it lies outside,
// every byte but unreserved ones and '/' percent-encoded.
std::string RelativeUri(const std::string& path, const std::string& folder);

}  // namespace vantaro::cli
