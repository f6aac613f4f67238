#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantaro::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Full path of a name inside the folder (with a trailing '/' for the folder itself).
    std::string File(std::string_view name) const;
    std::string Write(std::string_view name, std::string_view content) const;
    std::string Read(std::string_view name) const;

  private:
    std::string path_;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, std::string_view content);
// The names in a folder, sorted: what a write left behind.
std::vector<std::string> NamesIn(const std::string& folder);

}  // namespace vantaro::test
