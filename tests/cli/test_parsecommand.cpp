#include "tests/cli/clirun.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace qm::cli {
namespace {

using Outcome = test::CliRun;

Outcome runParseOn(const std::vector<std::string_view>& args, const std::string& page)
{
    return test::RunCli(runParse, args, page);
}

TEST(ParseCommand, PrintsOneEscapedCaptionPerLineInListOrder)
{
    const std::string page = "<a name=\"misc\"><ul>\r\n"
                             "<li><a href=\"1\">Plain</a>\r\n"
                             "<li><a href=\"2\">Back\\slash</a>\r\n"
                             "<li><a href=\"3\">Lone\rCR and\nLF</a>\r\n"
                             "<li><a href=\"4\">Diet tips</a>\r\n" // blocked
                             "<li><a href=\"5\">Bytes \xE9\x01</a>\r\n"
                             "<li></ul>";
    const Outcome outcome = runParseOn({"Misc"}, page);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "Plain\nBack\\\\slash\nLone\\rCR and\\nLF\nBytes \xE9\x01\n");
    EXPECT_EQ(outcome.err, "");
}

TEST(ParseCommand, WithoutExactlyOneKeyShowsUsage)
{
    for (const std::vector<std::string_view>& args :
         {std::vector<std::string_view>{}, std::vector<std::string_view>{"Misc", "extra"}}) {
        const Outcome outcome = runParseOn(args, "");
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err.find("usage"), std::string::npos);
    }
}

} // namespace
} // namespace qm::cli
