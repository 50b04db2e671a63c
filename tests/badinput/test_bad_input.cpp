// Every reader of untrusted bytes fed what a damaged file, a broken server or a random page may hold:
// nothing, one byte, random bytes, a valid input cut short or sprinkled with random bytes, and 64 MiB
// of one byte. None may crash, make the client wait for bytes that never come, or hold more heap
// than twice its input plus a fixed bound of its own. This binary links the allocation meter, which
// takes over the process's allocator.
#include "headlines/headlinefile.h"
#include "headlines/suggestionlist.h"
#include "net/econverterror.h"
#include "net/eidexception.h"
#include "net/tidhttp.h"
#include "net/tmemorystream.h"
#include "platform/atomicfile.h"
#include "platform/jpegimage.h"
#include "platform/registrystore.h"
#include "research/sourcepageparser.h"
#include "research/topics.h"
#include "tests/support/allocationmeter.h"
#include "tests/support/hostileinputs.h"
#include "tests/support/loopbackserver.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#if __has_include(<valgrind/valgrind.h>)
#include <valgrind/valgrind.h>
#define QM_UNDER_VALGRIND() (RUNNING_ON_VALGRIND != 0)
#else
#define QM_UNDER_VALGRIND() false
#endif

namespace qm {
namespace {

using namespace qm::test;

constexpr std::size_t kMiB = 1024 * 1024;

struct Outcome {
    std::size_t items = 0;     // what the reader made of the input: items, values, pictures, bodies
    std::size_t unmetered = 0; // memory it holds outside the heap
    std::string failure;       // the client's exception class, for the HTTP reader
};

// One reader. prepare() sets up what read() needs for the bytes (a file, a server) outside the
// measurement; read() is what is measured.
class Reader {
public:
    virtual ~Reader() = default;
    virtual void prepare(const std::string& bytes) = 0;
    virtual Outcome read() = 0;
};

// A valid page whose first 512 bytes hold a whole section, so that cuts fall inside its entries.
std::string ValidPage()
{
    std::string page = "<html><body><a name=\"" + TopicKey(kTopics[0]) + "\"></a><ul>\r\n";
    for (const char* caption : {"Seven Ways to a Better Opening Line", "What Every Beginner Should Know",
                                "Ten Mistakes &amp; How to Avoid Them", "The   Quiet   Power of Lists"})
        page += "<li><a href=\"/h?id=1\">" + std::string(caption) + "</a>\r\n";
    return page + "<li></ul></body></html>\r\n";
}

class SourcePageReader final : public Reader {
public:
    void prepare(const std::string& bytes) override { m_page = bytes; }
    Outcome read() override
    {
        VectorSuggestions list;
        ParseSourcePage(m_page, TopicKey(kTopics[0]), list);
        return {list.count(), 0, {}};
    }

private:
    std::string m_page;
};

std::string ValidResponse()
{
    std::string response = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nTransfer-Encoding: chunked\r\n"
                           "Cache-Control: no-cache\r\n\r\n";
    const std::string page = ValidPage();
    for (std::size_t at = 0; at < page.size(); at += 61) {
        const std::string chunk = page.substr(at, 61);
        char size[16];
        std::snprintf(size, sizeof size, "%zx\r\n", chunk.size());
        response += size + chunk + "\r\n";
    }
    return response + "0\r\n\r\n";
}

// The answer comes whole and is followed by the server's close, so every exchange ends without
// waiting: the time limits are short, and reaching one is a failure of the test.
class HttpResponseReader final : public Reader {
public:
    void prepare(const std::string& bytes) override
    {
        m_server.reset();
        m_server = std::make_unique<LoopbackServer>(std::vector<Script>{{ReadRequest(), Send(bytes), Close()}});
    }
    Outcome read() override
    {
        TIdHTTP http;
        http.SetReadTimeout(5000);
        http.SetConnectTimeout(5000);
        http.SetExchangeTimeout(20000);
        TMemoryStream sink;
        Outcome outcome;
        try {
            http.GetDocument(m_server->url(), sink);
            outcome.items = 1;
        } catch (const EIdException& e) {
            outcome.failure = e.ClassName();
        } catch (const EConvertError& e) {
            outcome.failure = e.ClassName();
        }
        // A large body lies in a mapping of its own, not on the heap.
        outcome.unmetered = sink.Size();
        return outcome;
    }

private:
    std::unique_ptr<LoopbackServer> m_server;
};

// A header block of the shortest lines up to its limit: each line costs bookkeeping of its own.
HostileInput HeaderFlood()
{
    HostileInput input{"a header block of 4-byte lines", "HTTP/1.1 200 OK\r\n"};
    while (input.bytes.size() < kMaxHeaderBytes)
        input.bytes += "a:\r\n";
    input.bytes += "\r\n";
    return input;
}

std::string ValidHeadlineFile()
{
    std::string file;
    for (int i = 0; i < 8; ++i)
        file += "[item" + std::to_string(i) + "]\r\nt=Headline number " + std::to_string(i)
                + " about writing\r\ncheck=" + std::to_string(i % 2) + "\r\n";
    return file;
}

class HeadlineFileReader final : public Reader {
public:
    void prepare(const std::string& bytes) override { writeFileBytes(m_dir.file("list.qmk"), bytes); }
    Outcome read() override
    {
        VectorSuggestions list;
        try {
            openHeadlineFile(m_dir.file("list.qmk"), list);
        } catch (const FileError&) {
        }
        return {list.count(), 0, {}};
    }

private:
    TempDir m_dir;
};

std::string ValidStore()
{
    return "Windows Registry Editor Version 5.00\r\n\r\n"
           "[HKEY_CURRENT_USER\\Software\\Tamsworth\\Lettrix\\Setup]\r\n"
           "\"top\"=dword:00000050\r\n\"left\"=dword:00000064\r\n\"name\"=\"Quillmark \\\"main\\\"\"\r\n"
           "\"bin\"=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,17,\\\r\n"
           "  18,19,1a,1b,1c,1d,1e,1f\r\n\r\n"
           "[HKEY_CURRENT_USER\\Software\\Tamsworth\\Lettrix\\Recent]\r\n"
           "\"file0\"=\"/home/writer/ideas.qmk\"\r\n";
}

// Counts the values of the position key that read.
class RegistryStoreReader final : public Reader {
public:
    void prepare(const std::string& bytes) override { writeFileBytes(m_dir.file("user.reg"), bytes); }
    Outcome read() override
    {
        const RegistryKey key = RegistryStore(m_dir.file("user.reg")).openKey("Software\\Tamsworth\\Lettrix\\Setup");
        std::size_t values = 0;
        for (const char* name : {"top", "left", "name", "bin", "file0"})
            values += key.query(name) ? 1 : 0;
        return {values, 0, {}};
    }

private:
    TempDir m_dir;
};

class JpegReader final : public Reader {
public:
    void prepare(const std::string& bytes) override { m_data = bytes; }
    Outcome read() override { return {JpegImage::decode(m_data).isNull() ? 0u : 1u, 0, {}}; }

private:
    std::string m_data;
};

struct ReaderCase {
    const char* name;
    std::function<std::unique_ptr<Reader>()> make;
    std::function<std::string()> valid;
    std::size_t validItems; // what the uncut valid input gives
    // Beyond twice the input: the reader's own fixed needs.
    std::size_t fixedBound;
    std::vector<HostileInput (*)()> floods;
};

std::string Logo() { return readFileBytes(std::string(QUILLMARK_SOURCE_DIR) + "/resources/images/logo.jpg"); }

const std::vector<ReaderCase>& Readers()
{
    static const std::vector<ReaderCase> readers = {
        // The page is copied once; captions are its bytes.
        {"SourcePage",
         [] { return std::make_unique<SourcePageReader>(); },
         ValidPage,
         4,
         256 * 1024,
         {[] { return Flood('a'); }, [] { return Flood('<'); }}},
        // A line, the receive buffer and the header block, whose lines are kept as strings in two
        // lists: a block of 4-byte lines at its limit costs some 20 times its size. A large body lies
        // outside the heap.
        {"HttpResponse",
         [] { return std::make_unique<HttpResponseReader>(); },
         ValidResponse,
         1,
         24 * static_cast<std::size_t>(kMaxHeaderBytes),
         {[] { return Flood('a'); }, [] { return Flood('\n'); }, HeaderFlood}},
        // The file's bytes are kept; each section and key line costs a little bookkeeping.
        {"HeadlineFile",
         [] { return std::make_unique<HeadlineFileReader>(); },
         ValidHeadlineFile,
         8,
         256 * 1024,
         {[] { return Flood('['); }, [] { return Flood('\n'); }}},
        // A store over its size or line limit is never read; floods of the largest size it reads are.
        // Reading one makes a copy of each line and a value's text; the lines' bookkeeping and the
        // value's temporary copy are bounded by the limits.
        {"RegistryStore",
         [] { return std::make_unique<RegistryStoreReader>(); },
         ValidStore,
         3,
         RegistryStore::kMaxStoreBytes + RegistryStore::kMaxStoreLines * 256,
         {[] { return Flood('['); }, [] { return Flood('[', RegistryStore::kMaxStoreBytes); },
          [] { return Flood('"', RegistryStore::kMaxStoreBytes); },
          [] { return Flood('\n', RegistryStore::kMaxStoreBytes); }}},
        // The largest picture's pixels, allocated before a row is decoded, and libjpeg's tables.
        {"JpegImage",
         [] { return std::make_unique<JpegReader>(); },
         Logo,
         1,
         JpegImage::kMaxPixels * 3 + 2 * kMiB,
         {[] { return Flood('\xff'); }, [] { return Flood('\0'); }}},
    };
    return readers;
}

class BadInput : public testing::TestWithParam<std::size_t> {
protected:
    void SetUp() override
    {
        // Valgrind brings its own allocator, so the meter sees nothing there; memcheck watches the
        // heap instead. Anywhere else a meter that sees nothing is a broken test.
        m_measuring = AllocationMeter::active();
        if (!m_measuring && !QM_UNDER_VALGRIND())
            FAIL() << "allocations do not reach the meter";
    }

