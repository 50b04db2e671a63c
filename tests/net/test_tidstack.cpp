// The socket stack: addresses, the error table and the mapping of native errors onto it, the
// strict integer reader, and the stack's life with the network components.
#include "net/econverterror.h"
#include "net/eidexception.h"
#include "net/tidhttp.h"
#include "net/tidstack.h"
#include "tests/net/raised.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qm {
namespace {

using test::Raised;

// A stack that records the names it is asked to look up instead of asking the resolver.
class RecordingStack final : public TIdStack {
public:
    std::vector<std::string> lookups;

protected:
    std::uint32_t LookupHostName(std::string_view host) override
    {
        lookups.emplace_back(host);
        return ParseDottedQuad("10.1.2.3");
    }
};

TEST(TIdStack, DottedQuads)
{
    const std::pair<const char*, bool> cases[] = {
        {"127.0.0.1", true},   {"0.0.0.0", true},    {"255.255.255.255", true}, {"010.1.1.1", true},
        {"10.0.0.300", false}, {"1.2.3.4.5", false}, {"1.2.3", false},          {"1..3.4", false},
        {"1.2.3.-4", false},   {"1.2.3.+4", false},  {" 1.2.3.4", false},       {"a.b.c.d", false},
        {"", false},           {"LOCALHOST", false},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(TIdStack::IsDottedQuad(text), expected) << text;
    EXPECT_EQ(TIdStack::FormatDottedQuad(TIdStack::ParseDottedQuad("192.168.1.20")), "192.168.1.20");
    const auto e = Raised<EConvertError>([&] { TIdStack::ParseDottedQuad("1.2.x.4"); });
    ASSERT_TRUE(e) << "no conversion error";
    EXPECT_STREQ(e->what(), "'x' is not a valid integer value");
}

TEST(TIdStack, LocalhostAndDottedQuadsNeedNoLookup)
{
    RecordingStack stack;
    EXPECT_EQ(stack.ResolveAddress("LOCALHOST"), "127.0.0.1");
    EXPECT_EQ(stack.ResolveAddress("LocalHost"), "127.0.0.1");
    EXPECT_EQ(stack.ResolveAddress("192.0.2.7"), "192.0.2.7");
    EXPECT_TRUE(stack.lookups.empty());
    // Not dotted quads: looked up by name.
    EXPECT_EQ(stack.ResolveAddress("10.0.0.300"), "10.1.2.3");
    EXPECT_EQ(stack.ResolveAddress("1.2.3.4.5"), "10.1.2.3");
    EXPECT_EQ(stack.lookups, (std::vector<std::string>{"10.0.0.300", "1.2.3.4.5"}));
}

TEST(TIdStack, UnresolvableNameGivesResolverCodeWithEmptyText)
{
    // An empty label is refused by the resolver itself, without asking any name server.
    TIdStack stack;
    const auto e = Raised<EIdSocketError>([&] { stack.ResolveAddress("no..such.host"); });
    ASSERT_TRUE(e) << "resolved";
    EXPECT_TRUE(e->LastError() == 11001 || e->LastError() == 11002) << e->LastError();
    EXPECT_EQ(std::string(e->what()), "Socket Error # " + std::to_string(e->LastError()) + "\r\n");
}

TEST(TIdStack, ErrorTableHasEveryEntry)
{
    const std::pair<int, const char*> table[] = {
        {10004, "Interrupted system call."},
        {10009, "Bad file number."},
        {10013, "Access denied."},
        {10014, "Bad address."},
        {10022, "Invalid argument."},
        {10024, "Too many open files."},
        {10035, "Operation would block. "},
        {10036, "Operation now in progress."},
        {10037, "Operation already in progress."},
        {10038, "Socket operation on non-socket."},
        {10039, "Destination address required."},
        {10040, "Message too long."},
        {10041, "Protocol wrong type for socket."},
        {10042, "Bad protocol option."},
        {10043, "Protocol not supported."},
        {10044, "Socket type not supported."},
        {10045, "Operation not supported on socket."},
        {10046, "Protocol family not supported."},
        {10047, "Address family not supported by protocol family."},
        {10048, "Address already in use."},
        {10049, "Cannot assign requested address."},
        {10050, "Network is down."},
        {10051, "Network is unreachable."},
        {10052, "Net dropped connection or reset."},
        {10053, "Software caused connection abort."},
        {10054, "Connection reset by peer."},
        {10055, "No buffer space available."},
        {10056, "Socket is already connected."},
        {10057, "Socket is not connected."},
        {10058, "Cannot send or receive after socket is closed."},
        {10059, "Too many references, cannot splice."},
        {10060, "Connection timed out."},
        {10061, "Connection refused."},
        {10062, "Too many levels of symbolic links."},
        {10063, "File name too long."},
        {10064, "Host is down."},
        {10065, "No route to host."},
        {10066, "Directory not empty"},
        // Codes outside the table, the resolver's among them, have no text.
        {10000, ""},
        {10067, ""},
        {11001, ""},
        {11002, ""},
        {11004, ""},
        {0, ""},
        {5, ""},
    };
    for (const auto& [code, text] : table) {
        EXPECT_EQ(TIdStack::SocketErrorText(code), text) << code;
        EXPECT_EQ(std::string(EIdSocketError(code).what()), "Socket Error # " + std::to_string(code) + "\r\n" + text);
    }
}

TEST(TIdStack, NativeErrorsMapOntoWindowsSocketsCodes)
{
    const std::pair<int, int> errnos[] = {
        {EINTR, 10004},        {EBADF, 10009},       {EACCES, 10013},       {EINVAL, 10022},     {EMFILE, 10024},
        {EAGAIN, 10035},       {EINPROGRESS, 10036}, {ENOTSOCK, 10038},     {EADDRINUSE, 10048}, {EADDRNOTAVAIL, 10049},
        {ENETDOWN, 10050},     {ENETUNREACH, 10051}, {ECONNABORTED, 10053}, {ECONNRESET, 10054}, {EPIPE, 10054},
        {ENOBUFS, 10055},      {EISCONN, 10056},     {ENOTCONN, 10057},     {ESHUTDOWN, 10058},  {ETIMEDOUT, 10060},
        {ECONNREFUSED, 10061}, {EHOSTDOWN, 10064},   {EHOSTUNREACH, 10065}, {EIO, EIO},
    };
    for (const auto& [native, code] : errnos)
        EXPECT_EQ(TIdStack::CodeFromErrno(native), code) << native;

    const std::pair<int, int> resolver[] = {
        {EAI_NONAME, 11001}, {EAI_AGAIN, 11002},  {EAI_FAIL, 11003},
        {EAI_NODATA, 11004}, {EAI_MEMORY, 10055}, {EAI_FAMILY, 10047},
    };
    for (const auto& [result, code] : resolver)
        EXPECT_EQ(TIdStack::CodeFromResolverError(result, 0), code) << result;
    EXPECT_EQ(TIdStack::CodeFromResolverError(EAI_SYSTEM, ECONNREFUSED), 10061);
}

TEST(StrToInt, AcceptsOnlyAnOptionalMinusAndDigits)
{
    const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
        {"0", 0},
        {"200", 200},
        {"-1", -1},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt},
        {"99999999999", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"+5", std::nullopt},
        {"5 ", std::nullopt},
        {" 5", std::nullopt},
        {"0x1A", std::nullopt},
        {"1a", std::nullopt},
        {"--1", std::nullopt},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(TryStrToInt(text), value) << '"' << text << '"';
    const auto e = Raised<EConvertError>([&] { StrToInt("12 "); });
    ASSERT_TRUE(e) << "no conversion error";
    EXPECT_STREQ(e->what(), "'12 ' is not a valid integer value");
    EXPECT_STREQ(e->ClassName(), "EConvertError");
}

// Counts the stacks made and alive, so that a test sees when one is made and released.
class TrackedStack final : public TIdStack {
public:
    TrackedStack()
    {
        ++made;
        ++alive;
    }
    ~TrackedStack() override { --alive; }
    TrackedStack(const TrackedStack&) = delete;
    TrackedStack& operator=(const TrackedStack&) = delete;
    static inline int made = 0;
    static inline int alive = 0;
};

std::unique_ptr<TIdStack> MakeTrackedStack() { return std::make_unique<TrackedStack>(); }

TEST(TIdComponent, StackLivesFromFirstComponentToLast)
{
    TrackedStack::made = 0;
    {
        const TIdHTTP first(MakeTrackedStack);
        EXPECT_EQ(TrackedStack::alive, 1);
        {
            const TIdHTTP second(MakeTrackedStack); // shares the first one's stack
            EXPECT_EQ(TrackedStack::made, 1);
        }
        EXPECT_EQ(TrackedStack::alive, 1);
    }
    EXPECT_EQ(TrackedStack::alive, 0);
    const TIdHTTP again(MakeTrackedStack);
    EXPECT_EQ(TrackedStack::made, 2);
}

TEST(TIdComponent, StartupFailuresSurfaceWhileTheClientIsCreated)
{
    using Factory = TIdComponent::StackFactory;
    const std::tuple<Factory, const char*, const char*> cases[] = {
        {[]() -> std::unique_ptr<TIdStack> { throw EIdStackCanNotLoadWinsock("libc.so.6"); },
         "EIdStackCanNotLoadWinsock", "libc.so.6 could not be loaded."},
        {[]() -> std::unique_ptr<TIdStack> { throw EIdStackInitializationFailed(); }, "EIdStackInitializationFailed",
         "Winsock Initialization Error."},
    };
    for (const auto& [factory, className, message] : cases) {
        try {
            const TIdHTTP http(factory);
            ADD_FAILURE() << "created";
        } catch (const EIdException& e) {
            EXPECT_STREQ(e.ClassName(), className);
            EXPECT_STREQ(e.what(), message);
        }
        // Nothing was counted: the next client starts a stack of its own.
        TrackedStack::made = 0;
        const TIdHTTP http(MakeTrackedStack);
        EXPECT_EQ(TrackedStack::made, 1);
    }
}

} // namespace
} // namespace qm
