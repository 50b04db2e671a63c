// The GET exchange against a scripted server on 127.0.0.1: request bytes, status and header lines,
// body framing, error statuses, redirect-like responses and the end of the exchange.
#include "httptestsupport.h"
#include "net/tidstack.h"
#include "tests/support/loopbackserver.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

using namespace qm::test;

const std::string kRequestTail = "Accept: text/html, */*\r\n"
                                 "User-Agent: Mozilla/3.0 (compatible; Quillmark)\r\n"
                                 "\r\n";
const std::string k26 = "abcdefghijklmnopqrstuvwxyz";

struct ResponseCase {
    const char* name;
    std::string response;
    bool closeAfter; // else the server stays silent: a read that waits for its close times out
    const char* failure;
    std::string message;
    std::string sink;
    int code;
};

void PrintTo(const ResponseCase& c, std::ostream* os) { *os << c.name; }

class ResponseTest : public testing::TestWithParam<ResponseCase> {};

TEST_P(ResponseTest, SinkAndOutcome)
{
    const ResponseCase& c = GetParam();
    Script script{ReadRequest(), Send(c.response)};
    script.push_back(c.closeAfter ? Close() : Silence());
    LoopbackServer server({script});
    TIdHTTP http;
    ShortenLimits(http);
    const FetchOutcome outcome = Fetch(http, server.url());
    EXPECT_EQ(outcome.failure, c.failure);
    EXPECT_EQ(outcome.message, c.message);
    EXPECT_EQ(outcome.sink, c.sink);
    if (c.code != 0) {
        EXPECT_EQ(http.ResponseCode(), c.code);
    }
}

