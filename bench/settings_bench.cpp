// Reading and writing a very large settings file (a long list of ignored references and many
// other lines): seconds for LoadSettings and for SaveSettings.
//   build/bench/vantaro_settings_bench [megabytes]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "settings/AppSettings.h"

namespace {

using namespace vantaro;

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Half the size in one "References Ignored" value, half in lines of an unknown section.
std::string LargeSettings(std::size_t bytes) {
    std::string text = "[Notes]\n";
    for (int i = 0; text.size() < bytes / 2; ++i) {
        text += "note" + std::to_string(i) + "=some text kept by another program\n";
    }
    text += "[MainForm]\nFolders=250\nReferences Ignored=";
    for (int i = 0; text.size() < bytes; ++i) {
        text += "images/picture" + std::to_string(i) + ".gif,";
    }
    text += "x.gif\nTag Img=0\n[File Formats]\nphp=0\n";
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 48;
    const std::string file =
        (std::filesystem::temp_directory_path() / "vantaro-settings-bench.ini").string();
    std::ofstream(file, std::ios::binary) << LargeSettings(megabytes * 1000 * 1000);

    AppSettings settings;
    auto start = std::chrono::steady_clock::now();
    LoadSettings(file, settings);
    const double load = Seconds(start);

    start = std::chrono::steady_clock::now();
    SaveSettings(file, settings);
    const double save = Seconds(start);

    std::printf(
        "%zu MB settings file: LoadSettings %.3f s (%zu ignored references), "
        "SaveSettings %.3f s\n",
        megabytes, load, settings.ReferencesIgnored.size(), save);
    std::filesystem::remove(file);
    return settings.FoldersWidth == 250 && !settings.Engine.TagImg ? 0 : 1;
}
