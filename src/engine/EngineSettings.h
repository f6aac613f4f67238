#pragma once

#include <string>
#include <vector>

namespace vantaro {

// What a run reads from the user's choices: the tag toggles, what a scan reports, Preview, the
// template-code options and the language rows (description, open, close; three items a row).
struct EngineSettings {
    bool TagImg = true;
    bool TagArea = true;
    bool TagInput = true;
    bool ShowMissingAltMsgs = true;
    bool ShowMissingTitleMsgs = true;
    bool PreviewMode = true;
    bool UpdateDWTs = true;
    bool ShowDWTDlg = true;
    std::vector<std::string> LanguageTags = DefaultLanguageTags();

    bool operator==(const EngineSettings&) const = default;

    static std::vector<std::string> DefaultLanguageTags() {
        return {"ASP, JSP", "<%", "%>", "PHP", "<?php", "?>", "Script", "<script", "</script>"};
    }
};

// The run's mode, fixed for a run.
enum class ScanMode : int { Scan = 0, AddAlt = 1, AddTitle = 2 };

}  // namespace vantaro
