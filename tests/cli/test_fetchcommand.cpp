// quillmark-cli fetch: the body on standard output byte for byte, the failure named on standard error.
#include "tests/cli/clirun.h"
#include "tests/support/loopbackserver.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>

namespace qm {
namespace {

using namespace qm::test;

CliRun RunFetch(const std::vector<std::string_view>& args) { return RunCli(cli::runFetch, args); }

TEST(FetchCommand, WritesTheBodyExactly)
{
    const std::string body("line\r\nbinary \0\xff bytes\n", 22);
    LoopbackServer server({{ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Length: 22\r\n\r\n" + body)}});
    const std::string url = server.url();
    const CliRun run = RunFetch({url});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, body);
    EXPECT_EQ(run.err, "");
}

// One line each, naming the address tried and what failed in plain words.
TEST(FetchCommand, NamesTheFailureAndStillWritesWhatArrived)
{
    LoopbackServer server(
        {{ReadRequest(), Send("HTTP/1.1 404 Not Found\r\nContent-Length: 7\r\n\r\nmissing")},
         {ReadRequest(), Send("HTTP/1.1 2x0 OK\r\n\r\n")},
         {ReadRequest(), Send(std::string("HTTP/1.1 404 Not\0Here\r\nContent-Length: 1\r\n\r\n-", 45))}});
    const std::string url = server.url();
    const CliRun notFound = RunFetch({url});
    EXPECT_EQ(notFound.status, 1);
    EXPECT_EQ(notFound.out, "missing");
    const std::string where = "127.0.0.1 port " + std::to_string(server.port());
    EXPECT_EQ(notFound.err, "EIdProtocolReplyError: 404 Not Found (the server at " + where
                                + " answered with an error instead of the page) while fetching " + url + "\n");

    const CliRun notANumber = RunFetch({url});
    EXPECT_EQ(notANumber.status, 1);
    EXPECT_EQ(notANumber.err, "EConvertError: '2x0' is not a valid integer value (the server's answer is not "
                              "valid HTTP) while fetching "
                                  + url + "\n");

    // A NUL byte in the message does not cut the line short.
    EXPECT_EQ(RunFetch({url}).err, "EIdProtocolReplyError: 404 Not\\0Here (the server at " + where
                                       + " answered with an error instead of the page) while fetching " + url + "\n");

    const RefusingPort refusing;
    const std::string refusedUrl = "http://127.0.0.1:" + std::to_string(refusing.port()) + "/";
    const CliRun refused = RunFetch({refusedUrl});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "EIdSocketError: Socket Error # 10061 Connection refused. (no server is listening at "
                           "127.0.0.1 port "
                               + std::to_string(refusing.port()) + ") while fetching " + refusedUrl + "\n");

    // A line break in the URL stays inside the one line.
    const CliRun injected = RunFetch({refusedUrl + "\r\nX-Injected: 1"});
    EXPECT_EQ(injected.status, 1);
    EXPECT_EQ(std::count(injected.err.begin(), injected.err.end(), '\n'), 1) << injected.err;
}

TEST(FetchCommand, AnOutputThatTakesNothingIsAFailure)
{
    LoopbackServer server({{ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nbody")}});
    const std::string url = server.url();
    const std::vector<std::string_view> args{url};
    std::istringstream in;
    std::ostringstream full, err;
    full.setstate(std::ios::badbit);
    EXPECT_EQ(cli::runFetch(args, in, full, err), 1);
    EXPECT_EQ(err.str(), "Error: cannot write to standard output while fetching " + url + "\n");
}

TEST(FetchCommand, WantsExactlyOneUrl)
{
    EXPECT_EQ(RunFetch({}).status, 2);
    EXPECT_EQ(RunFetch({"http://a/", "http://b/"}).status, 2);
}

} // namespace
} // namespace qm
