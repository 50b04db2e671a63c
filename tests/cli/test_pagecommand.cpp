// quillmark-cli page: feeds in, a source page out that parse and check read back title for title.
#include "cli/feedreader.h"
#include "research/topics.h"
#include "tests/cli/clirun.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace qm {
namespace {

using namespace qm::test;

const std::string kFeeds = QUILLMARK_TEST_DATA_DIR "/feeds/";

std::string Parse(const std::string& page, std::string_view key) { return RunCli(cli::runParse, {key}, page).out; }

TEST(PageCommand, GoldenFeedsGiveTheirCaptionsThroughParseAndCheck)
{
    for (const char* name : {"rss2", "rdf", "atom", "latin1", "windows1252", "utf16"}) {
        const std::string feed = "misc=" + kFeeds + name + ".xml";
        const CliRun run = RunCli(cli::runPage, {feed});
        EXPECT_EQ(run.status, 0) << name << ": " << run.err;
        EXPECT_EQ(run.err, "") << name;
        const std::string captions = readFileBytes(kFeeds + name + ".captions");
        EXPECT_EQ(Parse(run.out, "Misc"), captions) << name;
        EXPECT_EQ(Parse(run.out, "Business"), "") << name;

        std::string listed;
        for (const std::string& line : Lines(RunCli(cli::runCheck, {"Misc"}, run.out).out))
            if (const std::size_t at = line.find(": listed: "); at != std::string::npos)
                listed += line.substr(at + 10) + '\n';
        EXPECT_EQ(listed, captions) << name;
    }
}

TEST(PageCommand, FeedsOfOneTopicMergeNewestFirstAndKeepTheBasePagesOtherSections)
{
    TempDir dir;
    writeFileBytes(dir.file("a.xml"), "<rss><channel><item><title>A undated</title></item>"
                                      "<item><title>A new</title><pubDate>02 Jan 2026 00:00 GMT</pubDate></item>"
                                      "<item><title>A old</title><pubDate>01 Jan 2026 00:00 GMT</pubDate></item>"
                                      "</channel></rss>");
    writeFileBytes(dir.file("b.xml"), "<feed xmlns=\"http://www.w3.org/2005/Atom\"><entry><title>B undated</title>"
                                      "</entry><entry><title>B middle</title><updated>2026-01-01T12:00:00Z</updated>"
                                      "</entry><entry><title>a NEW</title></entry></feed>");
    const std::string site = QUILLMARK_SOURCE_DIR "/site/headlines.html";
    const CliRun run
        = RunCli(cli::runPage, {"--per-topic", "4", "--base", site, "BUSINESS=" + dir.file("a.xml").string(),
                                "business=" + dir.file("b.xml").string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Parse(run.out, "Business"), "A new\nB middle\nA old\nA undated\n");
    const std::string shipped = readFileBytes(site);
    for (std::size_t i = 1; i < kTopics.size(); ++i)
        EXPECT_EQ(Parse(run.out, TopicKey(kTopics[i])), Parse(shipped, TopicKey(kTopics[i]))) << kTopics[i];
}

TEST(PageCommand, BadAndHostileFeedsAreNamedAndTheOthersStillMakeThePage)
{
    TempDir dir;
    std::string huge = "<rss><channel>";
    while (huge.size() <= cli::kMaxFeedBytes)
        huge += "<item><title>Padding</title><description>" + std::string(4000, 'x') + "</description></item>\n";
    std::string bomb = "<?xml version=\"1.0\"?><!DOCTYPE rss [<!ENTITY l0 \"lol\">";
    for (int i = 1; i < 10; ++i) {
        bomb += "<!ENTITY l" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k)
            bomb += "&l" + std::to_string(i - 1) + ";";
        bomb += "\">";
    }
    bomb += "]><rss><channel><item><title>&l9;</title></item></channel></rss>";
    struct Row {
        const char* file;
        std::string content; // none: the file is not written
        const char* reason;
    };
    const std::vector<Row> rows = {
        {"missing.xml", "", "No such file or directory"},
        {"folder.xml", "", "Is a directory"},
        {"empty.xml", "", "the file is empty"},
        {"text.xml", "Just some text\n", "not well-formed XML"},
        {"truncated.xml", "<rss><channel><item><title>Cut off", "truncated"},
        {"html.xml", "<html><body><ul><li><a>x</a></li></ul></body></html>", "not an RSS or Atom feed"},
        {"huge.xml", huge, "larger than 64 MiB"},
        {"bomb.xml", bomb, "entity"},
    };
    std::filesystem::create_directory(dir.file("folder.xml"));
    writeFileBytes(dir.file("good.xml"), "<rss><channel><item><title>Good</title></item></channel></rss>");
    for (const Row& row : rows) {
        const std::string path = dir.file(row.file).string();
        if (!row.content.empty() || std::string_view(row.file) == "empty.xml")
            writeFileBytes(path, row.content);
        const CliRun run = RunCli(cli::runPage, {"Misc=" + path, "Personal=" + dir.file("good.xml").string()});
        EXPECT_EQ(run.status, 1) << row.file;
        EXPECT_EQ(Lines(run.err).size(), 1U) << run.err;
        EXPECT_NE(run.err.find(path), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(row.reason), std::string::npos) << run.err;
        EXPECT_EQ(Parse(run.out, "Personal"), "Good\n") << row.file;
        EXPECT_EQ(Parse(run.out, "Misc"), "") << row.file;
    }
}

TEST(PageCommand, NoExternalEntityOrDtdIsLoaded)
{
    TempDir dir;
    writeFileBytes(dir.file("xxe.xml"),
                   "<?xml version=\"1.0\"?><!DOCTYPE rss [<!ENTITY xxe SYSTEM \"file:///etc/passwd\">]>"
                   "<rss><channel><item><title>Leak: &xxe; end</title></item></channel></rss>");
    writeFileBytes(dir.file("dtd.xml"), "<?xml version=\"1.0\"?><!DOCTYPE rss SYSTEM \"file:///etc/passwd\">"
                                        "<rss><channel><item><title>Plain</title></item></channel></rss>");
    const CliRun run
        = RunCli(cli::runPage, {"Misc=" + dir.file("xxe.xml").string(), "misc=" + dir.file("dtd.xml").string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Parse(run.out, "Misc"), "Leak: end\nPlain\n");
    EXPECT_EQ(run.out.find("root:"), std::string::npos);
}

TEST(PageCommand, ExitStatusAndWhereThePageGoes)
{
    TempDir dir;
    const std::string feed = "<rss><channel><item><title>From stdin</title></item></channel></rss>";
    struct Row {
        std::vector<std::string_view> args;
        int status;
        bool pageOnStdout;
    };
    const std::string output = dir.file("page.html").string();
    const std::string blocked = dir.file("page.html/under-a-file").string();
    const std::string missing = dir.file("none.html").string();
    const std::vector<Row> rows = {
        {{"Misc=-"}, 0, true},
        {{"--output", output, "Misc=-"}, 0, false},
        {{"--output", blocked, "Misc=-"}, 1, false},
        {{"--help"}, 0, true},
        {{}, 2, false},
        {{"--per-topic", "0", "Misc=-"}, 2, false},
        {{"--per-topic", "x", "Misc=-"}, 2, false},
        {{"Sports=-"}, 2, false},
        {{"Misc"}, 2, false},
        {{"--base"}, 2, false},
        {{"--base", missing, "Misc=-"}, 1, false},
    };
    for (const Row& row : rows) {
        const CliRun run = RunCli(cli::runPage, row.args, feed);
        EXPECT_EQ(run.status, row.status) << run.err;
        EXPECT_EQ(!run.out.empty(), row.pageOnStdout) << run.err;
        EXPECT_EQ(run.err.empty(), row.status == 0) << run.err;
    }
    EXPECT_EQ(Parse(readFileBytes(output), "Misc"), "From stdin\n");
}

} // namespace
} // namespace qm
