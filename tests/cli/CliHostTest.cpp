#include <gtest/gtest.h>

#include <cstdio>

#include "cli/CliHost.h"

namespace vantaro::cli {
namespace {

// A runner host writing JSON lines into a temporary file.
struct JsonHost {
    JsonHost() {
        options.Mode = ScanMode::AddAlt;
        options.Format = OutputFormat::Jsonl;
        out = std::tmpfile();
        EXPECT_NE(out, nullptr);
        host = std::make_unique<CliHost>(options, false, false, QuestionPolicy{}, out);
    }
    ~JsonHost() { std::fclose(out); }
    std::string Output() {
        std::fflush(out);
        const long end = std::ftell(out);
        std::string text(static_cast<std::size_t>(end), '\0');
        std::fseek(out, 0, SEEK_SET);
        text.resize(std::fread(text.data(), 1, text.size(), out));
        std::fseek(out, end, SEEK_SET);
        return text;
    }

    CliOptions options;
    std::FILE* out = nullptr;
    std::unique_ptr<CliHost> host;
};

Finding Make(FindingKind kind) {
    Finding f;
    f.FullPath = "/s/a.htm";
    f.Line = 3;
    f.Tag = TagKind::Area;
    f.Reference = "rect";
    f.Attribute = AttributeName::Alt;
    f.Kind = kind;
    f.Value = "\"T\"";
    f.Unquoted = AttributeName::Title;
    f.Repeated = AttributeName::Title;
    return f;
}

TEST(CliHost, FindingsBecomeJsonWithTheirActionAndOnlyCopiedValues) {
    const std::vector<std::pair<FindingKind, std::string>> cases = {
        {FindingKind::Missing,
         "\"action\":\"missing\",\"message\":\"alt missing : Multiple title "
         "attributes defined (Unsupported)\"}"},
        {FindingKind::WouldBeAdded,
         "\"action\":\"would-add\",\"value\":\"\\\"T\\\"\",\"message\":\"alt would be added : "
         "\\\"T\\\"\"}"},
        {FindingKind::Added,
         "\"action\":\"added\",\"value\":\"\\\"T\\\"\",\"message\":\"alt added : \\\"T\\\"\"}"},
        {FindingKind::AddFailed,
         "\"action\":\"add-failed\",\"value\":\"\\\"T\\\"\",\"message\":\"alt add failed "
         "\\\"T\\\"\"}"},
        {FindingKind::NotQuoted,
         "\"action\":\"not-quoted\",\"message\":\"title not quoted - unable to add alt\"}"},
        {FindingKind::NoSource,
         "\"action\":\"no-source\",\"message\":\"title missing - unable to add alt\"}"},
        {FindingKind::Multiple,
         "\"action\":\"multiple\",\"message\":\"Multiple title attributes defined "
         "(Unsupported)\"}"},
    };
    for (const auto& [kind, tail] : cases) {
        JsonHost json;
        json.host->OnPageStart("/s/a.htm");
        json.host->OnFinding(Make(kind));
        EXPECT_EQ(json.Output(),
                  "{\"type\":\"finding\",\"file\":\"/s/a.htm\",\"line\":3,\"tag\":\"area\","
                  "\"reference\":\"rect\",\"attribute\":\"alt\"," +
                      tail + "\n");
    }
}

TEST(CliHost, PagesThatWereNotSavedAreFailuresAndLeaveEveryFindingUnresolved) {
    JsonHost json;
    CliHost& host = *json.host;
    host.OnPageStart("/s/a.htm");
    host.OnFinding(Make(FindingKind::Added));
    host.OnPageEvent({"/s/a.htm", PageEventKind::Updated, {}});
    host.OnPageEnd("/s/a.htm");
    EXPECT_FALSE(host.HadUnresolvedFindings());
    EXPECT_FALSE(host.HadFailures());

    host.OnPageStart("/s/b.htm");
    host.OnFinding(Make(FindingKind::Added));
    host.OnPageEvent({"/s/b.htm", PageEventKind::WriteFailed, "Disk quota exceeded"});
    host.OnPageEnd("/s/b.htm");
    EXPECT_TRUE(host.HadUnresolvedFindings());
    EXPECT_TRUE(host.HadFailures());
    host.OnPageStart("/s/c.htm");
    host.OnPageEvent({"/s/c.htm", PageEventKind::ChangedOnDisk, {}});
    host.OnPageEnd("/s/c.htm");
    const std::string out = json.Output();
    EXPECT_NE(out.find("{\"type\":\"file\",\"file\":\"/s/c.htm\",\"result\":\"changed-on-disk\","
                       "\"reason\":\"the file changed on disk during the run\",\"findings\":0,"
                       "\"unresolved\":0}"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("{\"type\":\"file\",\"file\":\"/s/a.htm\",\"result\":\"updated\","
                       "\"findings\":1,\"unresolved\":0}"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("{\"type\":\"file\",\"file\":\"/s/b.htm\",\"result\":\"write-failed\","
                       "\"reason\":\"Disk quota exceeded\",\"findings\":1,\"unresolved\":1}"),
              std::string::npos)
        << out;
}

}  // namespace
}  // namespace vantaro::cli