// Every row names the behaviour it pins down.
INSTANTIATE_TEST_SUITE_P(
    Responses, ResponseTest,
    testing::Values(
        ResponseCase{"StatusLineWithoutReason_GivesCode", "HTTP/1.1 200\r\nContent-Length: 2\r\n\r\nok", false, "", "",
                     "ok", 200},
        ResponseCase{"LfOnlyLines_ReadLikeCrLf", "HTTP/1.1 200 OK\nContent-Length: 2\n\nok", false, "", "", "ok", 200},
        ResponseCase{"ContentLengthShorterThanBody_TakesExactlyIt",
                     "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n0123456789", false, "", "", "01234", 200},
        ResponseCase{"ContentLengthLongerThanBody_RaisesWithWhatCame",
                     "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n01234", true, "EIdConnClosedGracefully",
                     "Connection Closed Gracefully.", "01234", 200},
        ResponseCase{"ContentLengthWithTrailingBlank_IsNoLength",
                     "HTTP/1.1 200 OK\r\nContent-Length: 5 \r\n\r\n0123456789", true, "", "", "0123456789", 200},
        ResponseCase{"ContentLengthBeyond32Bits_IsNoLength",
                     "HTTP/1.1 200 OK\r\nContent-Length: 99999999999\r\n\r\n0123456789", true, "", "", "0123456789",
                     200},
        ResponseCase{"ContentLengthZero_EmptyBodyWithoutWaiting", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", false,
                     "", "", "", 200},
        ResponseCase{"NegativeContentLength_IsMalformed", "HTTP/1.1 200 OK\r\nContent-Length: -5\r\n\r\n01234", false,
                     "EIdMalformedResponse", "Malformed response: negative Content-Length.", "", 200},
        ResponseCase{"NoFraming_ReadsUntilClose", "HTTP/1.1 200 OK\r\n\r\nuntil\r\nclose", true, "", "",
                     "until\r\nclose", 200},
        ResponseCase{"Chunked_GivesTheChunksData",
                     "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1a\r\n" + k26 + "\r\n0\r\n\r\n", false, "",
                     "", k26, 200},
        ResponseCase{"ChunkExtension_IsIgnored",
                     "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1a;x=y\r\n" + k26 + "\r\n0\r\n\r\n", false,
                     "", "", k26, 200},
        ResponseCase{"ChunkedWithCapitalC_IsRecognised",
                     "HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n1A \r\n" + k26 + "\r\n0\r\n\r\n", false, "",
                     "", k26, 200},
        ResponseCase{
            "ChunksAndTrailer_AllConsumed",
            "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n2\r\nde\r\n0\r\nX-Trailer: 1\r\n\r\n",
            false, "", "", "abcde", 200},
        ResponseCase{"ChunkSizeNotHexadecimal_IsMalformed",
                     "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\nzz\r\nmore\r\n0\r\n\r\n", false,
                     "EIdMalformedResponse", "Malformed response: chunk size is not hexadecimal.", "abc", 200},
        ResponseCase{"ChunkSizeTooLarge_IsMalformedNotWrapped",
                     "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n100000003\r\nabc\r\n0\r\n\r\n", false,
                     "EIdMalformedResponse", "Malformed response: chunk size too large.", "", 200},
        ResponseCase{"CloseInsideChunk_RaisesWithWhatCame",
                     "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1a\r\nabc", true, "EIdConnClosedGracefully",
                     "Connection Closed Gracefully.", "abc", 200},
        ResponseCase{"NotFound_BodyInSinkWithReplyCode", "HTTP/1.1 404 Not Found\r\nContent-Length: 7\r\n\r\nmissing",
                     false, "EIdProtocolReplyError", "404 Not Found", "missing", 404},
        ResponseCase{"NotModified_EmptySinkWithoutWaiting", "HTTP/1.1 304 Not Modified\r\n\r\n", false,
                     "EIdProtocolReplyError", "304 Not Modified", "", 304},
        ResponseCase{"NoContent_EmptySinkWithoutWaiting", "HTTP/1.1 204 No Content\r\n\r\n", false, "", "", "", 204},
        ResponseCase{"OkWithLocation_IsRedirectLike",
                     "HTTP/1.1 200 OK\r\nLocation: /elsewhere.html\r\nContent-Length: 4\r\n\r\nbody", false,
                     "EIdProtocolReplyError", "200 OK", "body", 200},
        ResponseCase{"Found_NotFollowed",
                     "HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1:1/x.html\r\nContent-Length: 5\r\n\r\nmoved",
                     false, "EIdProtocolReplyError", "302 Found", "moved", 302},
        ResponseCase{"StatusCodeNotANumber_IsConversionError", "HTTP/1.1 abc OK\r\n\r\n", false, "EConvertError",
                     "'abc' is not a valid integer value", "", 0},
        ResponseCase{"CloseBeforeStatusLine_ClosedGracefully", "", true, "EIdConnClosedGracefully",
                     "Connection Closed Gracefully.", "", 0},
        ResponseCase{"CloseInsideStatusLine_EmptyCode", "HTTP/1.1 20", true, "EConvertError",
                     "'' is not a valid integer value", "", 0},
        ResponseCase{"CloseInsideHeaderLine_ClosedGracefully", "HTTP/1.1 200 OK\r\nContent-Ty", true,
                     "EIdConnClosedGracefully", "Connection Closed Gracefully.", "", 200},
        ResponseCase{"MalformedContentRange_ConversionErrorBeforeBody",
                     "HTTP/1.1 206 Partial\r\nContent-Range: bytes x-5/10\r\nContent-Length: 2\r\n\r\nok", false,
                     "EConvertError", "'x' is not a valid integer value", "", 206}),
    [](const auto& info) { return std::string(info.param.name); });

// Counts the sends of the request.
class CountingStack final : public TIdStack {
public:
    static inline int sends = 0;
    ssize_t Send(int socket, const char* data, std::size_t size) override
    {
        ++sends;
        return TIdStack::Send(socket, data, size);
    }
};

