#pragma once

#include <string>
#include <vector>

namespace vantaro::cli {

// One run: a folder (absolute, ending in '/') and the names of its pages in order.
struct PlannedRun {
    std::string Folder;
    std::vector<std::string> Pages;
};

struct RunPlan {
    std::vector<PlannedRun> Runs;
    std::vector<std::string> Problems;  // paths that could not be used, with the reason
};

// Turns the command line's paths into runs. A folder stands for its page files (of the given
// extensions, in the file list's order); with recursive every subfolder too, each folder a run
// of its own, depth first in sorted order (hidden folders and links to folders are not
// entered). A file stands for itself; files of one folder share one run, in the order given,
// and runs follow the order in which their folders first appear.
RunPlan PlanRuns(const std::vector<std::string>& paths, bool recursive,
                 const std::vector<std::string>& extensions);

}  // namespace vantaro::cli
