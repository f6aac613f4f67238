#include "support/PageRun.h"

#include <gtest/gtest.h>

namespace vantaro::test {

PageResult RunPage(const std::string& page, ScanMode mode, const SettingsEdit& edit,
                   const HostEdit& hostEdit, std::size_t readChunk, const std::string& name) {
    TempDir dir;
    const std::string path = dir.Write(name, page);
    RecordingHost host;
    if (hostEdit) {
        hostEdit(host);
    }
    Engine engine(host);
    host.flags = &engine.Flags();
    if (edit) {
        edit(engine.Settings());
        engine.BuildIgnoreTagList();
    }
    if (readChunk != 0) {
        engine.SetReadChunk(readChunk);
    }
    engine.SetKeepOutputText(true);
    engine.Flags().SetBoth(false);
    engine.ProcessFile(path, mode);

    PageResult result;
    result.segments = host.segments;
    result.lines = host.Lines();
    result.found = host.found;
    result.fileAfter = ReadWholeFile(path);
    result.output = engine.File().OutputText;
    result.progress = host.progress;
    result.totalAlt = engine.TotalAltCount;
    result.totalTitle = engine.TotalTitleCount;
    result.warnings = host.warningsShown.size();
    return result;
}

const std::vector<std::size_t>& ReadChunks() {
    static const std::vector<std::size_t> chunks = {1, 2, 3, 5, 8, 13, 64, 3072, 0};
    return chunks;
}

PageResult RunPageEverySize(const std::string& page, ScanMode mode, const SettingsEdit& edit,
                            const HostEdit& hostEdit) {
    const PageResult first = RunPage(page, mode, edit, hostEdit, ReadChunks().front());
    for (std::size_t chunk : ReadChunks()) {
        const PageResult other = RunPage(page, mode, edit, hostEdit, chunk);
        EXPECT_EQ(other.segments, first.segments) << "read size " << chunk;
        EXPECT_EQ(other.fileAfter, first.fileAfter) << "read size " << chunk;
        EXPECT_EQ(other.found, first.found) << "read size " << chunk;
        EXPECT_EQ(other.progress, first.progress) << "read size " << chunk;
    }
    return first;
}

void Real(EngineSettings& settings) {
    settings.PreviewMode = false;
}

}  // namespace vantaro::test
