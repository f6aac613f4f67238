#include "cli/RunPlan.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "platform/FileStatus.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "run/FolderListing.h"
#include "run/WordSort.h"

namespace vantaro::cli {

namespace {

// The subfolders of a folder that recursion enters, sorted.
std::vector<std::string> Subfolders(const std::string& folder) {
    std::vector<std::string> names;
    const std::optional<std::vector<FolderEntry>> entries = ListFolder(folder);
    if (!entries) {
        return names;
    }
    for (const FolderEntry& entry : *entries) {
        if (entry.name.empty() || entry.hidden) {
            continue;
        }
        const std::optional<FileStatus> status = StatusOf(folder + entry.name, Links::DontFollow);
        if (status && status->kind == FileKind::Folder) {
            names.push_back(entry.name);
        }
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return WordSortLess(a, b); });
    return names;
}

class Planner {
  public:
    Planner(bool recursive, const std::vector<std::string>& extensions)
        : recursive_(recursive), extensions_(extensions) {}

    void AddPath(const std::string& path) {
        const std::optional<FileStatus> status = StatusOf(path);
        if (!status) {
            Problem(path, std::strerror(errno));
        } else if (status->kind == FileKind::Folder) {
            AddFolder(WithTrailingSeparator(ResolvedPath(path)), true);
        } else if (status->kind == FileKind::Regular) {
            AddFile(path);
        } else {
            Problem(path, "not a file or folder");
        }
    }

    RunPlan Take() { return std::move(plan_); }

  private:
    void Problem(const std::string& path, const std::string& reason) {
        plan_.Problems.push_back(path + ": " + reason);
    }

    void AddFolder(const std::string& folder, bool given) {
        if (!MayAccess(folder, Access::ReadAndEnter)) {
            Problem(folder, "cannot read this folder");
            return;
        }
        std::vector<ListedFile> files = ListFolderFiles(folder, extensions_, FileDetails::NameOnly);
        if (given || !files.empty()) {
            PlannedRun& run = RunFor(folder);
            for (const ListedFile& file : files) {
                AddPage(run, file.Name);
            }
        }
        if (recursive_) {
            for (const std::string& name : Subfolders(folder)) {
                AddFolder(WithTrailingSeparator(folder + name), false);
            }
        }
    }

    void AddFile(const std::string& path) {
        const std::string given = FolderOf(path);
        const std::string folder = given.empty() ? "." : given;
        const std::string name(FileNameOf(path));
        AddPage(RunFor(WithTrailingSeparator(ResolvedPath(folder))), name);
    }

    PlannedRun& RunFor(const std::string& folder) {
        const auto [place, added] = runIndex_.try_emplace(folder, plan_.Runs.size());
        if (added) {
            plan_.Runs.push_back(PlannedRun{folder, {}});
        }
        return plan_.Runs[place->second];
    }

    void AddPage(PlannedRun& run, const std::string& name) {
        if (pagesSeen_.insert(run.Folder + name).second) {
            run.Pages.push_back(name);
        }
    }

    bool recursive_;
    const std::vector<std::string>& extensions_;
    RunPlan plan_;
    std::unordered_map<std::string, std::size_t> runIndex_;
    std::unordered_set<std::string> pagesSeen_;
};

}  // namespace

RunPlan PlanRuns(const std::vector<std::string>& paths, bool recursive,
                 const std::vector<std::string>& extensions) {
    Planner planner(recursive, extensions);
    for (const std::string& path : paths) {
        planner.AddPath(path);
    }
    return planner.Take();
}

}  // namespace vantaro::cli
