#include "platform/SystemFolders.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <cstdlib>

#include "WideText.h"

namespace vantaro {

namespace {

std::optional<std::string> Variable(const wchar_t* name) {
    const wchar_t* value = ::_wgetenv(name);
    return value == nullptr ? std::nullopt : std::optional<std::string>(Utf8Of(value));
}

std::optional<std::string> KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::optional<std::string> folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &path))) {
        folder = PathOfWide(path);
    }
    ::CoTaskMemFree(path);
    return folder;
}

}  // namespace

FolderEnvironment FolderEnvironment::FromProcess() {
    return {Variable(L"XDG_CONFIG_HOME"), Variable(L"USERPROFILE"), Variable(L"XDG_CACHE_HOME")};
}

std::optional<std::string> SettingsRootFolder(const FolderEnvironment& /*environment*/) {
    return KnownFolder(FOLDERID_ProgramData);
}

std::optional<std::string> CacheRootFolder(const FolderEnvironment& environment) {
    // XDG_CACHE_HOME, where set to an absolute folder, is honoured here too: it moves the
    // recovery folder for a test or a portable setup.
    const std::optional<std::string>& chosen = environment.XdgCacheHome;
    if (chosen && chosen->size() >= 3 && (*chosen)[1] == ':' &&
        ((*chosen)[2] == '\\' || (*chosen)[2] == '/')) {
        std::string folder = *chosen;
        while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) {
            folder.pop_back();
        }
        return folder;
    }
    return KnownFolder(FOLDERID_LocalAppData);
}

std::optional<std::string> HomeRootFolder(const FolderEnvironment& /*environment*/) {
    return KnownFolder(FOLDERID_Profile);
}

std::string ExecutableFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return WorkingFolder() + "\\";
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return PathOfWide(path.substr(0, path.find_last_of(L'\\') + 1));
}

std::string WorkingFolder() {
    const DWORD needed = ::GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(needed, L'\0');
    const DWORD length = ::GetCurrentDirectoryW(needed, folder.data());
    if (length == 0 || length >= needed) {
        return {};
    }
    folder.resize(length);
    return PathOfWide(folder);
}

std::string WithNativeSeparators(std::string path) {
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

}  // namespace vantaro
