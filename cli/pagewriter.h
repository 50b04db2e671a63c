#pragma once

// Builds a source page from titles: a section for each topic, written so that the program's own
// parser cuts out of it, for each topic key, exactly that topic's titles in their order.

#include "research/topics.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace qm::cli {

// The title as a page carries it: each run of blanks and control bytes one blank, trimmed, and the
// marks that would end, split or move an entry changed as little as a reader can still see: ">" as
// "›", the "<" of "<a name=" as "‹", the "&" of "&amp;" as "＆". Empty for a blank title; nullopt for
// a title that is not UTF-8, which the UTF-8 page cannot carry.
std::optional<std::string> PageTitle(std::string_view title);

// The titles of one topic, newest first: at most limit of them, each listed once (compared with A-Z
// folded), its newest copy counting; undated titles after dated ones, in the order they were added.
// Holds no more than limit titles at any time, however many are added.
class TopicTitles {
public:
    explicit TopicTitles(std::size_t limit) : m_limit(limit) {}

    // title: as the feed has it, left out if PageTitle makes it blank; false if not UTF-8. order: rises each call.
    bool add(std::string_view title, std::optional<std::int64_t> date, std::uint64_t order);
    void addAll(const TopicTitles& other);
    std::vector<std::string> newestFirst() const;

private:
    using Rank = std::tuple<bool, std::int64_t, std::uint64_t>; // undated, age, order: the lowest first
    void insert(const Rank& rank, std::string title);

    std::size_t m_limit;
    std::map<Rank, std::string> m_titles;
    std::unordered_map<std::string, Rank> m_ranks; // by the folded title
};

// The page: a section for each of the seven topics in the topic dialog's order, listing its titles
// where topics holds some (if none), else copied from base (from its anchor to its "</ul>"), else
// empty, so that no topic's key can find another topic's section.
std::string BuildPage(const std::array<std::optional<TopicTitles>, kTopics.size()>& topics, std::string_view base);

} // namespace qm::cli
