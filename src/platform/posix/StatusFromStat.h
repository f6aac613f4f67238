#pragma once

#include <sys/stat.h>

#include "platform/FileStatus.h"

namespace vantaro {

inline FileStatus StatusFromStat(const struct stat& info) {
    FileStatus status;
    status.kind = S_ISREG(info.st_mode)   ? FileKind::Regular
                  : S_ISDIR(info.st_mode) ? FileKind::Folder
                  : S_ISLNK(info.st_mode) ? FileKind::Link
                                          : FileKind::Other;
    status.size = static_cast<std::uint64_t>(info.st_size);
    status.modifiedSeconds = info.st_mtim.tv_sec;
    status.identity = FileIdentity{info.st_dev, info.st_ino, status.size, info.st_mtim.tv_sec,
                                   info.st_mtim.tv_nsec};
    status.links = info.st_nlink;
    status.readOnly = (info.st_mode & 0222) == 0;
    status.mode = info.st_mode & 07777;
    status.owner = info.st_uid;
    status.group = info.st_gid;
    return status;
}

}  // namespace vantaro
