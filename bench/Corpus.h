#pragma once

#include <cstdint>
#include <string>

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

// Peak resident memory of this process so far, in MiB.
double PeakMemoryMiB();

}  // namespace vantaro::bench
