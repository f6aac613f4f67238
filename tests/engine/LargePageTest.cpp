#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

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
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    const off_t hole = (off_t{1} << 31) + 4096;
    const std::string head = "<p>\n";
    const std::string tail = "\n<img src=\"far/away.gif\">\n";
    ASSERT_EQ(::pwrite(fd, head.data(), head.size(), 0), static_cast<ssize_t>(head.size()));
    ASSERT_EQ(::pwrite(fd, tail.data(), tail.size(), hole), static_cast<ssize_t>(tail.size()));
    ::close(fd);

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
