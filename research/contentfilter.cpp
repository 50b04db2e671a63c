#include "research/contentfilter.h"

#include "platform/bytes.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace qm {
namespace {

// A deterministic automaton over all fragments at once (Aho-Corasick with every failure transition
// resolved in advance), so a caption costs one table step per byte instead of seventy searches.
// Bytes that occur in no fragment share one input class, which keeps the table small.
class FragmentMatcher final {
public:
    FragmentMatcher()
    {
        // Input classes: 0 for bytes in no fragment; A-Z share the class of a-z.
        for (const std::string_view fragment : kBlockedFragments) {
            for (const char c : fragment) {
                auto& cls = m_class[static_cast<unsigned char>(c)];
                if (cls == 0)
                    cls = static_cast<std::uint8_t>(m_classes++);
            }
        }
        for (int b = 'A'; b <= 'Z'; ++b)
            m_class[static_cast<std::size_t>(b)] = m_class[static_cast<unsigned char>(asciiLower(static_cast<char>(b)))];

        // The trie; -1 marks a missing edge until the failure links fill it in.
        std::vector<std::vector<int>> edges(1, std::vector<int>(m_classes, -1));
        std::vector<bool> accept(1, false);
        for (const std::string_view fragment : kBlockedFragments) {
            int state = 0;
            for (const char c : fragment) {
                const int cls = m_class[static_cast<unsigned char>(c)];
                if (edges[static_cast<std::size_t>(state)][static_cast<std::size_t>(cls)] < 0) {
                    edges[static_cast<std::size_t>(state)][static_cast<std::size_t>(cls)] = static_cast<int>(edges.size());
                    edges.emplace_back(m_classes, -1);
                    accept.push_back(false);
                }
                state = edges[static_cast<std::size_t>(state)][static_cast<std::size_t>(cls)];
            }
            accept[static_cast<std::size_t>(state)] = true;
        }

        // Breadth first, so a state's failure target is complete before the state itself.
        std::vector<int> fail(edges.size(), 0);
        std::deque<int> queue;
        for (int& target : edges[0]) {
            if (target < 0) {
                target = 0;
            } else {
                queue.push_back(target);
            }
        }
        while (!queue.empty()) {
            const auto state = static_cast<std::size_t>(queue.front());
            queue.pop_front();
            // A state is accepting when any fragment ends here, also as a suffix of a longer path.
            if (accept[static_cast<std::size_t>(fail[state])])
                accept[state] = true;
            for (std::size_t cls = 0; cls < edges[state].size(); ++cls) {
                int& target = edges[state][cls];
                const int fallback = edges[static_cast<std::size_t>(fail[state])][cls];
                if (target < 0) {
                    target = fallback;
                } else {
                    fail[static_cast<std::size_t>(target)] = fallback;
                    queue.push_back(target);
                }
            }
        }

        // Each entry holds the target's row offset, so a step is one load; an accepting target is
        // stored as kMatched, since the first match already answers.
        m_next.reserve(edges.size() * static_cast<std::size_t>(m_classes));
        for (const auto& row : edges) {
            for (const int target : row)
                m_next.push_back(accept[static_cast<std::size_t>(target)]
                                     ? kMatched
                                     : static_cast<std::uint16_t>(target * m_classes));
        }
    }

    bool matches(std::string_view text) const
    {
        std::uint16_t row = 0;
        for (const char c : text) {
            row = m_next[row + m_class[static_cast<unsigned char>(c)]];
            if (row == kMatched)
                return true;
        }
        return false;
    }

private:
    static constexpr std::uint16_t kMatched = 0xFFFF;

    std::uint8_t m_class[256] = {};
    int m_classes = 1;
    std::vector<std::uint16_t> m_next; // row offset + class -> row offset of the next state
};

} // namespace

bool IsBlockedHeadline(std::string_view caption)
{
    static const FragmentMatcher matcher;
    return matcher.matches(caption);
}

std::string_view BlockingFragment(std::string_view caption)
{
    const std::string lower = asciiLowerCopy(caption);
    for (const std::string_view fragment : kBlockedFragments) {
        if (lower.find(fragment) != std::string::npos)
            return fragment;
    }
    return {};
}

} // namespace qm
