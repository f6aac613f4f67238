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

namespace vantaro::cli {

namespace {

class Planner {
  public:
    // Pages can be named twice only by two paths given: a folder's listing names each once.
    Planner(bool recursive, const std::vector<std::string>& extensions, bool severalPaths)
        : recursive_(recursive), extensions_(extensions), severalPaths_(severalPaths) {}

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
        FolderContents contents;
        if (recursive_) {
            contents = ListFolderContents(folder, extensions_);
        } else {
            contents.Pages = ListFolderFiles(folder, extensions_, FileDetails::NameOnly);
        }
        if (given || !contents.Pages.empty()) {
            PlannedRun& run = RunFor(folder);
            for (const ListedFile& file : contents.Pages) {
                AddPage(run, file.Name);
            }
        }
        for (const std::string& name : contents.Subfolders) {
            AddFolder(WithTrailingSeparator(folder + name), false);
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
        if (!severalPaths_ || pagesSeen_.insert(run.Folder + name).second) {
            run.Pages.push_back(name);
        }
    }

    bool recursive_;
    const std::vector<std::string>& extensions_;
    bool severalPaths_;
    RunPlan plan_;
    std::unordered_map<std::string, std::size_t> runIndex_;
    std::unordered_set<std::string> pagesSeen_;
};

}  // namespace

RunPlan PlanRuns(const std::vector<std::string>& paths, bool recursive,
                 const std::vector<std::string>& extensions) {
    Planner planner(recursive, extensions, paths.size() > 1);
    for (const std::string& path : paths) {
        planner.AddPath(path);
    }
    return planner.Take();
}

}  // namespace vantaro::cli
