#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vantaro {

// What tells the content of a file as it was read from any later one: another file at the path,
// or any write to it since, changes one of these.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;  // the file's number on its device
    std::uint64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    bool operator==(const FileIdentity&) const = default;
};

enum class FileKind { Regular, Folder, Link, Other };

struct FileStatus {
    FileKind kind = FileKind::Other;
    std::uint64_t size = 0;
    std::int64_t modifiedSeconds = 0;  // last write, since 1970
    FileIdentity identity;
    std::uint64_t links = 1;  // names of the file (hard links)
    // No write permission bit (POSIX) or the read-only attribute (Windows): even a process that
    // could write the file leaves it alone.
    bool readOnly = false;
    // Kept by a whole-file replacement: POSIX permission bits and owner; unused on Windows,
    // where the replacement keeps attributes and security descriptor itself.
    std::uint32_t mode = 0;
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
};

enum class Links { Follow, DontFollow };

// The status of the file at path, or nothing (errno tells why).
std::optional<FileStatus> StatusOf(const std::string& path, Links links = Links::Follow);

enum class Access { Read, Write, ReadAndEnter };

// Whether this process may read or write the file, or list and enter the folder, at path.
bool MayAccess(const std::string& path, Access access);

}  // namespace vantaro
