// quillmark-cli check: what the walk makes of each entry, told to a page's publisher, and the proof
// that the shipped source page loses no headline to the filter or to the page format.
#include "research/topics.h"
#include "tests/cli/clirun.h"
#include "tests/support/loopbackserver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

namespace qm {
namespace {

using namespace qm::test;

TEST(CheckCommand, NamesWhatEachEntryGivesOrWhyItGivesNothing)
{
    struct Row {
        const char* entry; // one line of the section
        const char* told;
    };
    const std::vector<Row> rows = {
        {"<li><a href=\"1\">Plain</a></li>", "listed: Plain"},
        {"<li><a href=\"2\">Diet Tips</a></li>", "blocked by \"die\": Diet Tips"},
        {"<li><a href=\"3\"></a></li>", "lost: empty caption"},
        {"<li><a href=\"4\"><b>Bold</b></a></li>", "lost: markup inside the link text, nothing after it"},
        {"<li><a href=\"5\">Big <b>bold</b> news</a></li>", "listed, cut by markup inside the link text:  news"},
        {"<li>Plain text</li>", "lost: no \"</a>\" in the entry"},
        {"<li><a href=\"6\">Skipped</a></li>",
         "lost: passed over: an earlier entry without \"</a>\" sent the walk past it"},
        {"<li><a href=\"7\">Touching</a><li><a href=\"8\">Next</a></li>",
         "lost: \"</a>\" directly followed by the next \"<li>\""},
        {"<li><a href=\"#top\">Back to the topics</a></li>", "lost: last entry of the section (never listed)"},
    };
    std::string page = "<html>\r\n<a name=\"Misc\"></a>\r\n<ul>\r\n";
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        page += std::string(rows[i].entry) + "\r\n";
        expected.push_back("line " + std::to_string(i + 4) + ": " + rows[i].told);
    }
    expected.insert(expected.end() - 1, "line 11: listed: Next"); // the entry behind the touching "</a>"
    expected.push_back("entries 10, listed 3, blocked 1, lost 6");
    const CliRun run = RunCli(cli::runCheck, {"Misc"}, page + "</ul>\r\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Lines(run.out), expected);
    EXPECT_EQ(run.err, "");
}

TEST(CheckCommand, MissingAnchorSectionEndOrPageFails)
{
    struct Row {
        const char* page;
        const char* out;
        const char* err;
    };
    const std::vector<Row> rows = {
        // Without its anchor the parser takes the section from the start of the page: told, then failed.
        {"<ul><li><a>Other topic</a>\n<li></ul>",
         "line 1: listed: Other topic\nline 2: lost: last entry of the section (never listed)\nentries 2, listed 1, "
         "blocked 0, lost 1\n",
         "check: no anchor <a name=Misc or <a name=\"Misc in the page; the section runs from the start of the page\n"},
        {"<a name=\"misc\"><ul><li><a>Headline</a>\n<li>", "entries 0, listed 0, blocked 0, lost 0\n",
         "check: no \"</ul>\" ends the section; it is empty\n"},
    };
    for (const Row& row : rows) {
        const CliRun run = RunCli(cli::runCheck, {"Misc"}, row.page);
        EXPECT_EQ(run.status, 1) << row.page;
        EXPECT_EQ(run.out, row.out) << row.page;
        EXPECT_EQ(run.err, row.err) << row.page;
    }
    // A failed download is the one complaint, not the empty page it leaves.
    const CliRun refused = RunCli(cli::runCheck, {"Misc", "--url", RefusingUrl()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err.rfind("EIdSocketError: ", 0), 0u) << refused.err;
    EXPECT_EQ(Lines(refused.err).size(), 1u) << refused.err;
    for (const std::vector<std::string_view>& args :
         {std::vector<std::string_view>{}, {"Misc", "--url"}, {"Misc", "Other"}})
        EXPECT_EQ(RunCli(cli::runCheck, args).status, 2);
}

std::string ShippedPage()
{
    std::ifstream in(QUILLMARK_SOURCE_DIR "/site/headlines.html", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(ShippedSourcePage, EveryTopicListsEveryHeadlineExceptTheLinkBackToTheTopics)
{
    const std::string page = ShippedPage();
    const std::vector<std::string> pageLines = Lines(page);
    ASSERT_FALSE(page.empty());
    auto server = LoopbackServer::ServingPage(page);
    for (const std::string_view topic : kTopics) {
        const std::string key = TopicKey(topic);
        SCOPED_TRACE(key);
        const CliRun run = RunCli(cli::runCheck, {key}, page);
        ASSERT_EQ(run.status, 0) << run.err;
        // Downloaded, trimmed and through the text box, the page is walked alike.
        EXPECT_EQ(RunCli(cli::runCheck, {key, "--url", server->url()}).out, run.out);

        std::vector<std::string> told = Lines(run.out);
        ASSERT_GE(told.size(), 2u);
        const std::string summary = told.back();
        told.pop_back();
        // The last entry is the link back to the topics, the one entry the page gives up.
        const std::string last = told.back();
        told.pop_back();
        EXPECT_NE(last.find(": lost: last entry of the section"), std::string::npos) << last;
        const std::size_t lineNumber = std::stoul(last.substr(5));
        ASSERT_LE(lineNumber, pageLines.size());
        EXPECT_NE(pageLines[lineNumber - 1].find("href=\"#top\""), std::string::npos);

        EXPECT_GE(told.size(), 120u);
        EXPECT_EQ(summary, "entries " + std::to_string(told.size() + 1) + ", listed " + std::to_string(told.size())
                               + ", blocked 0, lost 1");
        std::set<std::string> seen;
        for (const std::string& line : told) {
            const std::size_t at = line.find(": listed: ");
            ASSERT_NE(at, std::string::npos) << line;
            const std::string headline = line.substr(at + 10);
            EXPECT_TRUE(seen.insert(headline).second) << "twice: " << headline;
            std::istringstream words(headline);
            const auto count = std::distance(std::istream_iterator<std::string>(words), {});
            EXPECT_TRUE(count >= 6 && count <= 14) << headline;
        }
    }
    for (const char c : page)
        ASSERT_TRUE(c == '\n' || (c >= ' ' && c <= '~')) << "not plain ASCII: " << int(c);
}

} // namespace
} // namespace qm
