#include "research/contentfilter.h"

#include "platform/bytes.h"

#include <algorithm>
#include <bitset>
#include <vector>

namespace qm {
namespace {

static_assert(std::ranges::all_of(kBlockedFragments, [](std::string_view f) { return f.size() >= 2; }));

// The fragments grouped by their first byte, and a mark for every pair of bytes that begins one, in
// every letter case: a caption costs one table look-up per byte instead of seventy searches, and
// only a position whose pair begins a fragment is compared further.
class FragmentIndex final {
public:
    FragmentIndex()
    {
        for (const std::string_view fragment : kBlockedFragments) {
            m_byFirst[static_cast<unsigned char>(fragment[0])].push_back(fragment);
            for (const char a : {fragment[0], asciiUpper(fragment[0])})
                for (const char b : {fragment[1], asciiUpper(fragment[1])})
                    m_pairs.set(pairOf(a, b));
        }
    }

    bool matches(std::string_view text) const
    {
        for (std::size_t i = 0; i + 1 < text.size(); ++i) {
            if (!m_pairs.test(pairOf(text[i], text[i + 1])))
                continue;
            const std::string_view rest = text.substr(i);
            for (const std::string_view fragment : m_byFirst[static_cast<unsigned char>(asciiLower(text[i]))]) {
                if (fragment.size() <= rest.size()
                    && std::equal(fragment.begin(), fragment.end(), rest.begin(),
                                  [](char f, char t) { return f == asciiLower(t); }))
                    return true;
            }
        }
        return false;
    }

private:
    static std::size_t pairOf(char a, char b)
    {
        return std::size_t{static_cast<unsigned char>(a)} << 8 | static_cast<unsigned char>(b);
    }

    std::vector<std::string_view> m_byFirst[256];
    std::bitset<65536> m_pairs;
};

} // namespace

bool IsBlockedHeadline(std::string_view caption)
{
    static const FragmentIndex index;
    return index.matches(caption);
}

} // namespace qm
