#include "Corpus.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

namespace vantaro::bench {

namespace {

const char* const kWords[] = {"harbour", "bakery", "fresh", "bread", "morning", "oven",
                              "team",    "quay",   "gulls", "order", "menu",    "cake"};

std::string Word(std::mt19937& random) {
    return kWords[random() % std::size(kWords)];
}

std::string Image(std::mt19937& random, int n) {
    const std::string src = "images/" + Word(random) + std::to_string(n) + ".jpg";
    switch (random() % 6) {
        case 0:
            return "<img src=\"" + src + "\" width=\"120\" height=\"80\">";
        case 1:
            return "<img src=\"" + src + "\" title=\"" + Word(random) + "\">";
        case 2:
            return "<img src=\"" + src + "\" alt=\"" + Word(random) + "\">";
        case 3:
            return "<IMG SRC=\"" + src + "\" ALT=\"\" BORDER=0>";
        case 4:
            return "<img src=\"" + src + "\" alt=\"" + Word(random) + "\" title=\"" + Word(random) +
                   "\" />";
        default:
            return "<input type=\"image\" src=\"" + src + "\" title=\"Go\">";
    }
}

// g++ 12 at -O3 reports an impossible overlap inside std::string's operator+ (-Wrestrict) here.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
std::string Sentence(std::mt19937& random) {
    std::string text = "The " + Word(random);
    const int words = 8 + static_cast<int>(random() % 12);
    for (int i = 0; i < words; ++i) {
        text += " " + Word(random);
    }
    return text + ". ";
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

// One stretch of markup; most are text, as on real pages, with an image every few blocks.
std::string Block(std::mt19937& random, int n) {
    const auto kind = static_cast<unsigned>(random() % 20);
    if (kind < 9) {
        std::string text = "<p class=\"text\">";
        for (std::uint32_t i = 0; i < 2 + random() % 3; ++i) {
            text += Sentence(random);
        }
        return text + "Open 7 days &gt; 6am; see <a href=\"" + Word(random) + ".htm\">" +
               Word(random) + "</a>.</p>\r\n";
    }
    switch (kind) {
        case 9:
        case 10:
        case 11:
            return "<p>" + Sentence(random) + Image(random, n) + "</p>\r\n";
        case 12:
            return "<table width=\"100%\" cellpadding=\"2\"><tr><td class=\"cell\">" +
                   Sentence(random) + "</td><td>" + Image(random, n) + "</td></tr></table>\r\n";
        case 13:
            return "<% If Session(\"user\") <> \"\" Then Response.Write(\"<b>Hi</b>\") End If "
                   "%>\r\n";
        case 14:
            return "<?php if ($a < $b) { echo \"<img src='x.gif'>\"; } ?>\r\n";
        case 15:
            return "<script type=\"text/javascript\">if (a < b && c > d) { "
                   "document.write('<img src=\"t.gif\">'); }</script>\r\n";
        case 16:
            return "<map name=\"m" + std::to_string(n) +
                   "\"><area shape=\"rect\" coords=\"0,0,10,10\" href=\"a.htm\" title=\"A\">"
                   "<area shape=\"circle\" coords=\"5,5,5\" href=\"b.htm\"></map>\r\n";
        default:
            return "<ul><li><a href=\"" + Word(random) + ".htm\">" + Word(random) +
                   "</a></li><li><a href=\"" + Word(random) + ".htm\">" + Word(random) +
                   "</a></li></ul>\r\n";
    }
}

}  // namespace

std::string MakePage(std::uint32_t seed, std::size_t approximateBytes) {
    std::mt19937 random(seed);
    const bool fromTemplate = random() % 5 == 0;
    std::string page =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<html>\r\n"
        "<head><title>" +
        Word(random) + "</title></head>\r\n<body>\r\n";
    if (fromTemplate) {
        page +=
            "<img src=\"images/banner.gif\" width=\"600\">\r\n"
            "<!-- InstanceBeginEditable name=\"body\" -->\r\n";
    }
    int n = 0;
    while (page.size() < approximateBytes) {
        page += Block(random, ++n);
    }
    if (fromTemplate) {
        page +=
            "<!-- InstanceEndEditable -->\r\n<img src=\"images/footer.gif\" title=\"Footer\">\r\n";
    }
    page += "</body>\r\n</html>\r\n";
    return page;
}

CorpusInfo MakeCorpus(const std::string& folder, std::size_t pages, std::size_t bytesPerPage) {
    std::filesystem::create_directories(folder);
    CorpusInfo info;
    for (std::size_t i = 1; i <= pages; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/page%06zu.htm", i);
        const std::string path = folder + name;
        struct stat existing {};
        if (::stat(path.c_str(), &existing) == 0) {
            info.bytes += static_cast<std::uint64_t>(existing.st_size);
        } else {
            // Sizes vary around the mean, as on a real site.
            const std::size_t size = bytesPerPage / 2 + (i * 7919) % bytesPerPage;
            const std::string page = MakePage(static_cast<std::uint32_t>(i), size);
            std::ofstream(path, std::ios::binary)
                .write(page.data(), static_cast<std::streamsize>(page.size()));
            info.bytes += page.size();
        }
        ++info.pages;
    }
    return info;
}

std::vector<std::string> PagesUnder(const std::string& folder, std::uint64_t& bytes) {
    std::vector<std::string> pages;
    bytes = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string extension = entry.path().extension().string();
        if (entry.is_regular_file() && (extension == ".htm" || extension == ".html")) {
            pages.push_back(entry.path().string());
            bytes += entry.file_size();
        }
    }
    std::sort(pages.begin(), pages.end());
    return pages;
}

double ReadAndMemchrSeconds(const std::vector<std::string>& pages, std::uint64_t& brackets) {
    std::vector<char> buffer;
    brackets = 0;
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& page : pages) {
        const int fd = ::open(page.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        std::size_t filled = 0;
        while (true) {
            if (buffer.size() < filled + 65536) {
                buffer.resize(filled + 65536 + buffer.size() / 2);
            }
            const ssize_t n = ::read(fd, buffer.data() + filled, buffer.size() - filled);
            if (n <= 0) {
                break;
            }
            filled += static_cast<std::size_t>(n);
        }
        ::close(fd);
        for (const char* at = buffer.data(); at != nullptr;) {
            at = static_cast<const char*>(
                std::memchr(at, '<', static_cast<std::size_t>(buffer.data() + filled - at)));
            if (at != nullptr) {
                ++brackets;
                ++at;
            }
        }
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double PeakMemoryMiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace vantaro::bench
