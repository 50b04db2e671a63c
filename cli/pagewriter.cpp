#include "cli/pagewriter.h"

#include "platform/bytes.h"
#include "platform/utf8text.h"
#include "research/sourcepageparser.h"
#include "research/topics.h"

#include <iterator>

namespace qm::cli {
namespace {

constexpr std::string_view kHead = R"(<!DOCTYPE html>
<html lang="en">
<head><meta charset="utf-8"><title>Quillmark headline ideas</title><link rel="stylesheet" href="style.css"></head>
<body id="top">
<h1>Quillmark headline ideas</h1>
<p>Fresh headlines from feeds, newest first, sorted by topic.</p>
<main>
)";

// The parser never lists a section's last entry: this line closes every list.
constexpr std::string_view kLastEntry = "<li><a href=\"#top\">Back to the topics</a></li>\n</ul>\n";

} // namespace

std::optional<std::string> PageTitle(std::string_view title)
{
    // Blanks and control bytes are ASCII: collapsing them cannot make a title UTF-8 or stop it being so.
    if (!isUtf8(title))
        return std::nullopt;
    std::string page;
    page.reserve(title.size() + 8);
    for (const char c : title) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte == 0x7F) {
            if (!page.empty() && page.back() != ' ')
                page += ' ';
            continue;
        }
        page += c == '>' ? std::string_view("\u203A") : std::string_view(&c, 1);
        // "<a name=" and "&amp;" are seen once whole (blanks collapsed): their first byte changes.
        const std::string_view mark = c == '=' ? "<a name=" : c == ';' ? "&amp;" : "";
        if (!mark.empty() && page.size() >= mark.size()
            && equalsNoCase(std::string_view(page).substr(page.size() - mark.size()), mark))
            page.replace(page.size() - mark.size(), 1, c == '=' ? "\u2039" : "\uFF06");
    }
    if (!page.empty() && page.back() == ' ')
        page.pop_back();
    return page;
}

bool TopicTitles::add(std::string_view title, std::optional<std::int64_t> date, std::uint64_t order)
{
    // A title that a full list would not keep is not made ready for the page in vain.
    const Rank rank{!date, date ? -*date : 0, order};
    if (m_titles.size() >= m_limit && (m_limit == 0 || !(rank < std::prev(m_titles.end())->first)))
        return isUtf8(title);
    std::optional<std::string> page = PageTitle(title);
    if (page && !page->empty())
        insert(rank, std::move(*page));
    return page.has_value();
}

void TopicTitles::addAll(const TopicTitles& other)
{
    for (const auto& [rank, title] : other.m_titles)
        insert(rank, title);
}

void TopicTitles::insert(const Rank& rank, std::string title)
{
    // A title pushed out once can only come back newer: the limit's worst kept rank only improves.
    const auto [known, added] = m_ranks.try_emplace(asciiLowerCopy(title), rank);
    if (!added) {
        if (!(rank < known->second))
            return;
        m_titles.erase(known->second);
        known->second = rank;
    }
    m_titles.emplace(rank, std::move(title));
    if (m_titles.size() > m_limit) {
        const auto last = std::prev(m_titles.end());
        m_ranks.erase(asciiLowerCopy(last->second));
        m_titles.erase(last);
    }
}

std::vector<std::string> TopicTitles::newestFirst() const
{
    std::vector<std::string> titles;
    titles.reserve(m_titles.size());
    for (const auto& entry : m_titles)
        titles.push_back(entry.second);
    return titles;
}

std::string BuildPage(const std::array<std::optional<TopicTitles>, kTopics.size()>& topics, std::string_view base)
{
    std::string page(kHead);
    for (std::size_t i = 0; i < kTopics.size(); ++i) {
        const std::string key = TopicKey(kTopics[i]);
        page.append("<section class=\"topic\">\n<h2>").append(kTopics[i]).append("</h2>\n");
        const PageSection copied = topics[i] ? PageSection{} : FindSection(base, key);
        if (copied.anchor != std::string_view::npos && copied.end != std::string_view::npos) {
            page.append(base.substr(copied.anchor, copied.end - copied.anchor)).append("</ul>\n");
        } else {
            page.append("<a name=\"").append(key).append("\"></a>\n<ul>\n");
            for (const std::string& title : topics[i] ? topics[i]->newestFirst() : std::vector<std::string>{})
                page.append("<li><a href=\"#top\">").append(title).append("</a></li>\n");
            page.append(kLastEntry);
        }
        page.append("</section>\n");
    }
    return page.append("</main>\n</body>\n</html>\n");
}

} // namespace qm::cli
