#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include <aclapi.h>
#else
#include <sys/stat.h>
#endif

namespace vantaro::test {

#ifdef _WIN32
inline std::wstring WidePath(const std::string& path) {
    return std::filesystem::path(std::u8string(path.begin(), path.end())).wstring();
}
#endif

// A read-only file the system's own way: no write permission bits (POSIX), the read-only
// attribute (Windows).
inline void SetReadOnly(const std::string& path, bool readOnly) {
#ifdef _WIN32
    const std::wstring wide = WidePath(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(::SetFileAttributesW(wide.c_str(), readOnly
                                                       ? attributes | FILE_ATTRIBUTE_READONLY
                                                       : attributes & ~FILE_ATTRIBUTE_READONLY));
#else
    ASSERT_EQ(::chmod(path.c_str(), readOnly ? 0444 : 0644), 0);
#endif
}

// While it lives, a folder refuses new files (and so any temporary file beside its pages): no
// write permission (POSIX), an entry denying everyone to add files in its access list (Windows).
// Refused() tells whether the system enforces it for this process: the superuser's rights
// ignore both.
class NewFilesRefused {
  public:
    explicit NewFilesRefused(std::string folder) : folder_(std::move(folder)) {
#ifdef _WIN32
        const std::wstring wide = WidePath(folder_);
        PACL current = nullptr;
        if (::GetNamedSecurityInfoW(wide.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                    nullptr, nullptr, &current, nullptr,
                                    &saved_) != ERROR_SUCCESS) {
            return;
        }
        savedDacl_ = current;
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        PSID everyone = nullptr;
        if (!::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0,
                                        &everyone)) {
            return;
        }
        EXPLICIT_ACCESSW deny{};
        deny.grfAccessPermissions = FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY;
        deny.grfAccessMode = DENY_ACCESS;
        deny.grfInheritance = NO_INHERITANCE;
        deny.Trustee.TrusteeForm = TRUSTEE_IS_SID;
        deny.Trustee.ptstrName = static_cast<LPWSTR>(everyone);
        PACL denying = nullptr;
        if (::SetEntriesInAclW(1, &deny, current, &denying) == ERROR_SUCCESS) {
            ::SetNamedSecurityInfoW(const_cast<LPWSTR>(wide.c_str()), SE_FILE_OBJECT,
                                    DACL_SECURITY_INFORMATION, nullptr, nullptr, denying, nullptr);
            ::LocalFree(denying);
        }
        ::FreeSid(everyone);
#else
        ::chmod(folder_.c_str(), 0555);
#endif
    }
    ~NewFilesRefused() {
#ifdef _WIN32
        if (saved_ != nullptr) {
            const std::wstring wide = WidePath(folder_);
            ::SetNamedSecurityInfoW(const_cast<LPWSTR>(wide.c_str()), SE_FILE_OBJECT,
                                    DACL_SECURITY_INFORMATION, nullptr, nullptr, savedDacl_,
                                    nullptr);
            ::LocalFree(saved_);
        }
#else
        ::chmod(folder_.c_str(), 0755);
#endif
    }
    NewFilesRefused(const NewFilesRefused&) = delete;
    NewFilesRefused& operator=(const NewFilesRefused&) = delete;

    bool Refused() const {
        const std::string probe = folder_ + "probe";
        std::FILE* made = std::fopen(probe.c_str(), "wb");
        if (made == nullptr) {
            return true;
        }
        std::fclose(made);
        std::remove(probe.c_str());
        return false;
    }

  private:
    std::string folder_;
#ifdef _WIN32
    PSECURITY_DESCRIPTOR saved_ = nullptr;
    PACL savedDacl_ = nullptr;
#endif
};

}  // namespace vantaro::test

// For tests of a folder that refuses new files. Where the process's rights ignore the refusal
// (the superuser's) they skip, except in the runs that scripts/test and scripts/test-windows make
// as an unprivileged user for them (VANTARO_TESTS_UNPRIVILEGED=1): there they fail.
#define VANTARO_SKIP_UNLESS_REFUSED(refusal)                                                    \
    do {                                                                                        \
        if (!(refusal).Refused()) {                                                             \
            if (std::getenv("VANTARO_TESTS_UNPRIVILEGED") != nullptr) {                         \
                FAIL() << "meant to run as an unprivileged user, the folder still takes files"; \
            }                                                                                   \
            GTEST_SKIP() << "this process may add files to any folder";                         \
        }                                                                                       \
    } while (false)
