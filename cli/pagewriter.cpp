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
    std::string collapsed;
    for (const char c : title) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > ' ' && byte != 0x7F)
            collapsed += c;
        else if (!collapsed.empty() && collapsed.back() != ' ')
            collapsed += ' ';
    }
    if (!collapsed.empty() && collapsed.back() == ' ')
        collapsed.pop_back();
    if (!isUtf8(collapsed))
        return std::nullopt;
    std::string page;
    page.reserve(collapsed.size());
    for (std::size_t i = 0; i < collapsed.size(); ++i) {
        const std::string_view rest = std::string_view(collapsed).substr(i);
        if (rest[0] == '>')
            page += "\u203A";
        else if (rest[0] == '<' && equalsNoCase(rest.substr(0, 8), "<a name="))
            page += "\u2039";
        else if (rest[0] == '&' && equalsNoCase(rest.substr(0, 5), "&amp;"))
            page += "\uFF06";
        else
            page += rest[0];
    }
    return page;
}

void TopicTitles::add(std::string title, std::optional<std::int64_t> date, std::uint64_t order)
{
    insert({!date, date ? -*date : 0, order}, std::move(title));
}

void TopicTitles::addAll(const TopicTitles& other)
{
    for (const auto& [rank, title] : other.m_titles)
        insert(rank, title);
}

void TopicTitles::insert(const Rank& rank, std::string title)
{
    // A title pushed out once can only come back newer: the limit's worst kept rank only improves.
    std::string folded = asciiLowerCopy(title);
    const auto known = m_ranks.find(folded);
    if (known != m_ranks.end()) {
        if (!(rank < known->second))
            return;
        m_titles.erase(known->second);
        known->second = rank;
    } else {
        if (m_titles.size() >= m_limit && (m_limit == 0 || !(rank < std::prev(m_titles.end())->first)))
            return;
        m_ranks.emplace(std::move(folded), rank);
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
