#pragma once

#include <string>
#include <vector>

#include "settings/CINI.h"

namespace vantaro::test {

// Collects the messages of failed settings writes while it lives.
class ReporterCapture {
  public:
    ReporterCapture()
        : previous_(SetIniErrorReporter(
              [this](const std::string& message) { messages_.push_back(message); })) {}
    ~ReporterCapture() { SetIniErrorReporter(std::move(previous_)); }
    ReporterCapture(const ReporterCapture&) = delete;
    ReporterCapture& operator=(const ReporterCapture&) = delete;

    const std::vector<std::string>& Messages() const { return messages_; }

  private:
    std::vector<std::string> messages_;
    IniErrorReporter previous_;
};

}  // namespace vantaro::test
