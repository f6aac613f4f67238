#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <vector>

#include <stdlib.h>

namespace vantaro::test {

#ifdef _WIN32
TempDir::TempDir() {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() / ("vantaro-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(folder)) {
            path_ = folder.generic_string() + "/";
            return;
        }
    }
    throw std::runtime_error("no temporary folder");
}
#else
TempDir::TempDir() {
    const std::string base =
        std::filesystem::temp_directory_path().string() + "/vantaro-test-XXXXXX";
    std::vector<char> pattern(base.begin(), base.end());
    pattern.push_back('\0');
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = std::string(pattern.data()) + "/";
}
#endif

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::File(std::string_view name) const {
    return path_ + std::string(name);
}

std::string TempDir::Write(std::string_view name, std::string_view content) const {
    const std::string path = File(name);
    WriteWholeFile(path, content);
    return path;
}

std::string TempDir::Read(std::string_view name) const {
    return ReadWholeFile(File(name));
}

namespace {

#ifdef _WIN32
// A UTF-8 path for the C++ library, which takes a narrow one in the system's code page; long
// ones get the prefix that lifts the 260-character limit.
std::filesystem::path Native(const std::string& path) {
    std::filesystem::path native(std::u8string(path.begin(), path.end()));
    native.make_preferred();
    if (native.is_absolute() && native.native().size() >= 240 &&
        !native.native().starts_with(LR"(\\)")) {
        return LR"(\\?\)" + native.native();
    }
    return native;
}
#else
const std::string& Native(const std::string& path) {
    return path;
}
#endif

}  // namespace

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(Native(path), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteWholeFile(const std::string& path, std::string_view content) {
    std::ofstream out(Native(path), std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace vantaro::test
