#include "headlines/listcommands.h"

#include "platform/atomicfile.h"
#include "platform/bytes.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace qm {

int ListView1Compare(std::string_view a, std::string_view b) noexcept
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(asciiUpper(a[i]));
        const auto y = static_cast<unsigned char>(asciiUpper(b[i]));
        if (x != y)
            return int{x} - int{y};
    }
    // The length difference, kept within int for captions beyond 2 GB.
    constexpr auto kMax = static_cast<std::ptrdiff_t>(std::numeric_limits<int>::max());
    const auto difference = static_cast<std::ptrdiff_t>(a.size()) - static_cast<std::ptrdiff_t>(b.size());
    return static_cast<int>(std::clamp(difference, -kMax, kMax));
}

std::vector<std::size_t> sortedOrder(std::span<const std::string> captions)
{
    std::vector<std::size_t> order(captions.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [captions](std::size_t x, std::size_t y) {
        return ListView1Compare(captions[x], captions[y]) < 0;
    });
    return order;
}

void addSelection(const SuggestionList& suggestions, IdeaList& ideas)
{
    const std::size_t n = suggestions.count();
    for (std::size_t i = 0; i < n; ++i) {
        if (!suggestions.isChecked(i))
            continue;
        const std::string caption = suggestions.caption(i);
        if (!caption.empty())
            ideas.appendLine(caption);
    }
}

namespace {

// Gives every item the tick that tick(its tick) returns.
template <typename Tick> void retick(SuggestionList& suggestions, Tick tick)
{
    for (std::size_t i = 0, n = suggestions.count(); i < n; ++i)
        suggestions.setChecked(i, tick(suggestions.isChecked(i)));
}

} // namespace

void selectAll(SuggestionList& suggestions)
{
    retick(suggestions, [](bool) { return true; });
}

void selectNone(SuggestionList& suggestions)
{
    retick(suggestions, [](bool) { return false; });
}

void invertSelection(SuggestionList& suggestions)
{
    retick(suggestions, [](bool ticked) { return !ticked; });
}

void saveIdeaList(const IdeaList& ideas, const std::filesystem::path& path) { writeFileAtomically(path, ideas.text()); }

} // namespace qm