TEST(TIdHTTP, RequestIsExactlyFiveLinesEachSentAlone)
{
    CountingStack::sends = 0;
    LoopbackServer server({{ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok")}});
    {
        TIdHTTP http([] { return std::make_unique<CountingStack>(); });
        ShortenLimits(http);
        http.SetPort(80); // what the research run sets; the URL's port wins
        EXPECT_EQ(Fetch(http, server.url("/dir/page.html#section")).sink, "ok");
        EXPECT_EQ(http.Port(), server.port());
        EXPECT_EQ(http.HostHeader(), "127.0.0.1");
    }
    EXPECT_EQ(server.received(), "GET /dir/page.html HTTP/1.1\r\nHost: 127.0.0.1\r\n" + kRequestTail);
    EXPECT_EQ(CountingStack::sends, 5);
}

TEST(TIdHTTP, PageServerAnswersEveryRequestOfEveryClient)
{
    const auto server = LoopbackServer::ServingPage("<html>page</html>");
    TIdHTTP first;
    ShortenLimits(first);
    EXPECT_EQ(Fetch(first, server->url()).sink, "<html>page</html>");
    EXPECT_EQ(Fetch(first, server->url("/again.html")).sink, "<html>page</html>");
    TIdHTTP second;
    ShortenLimits(second);
    EXPECT_EQ(Fetch(second, server->url()).sink, "<html>page</html>");
    EXPECT_EQ(server->connectionCount(), 2u);
}

TEST(TIdHTTP, UrlWithNothingAfterTheHostAsksForRoot)
{
    LoopbackServer server({{ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n")}});
    TIdHTTP http;
    ShortenLimits(http);
    Fetch(http, server.url(""));
    EXPECT_EQ(server.received(), "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n" + kRequestTail);
}

TEST(TIdHTTP, BodyIsWrittenFromTheSinksPosition)
{
    LoopbackServer server({{ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nnew")}});
    TIdHTTP http;
    ShortenLimits(http);
    TMemoryStream sink;
    sink.Write("kept|old bytes", 14);
    sink.SetPosition(5);
    EXPECT_EQ(Fetch(http, server.url(), sink).failure, "");
    EXPECT_EQ(sink.Bytes(), "kept|new");
}

TEST(TIdHTTP, HeaderFieldsAndContinuationLines)
{
    LoopbackServer server({{ReadRequest(),
                            Send("HTTP/1.1 200 OK\r\nServer: test\r\nX-Folded: one\r\n \t two\r\n"
                                 "Content-Range: bytes 10-19/100\r\nContent-Type: text/html\r\n"
                                 "Date: Sun, 06 Nov 1994 08:49:37 GMT\r\nContent-Length: 2\r\n\r\nok"),
                            Silence()}});
    TIdHTTP http;
    ShortenLimits(http);
    EXPECT_EQ(Fetch(http, server.url()).failure, "");
    const TIdHeaderInfo& response = http.Response();
    EXPECT_EQ(response.Server, "test");
    EXPECT_EQ(response.ContentType, "text/html");
    EXPECT_EQ(response.ContentLength, 2);
    EXPECT_EQ(response.ContentRangeStart, 10);
    EXPECT_EQ(response.ContentRangeEnd, 19);
    EXPECT_EQ(response.ExtraHeaders.FindName("Date"), -1);
    EXPECT_EQ(response.ExtraHeaders.ValueOf("X-Folded"), "one two");
    EXPECT_EQ(response.ExtraHeaders.FindName("Server"), -1);
}

TEST(TIdHTTP, KeptConnectionServesTheNextExchange)
{
    const std::string ok = "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n";
    LoopbackServer server({{ReadRequest(), Send(ok + "one"), ReadRequest(), Send(ok + "two")}});
    TIdHTTP http;
    ShortenLimits(http);
    EXPECT_EQ(Fetch(http, server.url("/a.html")).sink, "one");
    EXPECT_TRUE(http.IsConnected());
    EXPECT_EQ(Fetch(http, server.url("/b.html")).sink, "two");
    EXPECT_EQ(server.connectionCount(), 1u);
    EXPECT_EQ(server.received(), "GET /a.html HTTP/1.1\r\nHost: 127.0.0.1\r\n" + kRequestTail
                                     + "GET /b.html HTTP/1.1\r\nHost: 127.0.0.1\r\n" + kRequestTail);
}

TEST(TIdHTTP, ConnectionClosedByTheServerMeanwhileIsReplaced)
{
    const std::string ok = "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n";
    LoopbackServer server(
        {{ReadRequest(), Send(ok + "one"), Pause(100ms), Close()}, {ReadRequest(), Send(ok + "two")}});
    TIdHTTP http;
    ShortenLimits(http);
    EXPECT_EQ(Fetch(http, server.url()).sink, "one");
    ASSERT_TRUE(server.waitUntilDone(0));
    EXPECT_EQ(Fetch(http, server.url()).sink, "two");
    EXPECT_EQ(server.connectionCount(), 2u);
}

TEST(TIdHTTP, ServerEndingTheConnectionClosesIt)
{
    const std::pair<const char*, bool> cases[] = {
        {"HTTP/1.1 200 OK\r\nConnection:  Close \r\nContent-Length: 2\r\n\r\nok", false},
        {"HTTP/1.1 200 OK\r\nConnection: keep-alive\r\nContent-Length: 2\r\n\r\nok", true},
        {"HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok", false},
        {"http/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok", false},
        // An error status read to its end follows the same rule.
        {"HTTP/1.1 404 Not Found\r\nConnection: close\r\nContent-Length: 2\r\n\r\nno", false},
    };
    for (const auto& [response, stays] : cases) {
        LoopbackServer server({{ReadRequest(), Send(response), Silence()}});
        TIdHTTP http;
        ShortenLimits(http);
        Fetch(http, server.url());
        EXPECT_EQ(http.IsConnected(), stays) << response;
    }
}

TEST(TIdHTTP, UnreachableTargetsLeaveTheSinkEmpty)
{
    struct Case {
        std::string url;
        const char* failure;
        std::string message; // a prefix of the message
    };
    const RefusingPort refusing;
    const Case cases[] = {
        {"http://127.0.0.1:" + std::to_string(refusing.port()) + "/page.html", "EIdSocketError",
         "Socket Error # 10061\r\nConnection refused."},
        // Refused by the resolver itself (an empty label): no name server is asked.
        {"http://no..such.host/page.html", "EIdSocketError", "Socket Error # 1100"},
        {"https://127.0.0.1/page.html", "EIdInterceptPropInvalid", "Intercept value is not valid"},
        // Refused before connecting, else the refusing port would answer: a CR LF would inject header
        // lines, and another protocol must not be spoken to as http.
        {RefusingUrl("/page.html\r\nX-Injected: 1"), "EIdInvalidURL", "Invalid URL: it holds the control byte 0x0D."},
        {RefusingUrl("/page.html\nX: 1"), "EIdInvalidURL", "Invalid URL: it holds the control byte 0x0A."},
        {RefusingUrl(std::string("/page\0.html", 11)), "EIdInvalidURL", "Invalid URL: it holds the control byte 0x00."},
        {RefusingUrl("/#\x7f"), "EIdInvalidURL", "Invalid URL: it holds the control byte 0x7F."},
        {"ftp://127.0.0.1:" + std::to_string(refusing.port()) + "/page.html", "EIdInvalidURL",
         "Invalid URL: the protocol \"ftp\" is not http."},
    };
    for (const Case& c : cases) {
        TIdHTTP http;
        ShortenLimits(http);
        const FetchOutcome outcome = Fetch(http, c.url);
        EXPECT_EQ(outcome.failure, c.failure) << c.url;
        EXPECT_EQ(outcome.message.substr(0, c.message.size()), c.message) << c.url;
        EXPECT_EQ(outcome.sink, "");
        EXPECT_FALSE(http.IsConnected());
    }
}

} // namespace
} // namespace qm
