#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantaro::bench {

// A page like those of older hand-kept sites: text, links, tables, images with and without
// alt and title, image maps, forms with image buttons, ASP and PHP blocks, scripts, and now
// and then a page made from a template. The same seed gives the same page.
std::string MakePage(std::uint32_t seed, std::size_t approximateBytes);

struct CorpusInfo {
    std::size_t pages = 0;
    std::uint64_t bytes = 0;
};

// Fills folder (created if missing) with pages named page00001.htm ... and returns what it
// wrote. Pages already there are reused when their count matches.
CorpusInfo MakeCorpus(const std::string& folder, std::size_t pages, std::size_t bytesPerPage);

// The .htm and .html files under folder and its subfolders, sorted, with their total size.
std::vector<std::string> PagesUnder(const std::string& folder, std::uint64_t& bytes);

// The limit a scan is measured against: opens, reads whole and closes each page, and finds every
// '<' with memchr. Returns the seconds taken; brackets is the number of '<' found.
double ReadAndMemchrSeconds(const std::vector<std::string>& pages, std::uint64_t& brackets);

// Peak resident memory of this process so far, in MiB.
double PeakMemoryMiB();

}  // namespace vantaro::bench
