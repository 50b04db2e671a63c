// The TCP connection against a scripted peer on 127.0.0.1: connecting, the line reader, the stream
// reader, the time and size limits, and a peer that resets.
#include "net/eidexception.h"
#include "net/tidtcpclient.h"
#include "net/tmemorystream.h"
#include "tests/net/raised.h"
#include "tests/support/loopbackserver.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qm {
namespace {

using namespace qm::test;

// A connected client with short limits, so that a fault shows as an exception, not a hang.
std::unique_ptr<TIdTCPClient> ConnectTo(const LoopbackServer& server)
{
    auto client = std::make_unique<TIdTCPClient>();
    client->SetHost("127.0.0.1");
    client->SetPort(server.port());
    client->SetReadTimeout(2000);
    client->OpenConnection();
    return client;
}

TEST(TIdTCPConnection, LinesComeWholeWhateverTheReceives)
{
    Script script;
    AddSplitSend(script, "first li", {3});
    script.push_back(Pause(30ms));
    // The rest arrives in one piece: three lines, the second and third without a new receive.
    script.push_back(Send("ne\r\nsecond\nthird has a \r inside\r\n"));
    script.push_back(Silence());
    LoopbackServer server({script});
    auto client = ConnectTo(server);
    EXPECT_EQ(client->ReadLine(), "first line");
    EXPECT_EQ(client->ReadLine(), "second");
    EXPECT_EQ(client->ReadLine(), "third has a \r inside");
    EXPECT_FALSE(client->LineTimedOut());
}

TEST(TIdTCPConnection, PeerCloseInsideALineGivesEmptyLineThenRaises)
{
    LoopbackServer server({{Send("whole\npartial"), Close()}});
    auto client = ConnectTo(server);
    EXPECT_EQ(client->ReadLine(), "whole");
    EXPECT_EQ(client->ReadLine(), "");
    EXPECT_TRUE(client->LineTimedOut());
    EXPECT_THROW(client->ReadLine(), EIdConnClosedGracefully);
}

TEST(TIdTCPConnection, PeerCloseWithNothingBufferedRaisesAtOnce)
{
    LoopbackServer server({{Send("line\n"), Close()}});
    auto client = ConnectTo(server);
    EXPECT_EQ(client->ReadLine(), "line");
    const auto e = Raised<EIdConnClosedGracefully>([&] { client->ReadLine(); });
    ASSERT_TRUE(e) << "no exception";
    EXPECT_STREQ(e->what(), "Connection Closed Gracefully.");
    EXPECT_FALSE(client->IsConnected());
}

TEST(TIdTCPConnection, CountedReadRaisesOnEarlyCloseAndKeepsWhatCame)
{
    LoopbackServer server({{Send("123456789"), Close()}, {Send("123456789"), Close()}});
    TMemoryStream stream;
    auto counted = ConnectTo(server);
    EXPECT_THROW(counted->ReadToStream(stream, 10, false), EIdConnClosedGracefully);
    EXPECT_EQ(stream.Bytes(), "123456789");

    TMemoryStream untilClose;
    auto second = ConnectTo(server);
    EXPECT_FALSE(second->ReadToStream(untilClose, 0, true));
    EXPECT_EQ(untilClose.Bytes(), "123456789");
}

TEST(TIdTCPConnection, CountedReadTakesExactlyTheCountAfterTheStreamPosition)
{
    LoopbackServer server({{Send("head\nabcdefgh\n"), Silence()}});
    auto client = ConnectTo(server);
    EXPECT_EQ(client->ReadLine(), "head");
    TMemoryStream stream;
    stream.Write("prefix-old tail", 15);
    stream.SetPosition(7);
    client->ReadToStream(stream, 5, false);
    // The old bytes after the position are gone; the rest of the input waits for the next read.
    EXPECT_EQ(stream.Bytes(), "prefix-abcde");
    EXPECT_EQ(client->ReadLine(), "fgh");
}

TEST(TIdTCPConnection, UntilCloseReadStopsAtItsLimitWhenMoreComes)
{
    LoopbackServer server({{Send("0123456789"), Close()}, {Send("01234"), Close()}});
    TMemoryStream over;
    EXPECT_TRUE(ConnectTo(server)->ReadToStream(over, 0, true, 5));
    EXPECT_EQ(over.Bytes(), "01234");
    // Exactly the limit and then the close is a normal end.
    TMemoryStream exact;
    EXPECT_FALSE(ConnectTo(server)->ReadToStream(exact, 0, true, 5));
    EXPECT_EQ(exact.Bytes(), "01234");
}

TEST(TIdTCPConnection, SilentPeerRaisesReadTimeoutUnlessTheWaitHasItsOwnLimit)
{
    LoopbackServer server({{Send("part"), Silence()}});
    auto client = ConnectTo(server);
    client->SetReadTimeout(100);
    EXPECT_EQ(client->ReadLine(30), "");
    EXPECT_TRUE(client->LineTimedOut());
    const auto e = Raised<EIdReadTimeout>([&] { client->ReadLine(); });
    ASSERT_TRUE(e) << "no exception";
    EXPECT_STREQ(e->what(), "Read timed out.");
    // The stream read does not take the silence for a close either.
    TMemoryStream stream;
    EXPECT_THROW(client->ReadToStream(stream, 0, true), EIdReadTimeout);
    EXPECT_EQ(stream.Bytes(), "part");
}

TEST(TIdTCPConnection, OverlongLineRaisesWithBoundedBuffer)
{
    LoopbackServer server({{Send(std::string(100000, 'x')), Silence()}});
    auto client = ConnectTo(server);
    client->SetMaxLineLength(1000);
    const auto e = Raised<EIdLineTooLong>([&] { client->ReadLine(); });
    ASSERT_TRUE(e) << "no exception";
    EXPECT_STREQ(e->what(), "Line longer than 1000 bytes.");
    EXPECT_LE(client->InputBuffer().Size(), 1000u + kRecvBufferSize);
}

TEST(TIdTCPConnection, RefusedConnectLeavesNoSocketAndMayBeRetried)
{
    const RefusingPort refusing;
    TIdTCPClient client;
    client.SetHost("127.0.0.1");
    client.SetPort(refusing.port());
    const auto e = Raised<EIdSocketError>([&] { client.OpenConnection(); });
    ASSERT_TRUE(e) << "connected";
    EXPECT_EQ(e->LastError(), 10061);
    EXPECT_STREQ(e->what(), "Socket Error # 10061\r\nConnection refused.");
    EXPECT_FALSE(client.Binding().HasSocket());

    LoopbackServer server({{Send("hello\n"), Close()}});
    client.SetPort(server.port());
    client.OpenConnection();
    EXPECT_EQ(client.ReadLine(), "hello");
}

TEST(TIdTCPConnection, PortOutsideTheRangeIsRefusedNotWrapped)
{
    TIdTCPClient client;
    client.SetHost("localhost");
    client.SetPort(65536 + 80);
    const auto e = Raised<EIdSocketError>([&] { client.OpenConnection(); });
    ASSERT_TRUE(e) << "connected";
    EXPECT_EQ(e->LastError(), 10049);
    EXPECT_FALSE(client.Binding().HasSocket());
}

TEST(TIdTCPConnection, OpeningAnOpenConnectionLeavesItAlone)
{
    LoopbackServer server({{Pause(50ms), Send("still here\n"), Close()}});
    auto client = ConnectTo(server);
    const int handle = client->Binding().Handle();
    const auto e = Raised<EIdAlreadyConnected>([&] { client->OpenConnection(); });
    ASSERT_TRUE(e) << "no exception";
    EXPECT_STREQ(e->what(), "Already connected.");
    EXPECT_EQ(client->Binding().Handle(), handle);
    EXPECT_EQ(client->ReadLine(), "still here");
    EXPECT_EQ(server.connectionCount(), 1u);
}

TEST(TIdTCPConnection, PeerResetWhileSendingRaisesAndNeverKillsTheProcess)
{
    // The pause lets the client's connect complete before the reset comes.
    LoopbackServer server({{Pause(100ms), Reset()}});
    auto client = ConnectTo(server);
    ASSERT_TRUE(server.waitUntilDone(0));
    // The first send after the reset fails with it; later ones would raise SIGPIPE if let.
    int failures = 0;
    for (int i = 0; i < 3; ++i) {
        try {
            client->WriteLine("GET / HTTP/1.1");
        } catch (const EIdSocketError& e) {
            EXPECT_EQ(e.LastError(), 10054);
            ++failures;
        }
    }
    EXPECT_GE(failures, 2);
}

TEST(TIdTCPConnection, ConnectThatHangsRaisesConnectTimeout)
{
    // A listener whose accept queue is full drops new connection attempts unanswered.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    const int port = BindLoopback(listener);
    ASSERT_NE(port, 0);
    ASSERT_EQ(::listen(listener, 0), 0);
    // Connections that fill the queue are kept open until the end.
    std::vector<std::unique_ptr<TIdTCPClient>> fillers;
    bool timedOut = false;
    for (int i = 0; i < 8 && !timedOut; ++i) {
        auto client = std::make_unique<TIdTCPClient>();
        client->SetHost("127.0.0.1");
        client->SetPort(port);
        client->SetConnectTimeout(150);
        try {
            client->OpenConnection();
            fillers.push_back(std::move(client));
        } catch (const EIdConnectTimeout& e) {
            EXPECT_STREQ(e.what(), "Connect timed out.");
            EXPECT_FALSE(client->Binding().HasSocket());
            timedOut = true;
        }
    }
    ::close(listener);
    EXPECT_TRUE(timedOut);
}

} // namespace
} // namespace qm
