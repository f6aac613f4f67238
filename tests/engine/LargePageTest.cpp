#include <gtest/gtest.h>

#include <fstream>

#include "engine/Engine.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"

namespace vantaro {
namespace {

// A page of more than 2 GiB (a sparse file, so it costs no disk): sizes, positions, line
// numbers and progress must not wrap.
TEST(LargePage, PagesOverTwoGibibytesAreScannedWhole) {
    test::TempDir dir;
    const std::string path = dir.File("huge.htm");
    const std::streamoff hole = (std::streamoff{1} << 31) + 4096;
    const std::string head = "<p>\n";
    const std::string tail = "\n<img src=\"far/away.gif\">\n";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << head;
        out.seekp(hole);
        out << tail;
        out.close();
        ASSERT_TRUE(out) << "cannot write " << path;
    }

    test::RecordingHost host;
    Engine engine(host);
    engine.Settings().ShowMissingTitleMsgs = false;
    engine.ProcessFile(path, ScanMode::Scan);
    ASSERT_EQ(host.Lines().size(), 1u);
    EXPECT_EQ(host.Lines()[0], "huge.htm : Line 3 : <img : away.gif : alt missing");
    EXPECT_EQ(host.progress, static_cast<std::uint64_t>(hole) + tail.size());
    EXPECT_EQ(engine.TotalAltCount, 1);
}

}  // namespace
}  // namespace vantaro
