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
        ::setenv("XDG_CACHE_HOME", dir_.Path().c_str(), 1);
    }
    ~CacheFolder() {
        if (saved_) {
            ::setenv("XDG_CACHE_HOME", saved_->c_str(), 1);
        } else {
            ::unsetenv("XDG_CACHE_HOME");
        }
    }
    CacheFolder(const CacheFolder&) = delete;
    CacheFolder& operator=(const CacheFolder&) = delete;

    const TempDir& Dir() const { return dir_; }

  private:
    TempDir dir_;
    std::optional<std::string> saved_;
};

}  // namespace vantaro::test
