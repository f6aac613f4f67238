#include <gtest/gtest.h>

#include "cli/SarifLog.h"

namespace vantaro::cli {
namespace {

TEST(SarifLog, PathsAreRelativeToTheWorkingFolderAndPercentEncoded) {
    EXPECT_EQ(RelativeUri("/site/index.htm", "/site"), "index.htm");
    EXPECT_EQ(RelativeUri("/site/a b/caf\xC3\xA9#1.htm", "/site/"), "a%20b/caf%C3%A9%231.htm");
    EXPECT_EQ(RelativeUri("/other/x.htm", "/site/sub"), "../../other/x.htm");
    EXPECT_EQ(RelativeUri("/site/./sub//p.htm", "/site"), "sub/p.htm");
}

TEST(SarifLog, ResultsAreTheTagsLeftLackingAnAttribute) {
    SarifLog log("/work");
    Finding missing;
    missing.FullPath = "/work/site/a.htm";
    missing.Line = 7;
    missing.Attribute = AttributeName::Title;
    missing.Kind = FindingKind::Missing;
    missing.Reference = "logo.gif";
    log.Add(missing);
    Finding added = missing;
    added.Kind = FindingKind::Added;  // resolved: no result
    log.Add(added);
    Finding failed = missing;
    failed.Kind = FindingKind::AddFailed;
    failed.Value = "\"Logo\"";
    failed.FullPath = "site/b.htm";  // relative paths start from the working folder
    log.Add(failed);
    const std::string text = log.Text();
    const std::string results = text.substr(text.find("\"results\":"));
    EXPECT_EQ(results,
              "\"results\":[{\"ruleId\":\"missing-title\",\"ruleIndex\":1,\"level\":\"warning\","
              "\"message\":{\"text\":\"title missing\"},\"locations\":[{\"physicalLocation\":{"
              "\"artifactLocation\":{\"uri\":\"site/a.htm\"},\"region\":{\"startLine\":7}}}]},"
              "{\"ruleId\":\"unable-to-add\",\"ruleIndex\":4,\"level\":\"warning\",\"message\":{"
              "\"text\":\"title add failed \\\"Logo\\\"\"},\"locations\":[{\"physicalLocation\":{"
              "\"artifactLocation\":{\"uri\":\"site/b.htm\"},\"region\":{\"startLine\":7}}}]}]}]}"
              "\n");
    EXPECT_EQ(text.rfind("{\"$schema\":\"https://json.schemastore.org/sarif-2.1.0.json\","
                         "\"version\":\"2.1.0\",\"runs\":[{\"tool\":{\"driver\":{\"name\":"
                         "\"Vantaro\",",
                         0),
              0u);
}

}  // namespace
}  // namespace vantaro::cli
