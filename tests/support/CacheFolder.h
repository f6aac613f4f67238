#pragma once

#include <cstdlib>
#include <optional>
#include <string>

#include "support/TempDir.h"

namespace vantaro::test {

// While it lives, the user's cache folder (and with it the recovery folder) is a fresh folder.
class CacheFolder {
  public:
    CacheFolder() {
        if (const char* value = std::getenv("XDG_CACHE_HOME")) {
            saved_ = value;
        }
        Set(dir_.Path().c_str());
    }
    ~CacheFolder() { Set(saved_ ? saved_->c_str() : nullptr); }
    CacheFolder(const CacheFolder&) = delete;
    CacheFolder& operator=(const CacheFolder&) = delete;

    const TempDir& Dir() const { return dir_; }

  private:
    static void Set(const char* value) {
#ifdef _WIN32
        ::_putenv_s("XDG_CACHE_HOME", value != nullptr ? value : "");
#else
        if (value != nullptr) {
            ::setenv("XDG_CACHE_HOME", value, 1);
        } else {
            ::unsetenv("XDG_CACHE_HOME");
        }
#endif
    }

    TempDir dir_;
    std::optional<std::string> saved_;
};

}  // namespace vantaro::test