    const ReaderCase& reader() const { return Readers()[GetParam()]; }

    // Reads the input and checks what it may hold; returns what it read.
    Outcome ExpectBounded(Reader& target, const HostileInput& input) const
    {
        target.prepare(input.bytes);
        const AllocationMeter meter;
        const Outcome outcome = target.read();
        const std::size_t held = meter.peakAbove() + outcome.unmetered;
        if (m_measuring) {
            EXPECT_LE(held, 2 * input.bytes.size() + reader().fixedBound) << input.name;
        }
        EXPECT_NE(outcome.failure, "EIdReadTimeout") << input.name;
        EXPECT_NE(outcome.failure, "EIdExchangeTimeout") << input.name;
        return outcome;
    }

private:
    bool m_measuring = false;
};

TEST_P(BadInput, SmallHostileInputsNeitherCrashNorWaitNorHoldMoreThanTheBound)
{
    const std::unique_ptr<Reader> target = reader().make();
    const std::string valid = reader().valid();
    // The uncut input reads whole, so that its cuts fall inside real structure.
    EXPECT_EQ(ExpectBounded(*target, {"the valid input", valid}).items, reader().validItems);
    for (const HostileInput& input : SmallHostileInputs(valid)) {
        ExpectBounded(*target, input);
        if (HasFailure())
            return; // one input named is enough
    }
}

TEST_P(BadInput, FloodsOfOneByteHoldNoMoreThanTheBound)
{
    const std::unique_ptr<Reader> target = reader().make();
    for (const auto& flood : reader().floods)
        ExpectBounded(*target, flood());
}

// A user-named file that is not a regular file is refused at once: a named pipe without a writer
// must not keep the reader waiting, a device must not be read without end, and what the reader held
// stays.
TEST(BadInputFiles, WhatIsNotARegularFileIsRefusedWithoutWaiting)
{
    namespace fs = std::filesystem;
    const std::pair<const char*, std::function<bool(const fs::path&)>> readers[] = {
        {"HeadlineFile",
         [](const fs::path& path) {
             VectorSuggestions list;
             list.append("kept", true);
             try {
                 openHeadlineFile(path, list);
             } catch (const FileError& e) {
                 return list.count() == 1 && e.reason().find("not a") != std::string::npos;
             }
             return false;
         }},
        // Nothing is read, and nothing may be written in its place.
        {"RegistryStore",
         [](const fs::path& path) {
             const RegistryStore store(path);
             return !store.openKey("Software\\Quillmark").isOpen() && !store.createKey("Software\\Quillmark").isOpen();
         }},
    };
    const std::pair<const char*, std::function<void(const fs::path&)>> kinds[] = {
        {"named pipe", [](const fs::path& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }},
        {"folder", [](const fs::path& path) { fs::create_directory(path); }},
        {"device", [](const fs::path& path) { fs::create_symlink("/dev/zero", path); }},
    };
    for (const auto& [reader, refuses] : readers) {
        for (const auto& [kind, make] : kinds) {
            const TempDir dir;
            const fs::path path = dir.file("named");
            make(path);
            std::future<bool> refused = std::async(std::launch::async, refuses, path);
            if (refused.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
                ADD_FAILURE() << reader << " waits on a " << kind;
                // A writer that comes and goes ends each wait of the reader, so the test itself ends.
                do
                    ::close(::open(path.c_str(), O_WRONLY | O_NONBLOCK));
                while (refused.wait_for(std::chrono::milliseconds(100)) == std::future_status::timeout);
            }
            EXPECT_TRUE(refused.get()) << reader << " on a " << kind;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Readers, BadInput, testing::Range<std::size_t>(0, Readers().size()),
                         [](const testing::TestParamInfo<std::size_t>& info) { return Readers()[info.param].name; });

} // namespace
} // namespace qm
