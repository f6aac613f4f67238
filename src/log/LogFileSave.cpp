#include "log/LogFileSave.h"

#include "platform/FileReplace.h"

#include <cerrno>

namespace vantaro {
namespace {

SaveOutcome WriteInPlace(const std::string& path, std::string_view content) {
    FileHandle file = FileHandle::Open(path, OpenFor::WriteOver);
    if (!file.IsOpen()) {
        return SaveOutcome::CannotCreate;
    }
    const bool written = file.WriteAll(content) && file.Sync();
    const bool closed = file.Close();
    return written && closed ? SaveOutcome::Saved : SaveOutcome::WriteFailed;
}

}  // namespace

SaveOutcome SaveWholeFile(const std::string& path, std::string_view content) {
    const std::string target = ResolvedPath(path);
    const std::optional<FileStatus> existing = StatusOf(target);
    const bool exists = existing.has_value();
    if (exists && (existing->kind != FileKind::Regular || !MayAccess(target, Access::Write))) {
        return SaveOutcome::CannotCreate;  // a folder, a device or a read-only file stays as is
    }
    switch (ReplaceByRename(target, content, existing ? &*existing : nullptr)) {
        case ReplaceOutcome::Replaced:
            return SaveOutcome::Saved;
        case ReplaceOutcome::NoTemporaryFile:
            // Where the folder takes no new file, an existing writable file is written over.
            if (exists && (errno == EACCES || errno == EPERM || errno == EROFS)) {
                return WriteInPlace(target, content);
            }
            return SaveOutcome::CannotCreate;
        case ReplaceOutcome::TargetInUse:
            return exists ? WriteInPlace(target, content) : SaveOutcome::CannotCreate;
        case ReplaceOutcome::Failed:
        case ReplaceOutcome::TargetChanged:
            return SaveOutcome::WriteFailed;
    }
    return SaveOutcome::WriteFailed;
}

}  // namespace vantaro
