// The one reader of every command's arguments, and quillmark-cli's dispatch to its commands.
#include "platform/buildvalues.h"
#include "tests/cli/clirun.h"
#include "tests/support/loopbackserver.h"
#include "tests/support/sourcepage.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>

namespace qm::cli {
namespace {

TEST(CommandLine, SortsOperandsAndOptionsOrEndsTheCommand)
{
    static constexpr std::string_view kChoices[] = {"x", "y", "z"};
    static constexpr Option kOptions[] = {{"--value", true}, {"--pick", true, kChoices}, {"--flag"}};
    const Syntax syntax{"demo A [B] [--value V] [--pick x|y|z] [--flag]", 1, 2, kOptions};
    struct Row {
        std::vector<std::string_view> args;
        std::optional<int> status;
        std::vector<std::string_view> operands;
        std::map<std::string_view, std::string_view> options;
        std::string out, err;
    };
    const std::string usage = "usage: quillmark-cli demo A [B] [--value V] [--pick x|y|z] [--flag]\n";
    const std::vector<Row> rows = {
        {{"a", "--flag", "b"}, std::nullopt, {"a", "b"}, {{"--flag", ""}}, "", ""},
        // The last value counts; an unknown option is an operand, a value may look like an option.
        {{"--value", "1", "a", "--value", "--flag"}, std::nullopt, {"a"}, {{"--value", "--flag"}}, "", ""},
        {{"--other"}, std::nullopt, {"--other"}, {}, "", ""},
        {{"a", "--pick", "y"}, std::nullopt, {"a"}, {{"--pick", "y"}}, "", ""},
        {{}, 2, {}, {}, "", usage},
        {{"a", "b", "c"}, 2, {"a", "b", "c"}, {}, "", usage},
        {{"a", "--value"}, 2, {"a"}, {}, "", usage},
        {{"a", "--pick", "w"}, 2, {"a"}, {}, "", "demo: --pick takes x, y or z\n"},
        {{"a", "--pick"}, 2, {"a"}, {}, "", "demo: --pick takes x, y or z\n"},
        // Asked for, the usage goes to standard output, whatever else the line holds.
        {{"a", "b", "--help", "c"}, 0, {"a", "b"}, {}, usage, ""},
    };
    for (const Row& row : rows) {
        std::ostringstream out, err;
        CommandLine line;
        EXPECT_EQ(line.read(syntax, row.args, out, err), row.status) << row.args.size();
        EXPECT_EQ(line.operands, row.operands) << row.args.size();
        if (!row.status) {
            EXPECT_EQ(line.options, row.options) << row.args.size();
        }
        EXPECT_EQ(out.str(), row.out);
        EXPECT_EQ(err.str(), row.err);
    }
}

TEST(CommandLine, DispatchesToTheNamedCommandOrShowsTheUsage)
{
    const auto runAll = [](const std::vector<std::string_view>& args) { return test::RunCli(run, args); };
    const test::CliRun help = runAll({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: quillmark-cli COMMAND [ARGS]\n", 0), 0u) << help.out;
    for (const std::vector<std::string_view>& wrong :
         {std::vector<std::string_view>{}, {"--help", "extra"}, {"--version", "extra"}, {"frobnicate"}}) {
        const test::CliRun run = runAll(wrong);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, help.out);
    }
    // A command gets the arguments after its name.
    const test::CliRun parse = runAll({"parse", "--help"});
    EXPECT_EQ(parse.status, 0);
    EXPECT_EQ(parse.out, "usage: quillmark-cli parse KEY < page\n");
}

TEST(CommandLine, VersionSaysWhichPageTheBuiltInAddressServes)
{
    const std::string page = test::SourcePage({{"Misc", {"Tips"}}});
    const std::string published = "as published, not refreshed from feeds";
    const std::vector<std::pair<std::string, std::string>> rows = {
        {page + "<!-- quillmark-refresh: built from feeds at 2026-12-09 10:04 UTC -->\n",
         "built from feeds at 2026-12-09 10:04 UTC"},
        {page, published},
        // Only a whole mark of printable text is shown: never a control byte from the server.
        {"<!-- quillmark-refresh: \x1b[2J -->", published},
        {"<!-- quillmark-refresh: built from feeds at", published},
    };
    for (const auto& [served, says] : rows) {
        auto server = test::LoopbackServer::ServingPage(served);
        std::ostringstream version;
        writeVersion(version, server->url("/headlines.html"));
        EXPECT_EQ(version.str(), "quillmark-cli " + std::string(kVersion) + "\nsource page: "
                                     + server->url("/headlines.html") + "\nserved page: " + says + "\n");
    }
    std::string nobody;
    {
        auto server = test::LoopbackServer::ServingPage(page);
        nobody = server->url();
    }
    std::ostringstream version;
    writeVersion(version, nobody);
    EXPECT_EQ(test::Lines(version.str()).back(), "served page: none, the address does not answer now");
}

} // namespace
} // namespace qm::cli
