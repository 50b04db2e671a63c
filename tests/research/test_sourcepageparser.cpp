#include "headlines/suggestionlist.h"
#include "platform/bytes.h"
#include "research/sourcepageparser.h"
#include "research/topics.h"
#include "tests/research/referenceparser.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace qm {
namespace {

using Captions = std::vector<std::string>;

struct ParseRun {
    Captions captions;
    std::vector<bool> checked;
    int pumps = 0;
    int stopChecks = 0;
};

ParseRun parse(std::string_view page, std::string_view key, int stopAfter = -1)
{
    ParseRun run;
    VectorSuggestions list;
    list.append("left over from before", true);
    ParseHooks hooks;
    hooks.pump = [&] { ++run.pumps; };
    hooks.stop = [&] { return ++run.stopChecks == stopAfter; };
    ParseSourcePage(page, key, list, hooks);
    for (const Suggestion& item : list.items()) {
        run.captions.push_back(item.caption);
        run.checked.push_back(item.checked);
    }
    return run;
}

std::string repeat(std::string_view unit, std::size_t bytes)
{
    std::string out;
    out.reserve(bytes + unit.size());
    while (out.size() < bytes)
        out += unit;
    return out;
}

// A section under the given anchor line, one "<li>" line per link text, each line ended by CR LF.
std::string section(std::string_view anchor, const std::vector<std::string>& links)
{
    std::string page = std::string(anchor) + "\r\n<ul>\r\n";
    for (const std::string& link : links)
        page += "<li><a href=\"http://example/x\">" + link + "</a></li>\r\n";
    return page + "</ul>\r\n";
}

TEST(ParseSourcePage, ThreeEntrySectionGivesTheFirstTwoUnticked)
{
    const std::string page = "<html><body>\n<a name=\"business\"></a>\n<ul>\n"
                             "<li><a href=\"a\">First headline</a>\n"
                             "<li><a href=\"b\">Second headline</a>\n"
                             "<li><a href=\"c\">Third headline</a>\n"
                             "</ul>\n</body></html>\n";
    const ParseRun run = parse(page, "Business");
    EXPECT_EQ(run.captions, (Captions{"First headline", "Second headline"}));
    EXPECT_EQ(run.checked, (std::vector<bool>{false, false}));
    EXPECT_EQ(run.pumps, 6); // twice per entry walked, the last one included
    EXPECT_EQ(run.stopChecks, 3);
}

TEST(ParseSourcePage, FindsTheAnchorByItsFormsAndCase)
{
    // A decoy section stands before the anchor: an anchor that is not found makes the parse start at
    // the top of the page and list the decoy.
    const std::string decoy = section("<p>", {"Decoy", "end"});
    struct Row {
        const char* name;
        std::string anchors;
        std::string key;
        const char* expected;
    };
    const std::vector<Row> rows = {
        {"quoted", "<a name=\"business\">", "Business", "Target"},
        {"unquoted", "<a name=business>", "Business", "Target"},
        {"upper case", "<A NAME=\"BUSINESS\">", "Business", "Target"},
        {"key begins a longer name", "<a name=\"miscellany\">", "Misc", "Target"},
        {"two spaces", "<a  name=\"business\">", "Business", "Decoy"},
        {"id instead of name", "<a id=\"business\">", "Business", "Decoy"},
        {"other topic", "<a name=\"education\">", "Business", "Decoy"},
        {"space in key", "<a name=\"computers and software\">", "Computers and Software", "Target"},
    };
    for (const Row& row : rows) {
        const std::string page = decoy + section(row.anchors, {"Target", "end"});
        EXPECT_EQ(parse(page, row.key).captions, Captions{row.expected}) << row.name;
    }

    // The unquoted form anywhere in the page wins over an earlier quoted one.
    const std::string both
        = section("<a name=\"misc\">", {"Quoted", "end"}) + section("<a name=misc>", {"Plain", "end"});
    EXPECT_EQ(parse(both, "Misc").captions, Captions{"Plain"});
}

TEST(ParseSourcePage, CleansAndCutsLinkTexts)
{
    struct Row {
        const char* name;
        std::string link;
        Captions expected;
    };
    const std::vector<Row> rows = {
        {"ampersand entity removed", "Tips &amp; Tricks", {"Tips Tricks"}},
        {"upper-case entity removed", "Salt &AMP;Pepper", {"Salt Pepper"}},
        {"nested entity removed", "A&am&amp;p;B", {"AB"}},
        {"other entities stay", "Say &quot;Hi&quot;", {"Say &quot;Hi&quot;"}},
        {"CR LF joins words", "Foo\r\nBar", {"FooBar"}},
        {"lone CR stays", "Foo\rBar", {"Foo\rBar"}},
        {"lone LF stays", "Foo\nBar", {"Foo\nBar"}},
        {"CR LF made by a removal is removed too", "A\r\r\n\nB", {"AB"}},
        {"spaces collapse to one at both ends", "  Big   News  ", {" Big News "}},
        {"markup only gives nothing", "<b>Bold</b>", {}},
        {"text after the last tag", "Big <b>bold</b> news", {" news"}},
        {"first of two links", "One</a> and <a href=\"y\">Two", {"One"}},
        {"bytes kept as they are", "Caf\xE9 \x80\xFF", {"Caf\xE9 \x80\xFF"}},
        {"blocked caption dropped", "Diet secrets", {}},
        {"blocked through case", "VISIT WWW.EXAMPLE", {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(parse(section("<a name=\"business\">", {row.link, "end"}), "Business").captions, row.expected)
            << row.name;
}

TEST(ParseSourcePage, EntryBoundariesFollowTheMarkers)
{
    struct Row {
        const char* name;
        std::string body; // between "<a name=misc><ul>" and "</ul>"
        Captions expected;
    };
    const std::vector<Row> rows = {
        {"one <li> gives nothing", "<li><a>Only</a>\n", {}},
        {"two give at most one", "<li><a>One</a>\n<li><a>Two</a>\n", {"One"}},
        {"duplicates listed twice", "<li><a>Same</a>\n<li><a>Same</a>\n<li>", {"Same", "Same"}},
        {"</a> directly before <li>", "<li><a>Tight</a><li><a>Next</a>\n<li>", {"Next"}},
        {"entry without </a> skips the next one", "<li>plain\n<li><a>Lost</a>\n<li><a>Kept</a>\n<li>", {"Kept"}},
        {"<li> with attributes starts no entry", "<li><a>A</a>\n<li class=\"x\"><a>B</a>\n<li>", {"A"}},
        {"upper-case markers", "<LI><A>Up</A>\n<LI>", {"Up"}},
        {"text before the first <li> ignored", "junk</a>\n<li><a>Real</a>\n<li>", {"Real"}},
        {"empty caption skipped", "<li><a></a>\n<li><a>Full</a>\n<li>", {"Full"}},
        // "</\r\na>" is no "</a>" in the page but becomes one once the entry is cleaned: the walk can
        // not advance past it and must end after listing it once.
        {"no further </a> ends the walk", "<li><a>Once</\r\na>\n<li><a>Never</\r\na>\n<li>", {"Once"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(parse("<a name=misc><ul>" + row.body + "</ul>", "Misc").captions, row.expected) << row.name;
}

TEST(ParseSourcePage, StopCheckEndsTheWalkAfterTheCurrentEntry)
{
    const std::string page = section("<a name=business>", {"One", "Two", "Three", "end"});
    const ParseRun run = parse(page, "Business", 2);
    EXPECT_EQ(run.captions, (Captions{"One", "Two"}));
    EXPECT_EQ(run.pumps, 4);
    EXPECT_EQ(run.stopChecks, 2);
}

TEST(ParseSourcePage, HooksThatChangeTheCallersPageDoNotReachTheWalk)
{
    std::string page = section("<a name=business>", {"One", "Two", "Three", "end"});
    VectorSuggestions list;
    ParseHooks hooks;
    // A command run while pumping overwrites the page buffer the walk was given.
    hooks.pump = [&] { std::fill(page.begin(), page.end(), 'x'); };
    ParseSourcePage(page, "Business", list, hooks);
    ASSERT_EQ(list.count(), 3u);
    EXPECT_EQ(list.caption(2), "Three");
}

TEST(ParseSourcePage, HostilePagesEndQuickly)
{
    constexpr std::size_t kMegabyte = 1 << 20;
    struct Row {
        const char* name;
        std::string page;
        std::size_t items;
    };
    const std::vector<Row> rows = {
        {"no anchor, no </ul>", repeat("<li><a>x</a>\n", kMegabyte), 0},
        {"anchor without </ul>", "<a name=business>" + repeat("<li><a>x</a>\n", kMegabyte), 0},
        {"<li> without </a>", "<a name=business>" + repeat("<li>", kMegabyte) + "</ul>", 0},
        {"every <li> closed at once", "<a name=business>" + repeat("<li></a>", kMegabyte) + "</ul>", 0},
        {"no marker at all", repeat("lorem ipsum ", kMegabyte), 0},
        {"only anchor prefixes", repeat("<a name=", kMegabyte) + "</ul>", 0},
        {"one entry of blanks", "<a name=business><ul><li><a>" + repeat(" ", kMegabyte) + "x</a>\n<li></ul>", 1},
        {"one entry of line breaks", "<a name=business><ul><li><a>" + repeat("\r\n", kMegabyte) + "x</a>\n<li></ul>",
         1},
        {"many </a> in one entry", "<a name=business><ul><li><a>x" + repeat("</a>", kMegabyte) + "\n<li></ul>", 1},
        {"CRs then LFs",
         "<a name=business><ul><li><a>x" + std::string(kMegabyte, '\r') + std::string(kMegabyte, '\n')
             + "</a>\n<li></ul>",
         1},
        // "&am&am&amp;p;p;": each removal exposes the next entity around it.
        {"nested entities",
         "<a name=business><ul><li><a>x" + repeat("&am", 3 << 18) + "&amp;" + repeat("p;", 2 << 18) + "</a>\n<li></ul>",
         1},
    };
    for (const Row& row : rows)
        EXPECT_EQ(parse(row.page, "Business").captions.size(), row.items) << row.name;
}

TEST(ReplaceAllNoCase, RestartsFromTheStartAndRefusesEndlessReplacements)
{
    EXPECT_EQ(ReplaceAllNoCase("    ", "  ", " "), " ");
    EXPECT_EQ(ReplaceAllNoCase("xAbCy", "abc", "-"), "x-y");
    EXPECT_EQ(ReplaceAllNoCase("text", "", "x"), "text");
    EXPECT_THROW(ReplaceAllNoCase("a", "a", "xA"), std::invalid_argument);
    EXPECT_EQ(ReverseText("abc"), "cba");
}

TEST(ReplaceAllNoCase, EqualsTheLiteralRestartingReplacement)
{
    std::mt19937 random(7);
    const std::string alphabet = "aAbB &;mMpP\r\n";
    auto text = [&](std::size_t maxLength) {
        std::string out(random() % (maxLength + 1), ' ');
        for (char& c : out)
            c = alphabet[random() % alphabet.size()];
        return out;
    };
    const std::vector<std::string> fixed = {"\r\n", "&amp;", "   ", "  "};
    for (int i = 0; i < 20000; ++i) {
        const std::string pattern = i % 2 == 0 ? fixed[random() % fixed.size()] : text(3);
        std::string replacement = text(pattern.empty() ? 0 : pattern.size() - 1);
        if (asciiLowerCopy(replacement).find(asciiLowerCopy(pattern)) != std::string::npos)
            replacement.clear();
        const std::string source = text(40);
        ASSERT_EQ(ReplaceAllNoCase(source, pattern, replacement),
                  test::LiteralReplaceAllNoCase(source, pattern, replacement))
            << "source " << testing::PrintToString(source) << " pattern " << testing::PrintToString(pattern);
    }
}

// Random pages built from the pieces the cut rules react to, half of them shaped like real sections.
class PageGenerator {
public:
    explicit PageGenerator(unsigned seed) : m_random(seed) {}

    std::string key() { return TopicKey(kTopics[m_random() % kTopics.size()]); }

    std::string page(const std::string& key)
    {
        std::string out;
        const int pieces = 5 + static_cast<int>(m_random() % 100);
        if (m_random() % 2 == 0) {
            for (int i = 0; i < pieces; ++i)
                out += piece(key);
            return out;
        }
        // Shaped: some noise, the section, mostly well-formed entries with noise between them.
        for (int i = static_cast<int>(m_random() % 4); i > 0; --i)
            out += piece(key);
        out += randomCase(m_random() % 2 == 0 ? "<a name=\"" + key + "\">" : "<a name=" + key + ">") + "\r\n<ul>\r\n";
        for (int i = 0; i < pieces / 3; ++i)
            out += m_random() % 4 == 0 ? piece(key) : shapedEntry();
        return out + randomCase("</ul>") + piece(key);
    }

private:
    std::string randomCase(std::string text)
    {
        for (char& c : text) {
            if (m_random() % 2 == 0)
                c = asciiUpper(c);
        }
        return text;
    }

    std::string shapedEntry()
    {
        static const std::vector<std::string> captions
            = {"Big News", "  Spaced   out  ", "Tips &amp; Tricks", "Foo\r\nBar",  "Diet Plan",          "Ten Ways",
               "www.site", "Bold <b>move</b>", "Caf\xE9",           "Line\rBreak", "Say &quot;hi&quot;", ""};
        std::string out = randomCase("<li>") + "<a href=\"x\">" + captions[m_random() % captions.size()];
        switch (m_random() % 5) {
        case 0: return out + "\n";               // no "</a>"
        case 1: return out + randomCase("</a>"); // "</a>" right before the next "<li>"
        default: return out + randomCase("</a>") + "</li>\r\n";
        }
    }

    std::string piece(const std::string& key)
    {
        static const std::vector<std::string> fixed = {"<li>",
                                                       "<li>",
                                                       "<li>",
                                                       "</a>",
                                                       "</a>",
                                                       "</ul>",
                                                       "<ul>",
                                                       "<a href=\"y\">",
                                                       ">",
                                                       "<",
                                                       "<b>",
                                                       "</b>",
                                                       "\r\n",
                                                       "\r\n",
                                                       "\r",
                                                       "\n",
                                                       "&amp;",
                                                       "&am",
                                                       "p;",
                                                       "&quot;",
                                                       " ",
                                                       "  ",
                                                       "   ",
                                                       "    ",
                                                       "<li class=\"x\">",
                                                       "</\r\na>",
                                                       "</&amp;a>",
                                                       "<l",
                                                       "i>",
                                                       "</",
                                                       "a>",
                                                       "News",
                                                       "Canal",
                                                       "sex",
                                                       ".com",
                                                       "Hello",
                                                       "Money",
                                                       "<a  name=\"",
                                                       "<a id=\""};
        switch (m_random() % 8) {
        case 0: { // an anchor, unquoted or quoted, for this or another key, in any case
            const std::string name = m_random() % 4 == 0 ? this->key() : key;
            return randomCase(m_random() % 2 == 0 ? "<a name=" + name : "<a name=\"" + name) + "\">";
        }
        case 1: { // NUL-free binary bytes
            std::string bytes(1 + m_random() % 6, ' ');
            for (char& c : bytes)
                c = static_cast<char>(1 + m_random() % 255);
            return bytes;
        }
        default: return randomCase(fixed[m_random() % fixed.size()]);
        }
    }

    std::mt19937 m_random;
};

TEST(ParseSourcePage, GivesWhatTheLiteralStepsGiveOnGeneratedPages)
{
    PageGenerator generate(2024);
    int pagesWithItems = 0;
    for (int i = 0; i < 5000; ++i) {
        const std::string key = generate.key();
        const std::string page = generate.page(key);
        const test::ReferenceParse expected = test::ReferenceParseSourcePage(page, key);
        const ParseRun run = parse(page, key);
        ASSERT_EQ(run.captions, expected.items) << "key " << key << " page " << testing::PrintToString(page);
        ASSERT_EQ(run.pumps, 2 * expected.entries) << testing::PrintToString(page);
        ASSERT_EQ(run.stopChecks, expected.entries) << testing::PrintToString(page);
        pagesWithItems += expected.items.empty() ? 0 : 1;
    }
    // The generator must keep producing pages that list something, or the comparison proves little.
    EXPECT_GT(pagesWithItems, 1000);
}

} // namespace
} // namespace qm
