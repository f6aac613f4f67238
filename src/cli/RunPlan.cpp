#include "cli/RunPlan.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "run/FolderListing.h"
#include "run/WordSort.h"

namespace vantaro::cli {

namespace {

std::string Absolute(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return path;
    }
    std::string absolute(resolved);
    std::free(resolved);
    return absolute;
}

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

// The subfolders of a folder that recursion enters, sorted.
std::vector<std::string> Subfolders(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name(entry->d_name);
        struct stat info {};
        if (name.empty() || name.front() == '.' || ::lstat((folder + name).c_str(), &info) != 0 ||
            !S_ISDIR(info.st_mode)) {
            continue;
        }
        names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return WordSortLess(a, b); });
    return names;
}

class Planner {
  public:
    Planner(bool recursive, const std::vector<std::string>& extensions)
        : recursive_(recursive), extensions_(extensions) {}

    void AddPath(const std::string& path) {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) {
            Problem(path, std::strerror(errno));
        } else if (S_ISDIR(info.st_mode)) {
            AddFolder(WithSlash(Absolute(path)), true);
        } else if (S_ISREG(info.st_mode)) {
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
        if (::access(folder.c_str(), R_OK | X_OK) != 0) {
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
                AddFolder(folder + name + "/", false);
            }
        }
    }

    void AddFile(const std::string& path) {
        const std::size_t slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        AddPage(RunFor(WithSlash(Absolute(folder))), name);
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
