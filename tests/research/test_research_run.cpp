// The research run without a window: the order of its steps and pumps, its failure paths, a run
// inside a run, and the list's limit.
#include "headlines/suggestionlist.h"
#include "net/eidexception.h"
#include "net/tidcomponent.h"
#include "net/tidstack.h"
#include "research/researchrun.h"
#include "research/richeditbuffer.h"
#include "research/topics.h"
#include "tests/support/loopbackserver.h"
#include "tests/support/sourcepage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace qm {
namespace {

using namespace qm::test;

// Records what the run shows, in order; lets a test act inside a chosen pump.
class Recorder final : public ResearchFrontEnd {
public:
    void setStatusText(std::string_view text) override { events.push_back("status " + std::string(text)); }
    void pumpMessages() override
    {
        events.emplace_back("pump");
        ++pumps;
        if (onPump)
            onPump(pumps);
    }
    void showBusyCursor() override { events.emplace_back("busy"); }
    void restoreCursor() override { events.emplace_back("restore"); }
    bool escapeHeld() override { return escape; }

    std::vector<std::string> events;
    int pumps = 0;
    std::function<void(int)> onPump;
    bool escape = false;
};

std::vector<std::string> Captions(const VectorSuggestions& list)
{
    std::vector<std::string> captions;
    for (const Suggestion& item : list.items()) {
        EXPECT_FALSE(item.checked);
        captions.push_back(item.caption);
    }
    return captions;
}

class ResearchRunTest : public testing::Test {
protected:
    void SetUp() override
    {
        TopicCancelled = false; // as Research in the topic dialog leaves it
        list.append("Earlier suggestion", false);
    }

    void RunFor(const std::string& url, const std::string& key = "Misc")
    {
        ResearchRun run(frontEnd, list, textBox, url, session);
        run.Run([key] { return key; });
    }
    std::string LastStatus() const
    {
        for (auto it = frontEnd.events.rbegin(); it != frontEnd.events.rend(); ++it)
            if (it->rfind("status ", 0) == 0)
                return it->substr(7);
        return {};
    }

    Recorder frontEnd;
    VectorSuggestions list;
    RichEditBuffer textBox;
    ResearchSession session;
};

TEST_F(ResearchRunTest, StepsAndPumpsComeInTheirOrder)
{
    const std::string page = SourcePage({{"Business", {"Wrong topic"}}, {"Misc", {"First", "Second"}}});
    LoopbackServer server({{ReadRequest(), Send(OkResponse(page))}});
    RunFor(server.url());

    const std::vector<std::string> walk(6, "pump"); // three entries, two pumps each
    std::vector<std::string> expected = {"busy", "status Brainstorming for Misc headlines... Please stand by.",
                                         "pump", "pump",
                                         "pump", "pump"}; // status, download, box set, read back
    expected.insert(expected.end(), walk.begin(), walk.end());
    for (const char* tail : {"pump", "pump", "restore", "status Done!", "pump"}) // parse, topic, closing
        expected.emplace_back(tail);
    EXPECT_EQ(frontEnd.events, expected);
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"First", "Second"}));
    EXPECT_NE(server.received().find("GET /page.html HTTP/1.1\r\n"), std::string::npos);
}

// Each row: how the run fails, what the list holds afterwards, and the closing text.
struct FailureCase {
    const char* name;
    std::function<std::string()> serve; // the URL to fetch, with whatever is needed behind it
    bool stackFails = false;
    int throwAtPump = 0;   // a failure raised inside that pump (counted from 1)
    int throwAtAppend = 0; // the list refuses that item (counted from 1)
    std::vector<std::string> captions;
    std::string_view closing;
};

std::vector<std::unique_ptr<LoopbackServer>> servers;

std::string Serving(const std::string& response)
{
    servers.push_back(std::make_unique<LoopbackServer>(std::vector<Script>{{ReadRequest(), Send(response), Close()}}));
    return servers.back()->url();
}

const std::string kThreeItems = SourcePage({{"Misc", {"One", "Two", "Three"}}});

