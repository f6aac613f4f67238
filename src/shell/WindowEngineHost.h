#pragma once

#include <QElapsedTimer>

#include "engine/EngineHost.h"

namespace vantaro {

class TMainForm;

// The main window as the engine's host: events go to the log view, progress to the gauge,
// pending window events are let through during a run, references are looked up in and added
// to the window's lists, and the template-code warning is shown over the window.
class TWindowEngineHost : public EngineHost {
  public:
    explicit TWindowEngineHost(TMainForm& window) : window_(window) {}

    void OnFinding(const Finding& finding) override;
    void OnPageEvent(const PageEvent& event) override;
    void AdvanceProgress(std::uint64_t bytes) override;
    void PumpEvents() override;
    bool IsIgnoredReference(std::string_view reference) override;
    bool IsFoundReference(std::string_view reference) override;
    void AddFoundReference(std::string_view reference) override;
    TemplateWarningAnswer ShowTemplateWarning(const std::string& fullPath) override;

  private:
    TMainForm& window_;
    QElapsedTimer sincePump_;
};

}  // namespace vantaro
