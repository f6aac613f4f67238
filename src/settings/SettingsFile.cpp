#include "settings/SettingsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
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

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The file the path finally names, so that a symbolic link keeps pointing at the settings.
std::string ResolvedPath(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return path;
    }
    std::string target(resolved);
    std::free(resolved);
    return target;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
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

// A new file beside the target; created with the usual mode so the umask applies to it.
int CreateTemporary(const std::string& target, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    const std::string folder = FolderOf(target);
    const std::string name = target.substr(folder.size()).substr(0, 64);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + "." + name + ".vantaro-" + std::to_string(::getpid()) + "-" +
                   std::to_string(counter++);
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

bool WriteTemporary(int fd, const struct stat* existing, std::string_view text) {
    if (existing != nullptr) {
        // Only the superuser can hand the file back to its owner; the mode is kept either way.
        [[maybe_unused]] const int owned = ::fchown(fd, existing->st_uid, existing->st_gid);
        if (::fchmod(fd, existing->st_mode & 07777) != 0) {
            return false;
        }
    }
    return WriteAll(fd, text) && ::fsync(fd) == 0;
}

void SyncFolder(const std::string& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

std::optional<std::string> ReadSettingsFile(const std::string& path) {
    // Non-blocking so that a FIFO posing as the settings file cannot hang the program.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.Get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return std::string();
        }
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    std::string text;
    if (!ReadAll(file.Get(), text)) {
        return std::nullopt;
    }
    return text;
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
    std::string tempPath;
    Descriptor temp(CreateTemporary(target, tempPath));
    if (temp.Get() < 0) {
        return false;
    }
    const bool written = WriteTemporary(temp.Get(), exists ? &existing : nullptr, text);
    const bool closed = temp.Close();
    if (!written || !closed || ::rename(tempPath.c_str(), target.c_str()) != 0) {
        ::unlink(tempPath.c_str());
        return false;
    }
    SyncFolder(FolderOf(target));
    return true;
}

}  // namespace vantaro
