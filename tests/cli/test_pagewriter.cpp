// The page writer's promise: whatever bytes a title holds, the parser cuts out of the page exactly
// each topic's titles, in order, and nothing of another topic. Also the order of titles and dates.
#include "cli/feedreader.h"
#include "cli/pagewriter.h"
#include "headlines/suggestionlist.h"
#include "research/sourcepageparser.h"
#include "research/topics.h"

#include <gtest/gtest.h>

#include <random>

namespace qm::cli {
namespace {

// Every caption the walk cuts for the key, the ones the content filter drops included.
std::vector<std::string> CutCaptions(std::string_view page, std::string_view key)
{
    std::vector<std::string> captions;
    ParseHooks hooks;
    hooks.visit = [&](std::size_t, std::string_view linkText) {
        const std::size_t tagEnd = linkText.rfind('>'); // the caption follows the link's last tag
        if (tagEnd != std::string_view::npos && tagEnd + 1 < linkText.size())
            captions.emplace_back(linkText.substr(tagEnd + 1));
    };
    VectorSuggestions sink;
    ParseSourcePage(page, key, sink, hooks);
    return captions;
}

// The title as a reader of the page sees it, the visible changes undone.
std::string Undone(std::string text)
{
    for (const auto& [mark, original] : {std::pair{"\u203A", ">"}, {"\u2039", "<"}, {"\uFF06", "&"}})
        for (std::size_t at = 0; (at = text.find(mark, at)) != std::string::npos;)
            text.replace(at, std::string_view(mark).size(), original);
    return text;
}

TEST(PageWriter, GeneratedTitlesComeBackThroughTheParserUnderTheirOwnKeyOnly)
{
    std::vector<std::string> pieces = {"</a>", "<li>", "<LI>", "</ul>", "</UL>", "<a name=", "<A NAME=\"misc"};
    for (const char* more : {"<a name=business", "<a  name=\"Personal", ">", "<", "&amp;", "&AMP;", "&am", "p;", "&"})
        pieces.emplace_back(more);
    for (const char* more : {"\r\n", "\r", "\n", "   ", "  ", " ", "\t", "\"", "Misc", "Business", "news", "<b>", "<3"})
        pieces.emplace_back(more);
    for (const char* more : {"&lt;", "caf\xC3\xA9", "\xE6\x97\xA5", "\xF0\x9F\x98\x80"})
        pieces.emplace_back(more);
    std::mt19937 random(20);
    std::size_t carried = 0;
    std::size_t leftOut = 0;
    for (int trial = 0; trial < 300; ++trial) {
        std::array<std::optional<TopicTitles>, kTopics.size()> topics;
        std::uint64_t order = 0;
        for (std::optional<TopicTitles>& titles : topics) {
            titles.emplace(100);
            for (int n = static_cast<int>(random() % 5); n > 0; --n) {
                std::string title;
                for (int k = static_cast<int>(random() % 8); k >= 0; --k) {
                    if (random() % 4 == 0)
                        title += static_cast<char>(random() % 256); // every byte value
                    else
                        title += pieces[random() % pieces.size()];
                }
                const std::optional<std::string> onPage = PageTitle(title);
                leftOut += onPage ? 0 : 1;
                if (!onPage || onPage->empty())
                    continue;
                titles->add(*onPage, std::nullopt, order++);
                ++carried;
                // Only blanks and the three marks change, and a title never starts or ends blank.
                std::string expected;
                for (const char c : title) {
                    const bool blank = static_cast<unsigned char>(c) <= ' ' || c == '\x7F';
                    if (!blank || (!expected.empty() && expected.back() != ' '))
                        expected += blank ? ' ' : c;
                }
                while (!expected.empty() && expected.back() == ' ')
                    expected.pop_back();
                EXPECT_EQ(Undone(*onPage), expected);
            }
        }
        const std::string page = BuildPage(topics, {});
        // A research run cuts the page at its first NUL.
        ASSERT_EQ(page.find('\0'), std::string::npos);
        for (std::size_t topic = 0; topic < topics.size(); ++topic) {
            ASSERT_EQ(CutCaptions(page, TopicKey(kTopics[topic])), topics[topic]->newestFirst())
                << "topic " << kTopics[topic] << ", trial " << trial;
        }
    }
    EXPECT_GT(carried, 500U);
    EXPECT_GT(leftOut, 50U); // titles that are not UTF-8
}

TEST(TopicTitles, NewestFirstEachOnceUndatedLastWithinTheLimit)
{
    struct Add {
        const char* title;
        std::optional<std::int64_t> date;
    };
    struct Row {
        const char* behaviour;
        std::size_t limit;
        std::vector<Add> adds;
        std::vector<std::string> expected;
    };
    const std::vector<Row> rows = {
        {"newest first", 10, {{"b", 2}, {"c", 3}, {"a", 1}}, {"c", "b", "a"}},
        {"undated after dated, in order", 10, {{"u1", {}}, {"d", 5}, {"u2", {}}}, {"d", "u1", "u2"}},
        {"equal dates keep their order", 10, {{"x", 5}, {"y", 5}}, {"x", "y"}},
        {"a repeat counts at its newest", 10, {{"Same Title", 1}, {"b", 2}, {"same title", 3}}, {"same title", "b"}},
        {"an older repeat changes nothing", 10, {{"Same", 3}, {"b", 2}, {"SAME", 1}}, {"Same", "b"}},
        {"the limit keeps the newest", 2, {{"a", 1}, {"b", 2}, {"c", 3}, {"d", 0}}, {"c", "b"}},
        {"one pushed out comes back newer", 2, {{"a", 1}, {"b", 2}, {"c", 3}, {"a", 4}}, {"a", "c"}},
        {"one pushed out stays out older", 2, {{"a", 2}, {"b", 3}, {"c", 4}, {"a", 1}}, {"c", "b"}},
        {"undated fill up behind dated", 3, {{"u1", {}}, {"u2", {}}, {"u3", {}}, {"d", 1}}, {"d", "u1", "u2"}},
    };
    for (const Row& row : rows) {
        TopicTitles titles(row.limit);
        std::uint64_t order = 0;
        for (const Add& add : row.adds)
            titles.add(add.title, add.date, order++);
        EXPECT_EQ(titles.newestFirst(), row.expected) << row.behaviour;
    }
}

TEST(TopicTitles, TakesTitlesAsTheFeedHasThemAndNamesTheOnesNotUtf8EvenWhenTheyWouldNotBeKept)
{
    TopicTitles titles(1);
    EXPECT_TRUE(titles.add("  Old \t news > views  ", 1, 0));
    EXPECT_FALSE(titles.add("caf\xE9", 2, 1)); // newer, but not UTF-8
    EXPECT_FALSE(titles.add("caf\xE9", 0, 2)); // older than the full list's own
    EXPECT_TRUE(titles.add(" \n ", 3, 3));     // blank: left out
    EXPECT_EQ(titles.newestFirst(), std::vector<std::string>{"Old news \u203A views"});
}

TEST(FeedDate, ReadsTheDateFormsOfFeeds)
{
    struct Row {
        const char* text;
        std::optional<std::int64_t> seconds;
    };
    const std::vector<Row> rows = {
        {"Sat, 07 Sep 2002 09:42:31 GMT", 1031391751},
        {"7 sep 02 11:42:31 +0200", 1031391751},
        {"Sat, 07 Sep 2002 05:42:31 EDT", 1031391751},
        {"  Sat, 07 September 2002 09:42 CEST  ", 1031391720}, // other zone names count as UTC
        {"Fri, 31 Dec 99 23:59:59 GMT", 946684799},
        {"2002-09-07T09:42:31Z", 1031391751},
        {"2002-09-07t11:42:31.123456789123+02:00", 1031391751},
        {"2002-09-07 04:42:31-05:00", 1031391751},
        {"2000-02-29", 951782400},
        {"yesterday", std::nullopt},
        {"2001-02-29", std::nullopt},
        {"2002-09-07T24:00:00Z", std::nullopt},
        {"2002-09-07T09:42:31Zjunk", std::nullopt},
        {"2002-09-07T09:42:31+2", std::nullopt},
        {"2002-09-07T09:42:3", std::nullopt}, // cut inside the seconds: once thrown out of the reader
        {"Sat, 31 Apr 2002 09:42:31 GMT", std::nullopt},
        {"Sat, 07 Sep 200 09:42:31 GMT", std::nullopt},
        {"Sat, 07 Foo 2002 09:42:31 GMT", std::nullopt},
        {"Sat, 07 Sep 2002 09:61:00 GMT", std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ParseFeedDate(row.text), row.seconds) << row.text;
}

} // namespace
} // namespace qm::cli
