#include <gtest/gtest.h>

#include <string>

#include "engine/ByteText.h"
#include "engine/StopFinder.h"
#include "engine/TagKinds.h"

namespace vantaro {
namespace {

// The marker is found at every offset (wide steps of each width, their tails and the last
// possible start), in any letter case, and only where all of it stands.
TEST(ByteText, TheMarkerIsFoundWhereverItStandsAndOnlyWhole) {
    const std::string marker(TagPrefix(TagKind::EditableStart));
    std::string shouted = marker;
    for (char& c : shouted) {
        c = static_cast<char>(FoldAscii(static_cast<unsigned char>(c)));
    }
    const ScanWidth chosen = StopFinder::CurrentWidth();
    for (ScanWidth width : {ScanWidth::Bytewise, ScanWidth::Sse2, ScanWidth::Avx2}) {
        StopFinder::UseWidth(width);
        for (std::size_t lead = 0; lead < 72; ++lead) {
            for (std::size_t trail : {0u, 1u, 15u, 16u, 17u}) {
                const std::string padding(lead, 'x');
                const std::string after(trail, 'y');
                EXPECT_TRUE(ContainsIgnoreAsciiCase(padding + marker + after, marker)) << lead;
                EXPECT_TRUE(ContainsIgnoreAsciiCase(padding + shouted + after, marker)) << lead;
                // Each byte that differs, including the blank at the end, keeps it from matching.
                for (std::size_t changed = 0; changed < marker.size(); ++changed) {
                    std::string near = padding + marker + after;
                    near[lead + changed] = changed % 2 == 0 ? '\x80' : '_';
                    EXPECT_FALSE(ContainsIgnoreAsciiCase(near, marker)) << lead << " " << changed;
                }
                const std::string cut = padding + marker.substr(0, marker.size() - 1);
                EXPECT_FALSE(ContainsIgnoreAsciiCase(cut, marker)) << lead;
            }
        }
    }
    StopFinder::UseWidth(chosen);
}

}  // namespace
}  // namespace vantaro
