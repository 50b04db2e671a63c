// The exchange's bounds: time limits on silent and dripping servers, and the size limits of a line,
// the header block and the body. Each ends in its own exception and keeps what arrived.
#include "httptestsupport.h"
#include "tests/support/loopbackserver.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

using namespace qm::test;

const std::string kOk = "HTTP/1.1 200 OK\r\n";

TEST(TIdHTTPLimits, SilentServerRaisesReadTimeout)
{
    LoopbackServer server({{ReadRequest(), Silence()}});
    TIdHTTP http;
    http.SetReadTimeout(150);
    const FetchOutcome outcome = Fetch(http, server.url());
    EXPECT_EQ(outcome.failure, "EIdReadTimeout");
    EXPECT_EQ(outcome.message, "Read timed out.");
    EXPECT_EQ(outcome.sink, "");
    EXPECT_FALSE(http.IsConnected());
}

TEST(TIdHTTPLimits, StalledUntilCloseBodyIsNoSuccess)
{
    LoopbackServer server({{ReadRequest(), Send(kOk + "\r\nfirst part"), Silence()}});
    TIdHTTP http;
    http.SetReadTimeout(150);
    const FetchOutcome outcome = Fetch(http, server.url());
    EXPECT_EQ(outcome.failure, "EIdReadTimeout");
    EXPECT_EQ(outcome.sink, "first part");
}

TEST(TIdHTTPLimits, DrippingServerRaisesExchangeTimeout)
{
    // Every byte comes well within the read limit; the whole exchange still may not last longer.
    Script script{ReadRequest(), Send(kOk + "Content-Length: 1000\r\n\r\n")};
    AddDrip(script, std::string(1000, 'd'), 20ms);
    LoopbackServer server({script});
    TIdHTTP http;
    http.SetReadTimeout(1000);
    http.SetExchangeTimeout(300);
    const FetchOutcome outcome = Fetch(http, server.url());
    EXPECT_EQ(outcome.failure, "EIdExchangeTimeout");
    EXPECT_EQ(outcome.message, "Exchange took too long.");
    EXPECT_GT(outcome.sink.size(), 0u);
    EXPECT_LT(outcome.sink.size(), 1000u);
    EXPECT_EQ(outcome.sink, std::string(outcome.sink.size(), 'd'));
}

TEST(TIdHTTPLimits, OverlongStatusLineRaisesLineTooLong)
{
    LoopbackServer server({{ReadRequest(), Send("HTTP/1.1 200 " + std::string(5000, 'x')), Silence()}});
    TIdHTTP http;
    ShortenLimits(http);
    http.SetMaxLineLength(1024);
    const FetchOutcome outcome = Fetch(http, server.url());
    EXPECT_EQ(outcome.failure, "EIdLineTooLong");
    EXPECT_EQ(outcome.message, "Line longer than 1024 bytes.");
}

TEST(TIdHTTPLimits, EndlessHeaderBlockRaisesHeaderTooLarge)
{
    std::string headers = kOk;
    for (int i = 0; i < 200; ++i)
        headers += "X-Header-" + std::to_string(i) + ": " + std::string(40, 'v') + "\r\n";
    LoopbackServer server({{ReadRequest(), Send(headers), Silence()}});
    TIdHTTP http;
    ShortenLimits(http);
    http.SetMaxHeaderBytes(4096);
    const FetchOutcome outcome = Fetch(http, server.url());
    EXPECT_EQ(outcome.failure, "EIdHeaderTooLarge");
    EXPECT_EQ(outcome.message, "Response header larger than 4096 bytes.");
}

TEST(TIdHTTPLimits, BodyBeyondTheLimitKeepsExactlyTheLimit)
{
    const std::string body(3000, 'b');
    std::string chunked = kOk + "Transfer-Encoding: chunked\r\n\r\n";
    for (int i = 0; i < 3; ++i)
        chunked += "3e8\r\n" + std::string(1000, 'b') + "\r\n";
    chunked += "0\r\n\r\n";
    const std::pair<const char*, std::string> cases[] = {
        {"length", kOk + "Content-Length: 3000\r\n\r\n" + body},
        {"chunked", chunked},
        {"until close", kOk + "\r\n" + body},
    };
    for (const auto& [framing, response] : cases) {
        LoopbackServer server({{ReadRequest(), Send(response), Close()}});
        TIdHTTP http;
        ShortenLimits(http);
        http.SetMaxBodyBytes(1500);
        const FetchOutcome outcome = Fetch(http, server.url());
        EXPECT_EQ(outcome.failure, "EIdBodyTooLarge") << framing;
        EXPECT_EQ(outcome.message, "Response body larger than 1500 bytes.") << framing;
        EXPECT_EQ(outcome.sink, body.substr(0, 1500)) << framing;
    }
}

TEST(TIdHTTPLimits, BodyOfExactlyTheLimitIsFine)
{
    LoopbackServer server({{ReadRequest(), Send(kOk + "\r\n" + std::string(1500, 'b')), Close()}});
    TIdHTTP http;
    ShortenLimits(http);
    http.SetMaxBodyBytes(1500);
    const FetchOutcome outcome = Fetch(http, server.url());
    EXPECT_EQ(outcome.failure, "");
    EXPECT_EQ(outcome.sink.size(), 1500u);
}

TEST(TIdHTTPLimits, HugeAnnouncedLengthReservesNoMoreThanTheLimit)
{
    LoopbackServer server({{ReadRequest(), Send(kOk + "Content-Length: 2000000000\r\n\r\n0123456789"), Close()}});
    TIdHTTP http;
    ShortenLimits(http);
    http.SetMaxBodyBytes(8 << 20);
    TMemoryStream sink;
    const FetchOutcome outcome = Fetch(http, server.url(), sink);
    EXPECT_EQ(outcome.failure, "EIdConnClosedGracefully");
    EXPECT_EQ(outcome.sink, "0123456789");
    EXPECT_LE(sink.Capacity(), std::size_t{8} << 20);
}

} // namespace
} // namespace qm
