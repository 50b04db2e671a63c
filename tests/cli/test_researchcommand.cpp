// quillmark-cli research: the window's research run without a window, and the shipped source page
// through it, topic by topic.
#include "research/researchrun.h"
#include "research/topics.h"
#include "tests/cli/clirun.h"
#include "tests/support/loopbackserver.h"
#include "tests/support/sourcepage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>

namespace qm {
namespace {

using namespace qm::test;

CliRun RunResearch(const std::vector<std::string_view>& args) { return RunCli(cli::runResearch, args); }

TEST(ResearchCommand, PrintsTheTopicsSuggestionsFromTheUrl)
{
    const std::string page = SourcePage({{"Business", {"Not this"}}, {"Misc", {"Tips &amp; Tricks", "Back\\slash"}}});
    auto server = LoopbackServer::ServingPage(page);
    const std::string url = server->url();
    const CliRun run = RunResearch({"Misc", "--url", url});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Tips Tricks\nBack\\\\slash\n");
    EXPECT_EQ(run.err, "");
}

TEST(ResearchCommand, NamesAFailedDownloadAndStillPrintsWhatArrived)
{
    const std::string page = SourcePage({{"Education", {"First lesson", "Second lesson"}}});
    const std::string part = page.substr(0, page.find("</ul>") + 5);
    LoopbackServer server({{ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Length: 99999\r\n\r\n" + part), Close()}});
    const std::string url = server.url();
    const CliRun broken = RunResearch({"--url", url, "Education"});
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(broken.out, "First lesson\nSecond lesson\n");
    EXPECT_EQ(broken.err, "EIdConnClosedGracefully: Connection Closed Gracefully. (the server at 127.0.0.1 port "
                              + std::to_string(server.port())
                              + " closed the connection before the page was complete)"
                                " while fetching "
                              + url + "\n");

    const std::string refusedUrl = RefusingUrl();
    const CliRun refused = RunResearch({"Education", "--url", refusedUrl});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err.substr(0, refused.err.find(" (")),
              "EIdSocketError: Socket Error # 10061 Connection refused.");
    EXPECT_NE(refused.err.find(") while fetching " + refusedUrl + "\n"), std::string::npos) << refused.err;
}

TEST(ResearchCommand, WantsOneKeyAndAUrlAfterUrl)
{
    for (const std::vector<std::string_view>& args :
         std::vector<std::vector<std::string_view>>{{},
                                                    {"Misc", "Business"},
                                                    {"Misc", "--url"},
                                                    {"--url", "http://127.0.0.1:1/"}}) {
        const CliRun run = RunResearch(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err,
                  "usage: quillmark-cli research KEY [--url URL] [--format text|md|csv|json] [--dedupe] [--lengths]\n");
    }
}

TEST(ResearchCommand, ListsInTheChosenFormatWithoutTicks)
{
    auto server = LoopbackServer::ServingPage(SourcePage({{"Misc", {"Tips, tricks", "TIPS, Tricks", "Back\\slash"}}}));
    const std::string url = server->url();
    struct Case {
        std::vector<std::string_view> options;
        std::string out;
    };
    for (const Case& c : std::vector<Case>{
             {{"--format", "md"}, "- Tips, tricks\n- TIPS, Tricks\n- Back\\\\slash\n"},
             {{"--dedupe", "--format", "csv"}, "checked,caption\r\n0,\"Tips, tricks\"\r\n0,Back\\slash\r\n"},
             {{"--lengths", "--dedupe"}, "12\t2\tTips, tricks\n10\t1\tBack\\\\slash\n"},
         }) {
        std::vector<std::string_view> args{"Misc", "--url", url};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CliRun run = RunResearch(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, c.out);
    }
    // Ticks belong to headline files.
    EXPECT_EQ(RunResearch({"Misc", "--url", url, "--ticked"}).status, 2);
}

// --- The shipped page -------------------------------------------------------------------------

std::string ShippedPage()
{
    std::ifstream in(QUILLMARK_SOURCE_DIR "/site/headlines.html", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The link texts of a key's section as a reader of the page sees them, read here with a pattern of
// our own rather than the program's parser; the section's last line links back to the topics.
std::vector<std::string> HeadlinesOnThePage(const std::string& page, const std::string& key)
{
    const std::size_t anchor = page.find("<a name=\"" + key + "\">");
    const std::size_t end = page.find("</ul>", anchor);
    if (anchor == std::string::npos || end == std::string::npos)
        return {};
    const std::string section = page.substr(anchor, end - anchor);
    static const std::regex link(R"(<li><a href="[^"]*">([^<]*)</a></li>)");
    std::vector<std::string> texts;
    for (auto it = std::sregex_iterator(section.begin(), section.end(), link); it != std::sregex_iterator(); ++it)
        texts.push_back((*it)[1]);
    if (!texts.empty())
        texts.pop_back();
    return texts;
}

TEST(ShippedSourcePage, EveryTopicGivesAtLeast120HeadlinesAndTheFilterDropsNone)
{
    const std::string page = ShippedPage();
    ASSERT_FALSE(page.empty());
    auto server = LoopbackServer::ServingPage(page);
    const std::string url = server->url("/headlines.html");
    std::set<std::string> seen;
    for (const std::string_view topic : kTopics) {
        const std::string key = TopicKey(topic);
        SCOPED_TRACE(key);
        const std::vector<std::string> onThePage = HeadlinesOnThePage(page, key);
        const CliRun run = RunResearch({key, "--url", url});
        ASSERT_EQ(run.status, 0) << run.err;
        // Every headline on the page is listed: none holds a fragment the filter blocks.
        EXPECT_EQ(Lines(run.out), onThePage);
        EXPECT_GE(onThePage.size(), 120u);
        for (const std::string& headline : onThePage)
            EXPECT_TRUE(seen.insert(headline).second) << "listed twice: " << headline;
    }
}

} // namespace
} // namespace qm