const FailureCase kFailures[] = {
    {"UnreachableServerEmptiesTheListAndSaysSo",
     [] { return RefusingUrl("/page.html"); },
     false,
     0,
     0,
     {},
     kDownloadFailedText},
    {"SocketStackThatCannotStartEmptiesTheListAndSaysSo",
     [] { return std::string("http://127.0.0.1:1/page.html"); },
     true,
     0,
     0,
     {},
     kDownloadFailedText},
    {"BrokenOffDownloadParsesWhatArrived",
     [] {
         const std::string part = kThreeItems.substr(0, kThreeItems.find("</ul>") + 5);
         return Serving("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + part);
     },
     false,
     0,
     0,
     {"One", "Two", "Three"},
     kDownloadFailedText},
    {"FailureInTheTextBoxKeepsThePreviousList",
     [] { return Serving(OkResponse(kThreeItems)); },
     false,
     3,
     0,
     {"Earlier suggestion"},
     kDoneText},
    {"FailureInTheParseKeepsTheItemsSoFar",
     [] { return Serving(OkResponse(kThreeItems)); },
     false,
     0,
     3,
     {"One", "Two"},
     kDoneText},
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class ResearchRunFailure : public ResearchRunTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(ResearchRunFailure, IsSwallowedAndTheRunCloses)
{
    const FailureCase& c = GetParam();
    const std::string url = c.serve();
    TIdComponent::StackFactory makeStack;
    if (c.stackFails)
        makeStack = []() -> std::unique_ptr<TIdStack> { throw EIdStackInitializationFailed(); };
    frontEnd.onPump = [&](int pump) {
        if (pump == c.throwAtPump)
            throw std::runtime_error("failure in the pump");
    };

    class RefusingList final : public SuggestionSink {
    public:
        RefusingList(VectorSuggestions& list, int refuseAt) : m_list(list), m_refuseAt(refuseAt) {}
        void append(std::string_view caption, bool checked) override
        {
            if (++m_appended == m_refuseAt)
                throw std::runtime_error("list refused the item");
            m_list.append(caption, checked);
        }

    private:
        void removeAll() override { m_list.clear(); }
        VectorSuggestions& m_list;
        int m_refuseAt;
        int m_appended = 0;
    } sink(list, c.throwAtAppend);

    ResearchRun run(frontEnd, sink, textBox, url, session, makeStack);
    EXPECT_NO_THROW(run.Run([] { return std::string("Misc"); }));
    EXPECT_EQ(Captions(list), c.captions);
    EXPECT_EQ(LastStatus(), c.closing);
    EXPECT_EQ(frontEnd.events.back(), "pump"); // the closing pump
    const auto restores = std::count(frontEnd.events.begin(), frontEnd.events.end(), "restore");
    EXPECT_EQ(restores, 1);
    servers.clear();
}

INSTANTIATE_TEST_SUITE_P(Paths, ResearchRunFailure, testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ResearchRunTest, NestedRunKeepsItsOwnListAndItsClosingText)
{
    // The outer run's page is long; a run started from its walk fails to download, so its empty list
    // must not end under the outer run's plain "Done!".
    const std::string page = SourcePage({{"Business", Numbered("Outer headline", 20)}});
    LoopbackServer server({{ReadRequest(), Send(OkResponse(page))}});
    const std::string unreachable = RefusingUrl();

    Recorder nestedFrontEnd;
    int walkPumps = 0;
    frontEnd.onPump = [&](int pump) {
        if (pump < 5 || ++walkPumps != 4)
            return;
        ResearchRun nested(nestedFrontEnd, list, textBox, unreachable, session);
        nested.Run([] { return std::string("Misc"); });
    };
    RunFor(server.url(), "Business");

    EXPECT_TRUE(list.items().empty());
    EXPECT_EQ(LastStatus(), kDownloadFailedText);
    EXPECT_EQ(std::count(frontEnd.events.begin(), frontEnd.events.end(), "restore"), 1);
}

TEST_F(ResearchRunTest, ListStopsAtItsLimit)
{
    // Some 10 bytes an entry: a page within the download limit could otherwise list millions.
    std::string page = "<ul>";
    for (std::size_t i = 0; i < kMaxSuggestions + 5; ++i)
        page += "<li>x</a>\n";
    page += "<li></ul>";
    LoopbackServer server({{ReadRequest(), Send(OkResponse(page))}});
    ResearchRun run(frontEnd, list, textBox, server.url(), session);
    run.Run([] { return std::string("Misc"); });
    EXPECT_EQ(list.count(), kMaxSuggestions);
    EXPECT_TRUE(run.ListFull());
    EXPECT_EQ(LastStatus(), kDoneText);
}

TEST(TrimPageText, RemovesBlanksAndControlBytesAtTheEndsOnly)
{
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"", ""},
        {" \r\n\t\x01", ""},
        {std::string("\0\0<p>a b</p>\0 ", 14), "<p>a b</p>"},
        {"\r\n<li>x\r\n<li>y\r\n", "<li>x\r\n<li>y"},
        {"\xa0\x80text\xff", "\xa0\x80text\xff"}, // bytes above 127 are no control characters
        {"!", "!"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrimPageText(c.in), c.out) << c.in;
}

} // namespace
} // namespace qm
