#include "settings/SettingsFile.h"

#include "platform/FileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace vantaro {

namespace {

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return fd_; }
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

bool ReadAll(int fd, std::string& text) {
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            return true;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
}

bool MakeFolder(const std::string& folder) {
    if (folder.empty()) {
        return true;
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return !error && std::filesystem::is_directory(folder, error);
}

// Even the superuser does not write over a file marked read-only.
bool IsWritable(const std::string& path, const struct stat& info) {
    return (info.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK) == 0;
}

}  // namespace

SettingsText ReadSettingsText(const std::string& path) {
    SettingsText result;
    // Non-blocking so that a FIFO posing as the settings file cannot hang the program.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.Get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            result.Text.emplace();
            result.Missing = true;
        } else {
            result.Problem = std::strerror(errno);
        }
        return result;
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) {
        result.Problem = std::strerror(errno);
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.Problem = S_ISDIR(info.st_mode) ? "it is a folder" : "not a regular file";
        return result;
    }
    std::string text;
    if (!ReadAll(file.Get(), text)) {
        result.Problem = std::strerror(errno);
        return result;
    }
    result.Text = std::move(text);
    return result;
}

std::optional<std::string> ReadSettingsFile(const std::string& path) {
    return ReadSettingsText(path).Text;
}

bool ReplaceSettingsFile(const std::string& path, std::string_view text) {
    if (!MakeFolder(FolderOf(path))) {
        return false;
    }
    const std::string target = ResolvedPath(path);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && (!S_ISREG(existing.st_mode) || !IsWritable(target, existing))) {
        return false;
    }
    return ReplaceByRename(target, text, exists ? &existing : nullptr) == ReplaceOutcome::Replaced;
}

}  // namespace vantaro
