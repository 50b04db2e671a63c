// ParseSourcePage on arbitrary page bytes. The first byte picks one of the seven topic keys; the rest
// is the page. Besides crashes and hangs it checks what must hold for every page: captions are
// non-empty, hold no ">" and pass the filter; the walk pumps twice per stop check; and the entries
// taken whose captions pass the filter are the list's items.
#include "headlines/suggestionlist.h"
#include "research/contentfilter.h"
#include "research/sourcepageparser.h"
#include "research/topics.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string key = qm::TopicKey(qm::kTopics[data[0] % qm::kTopics.size()]);
    const std::string_view page(reinterpret_cast<const char*>(data + 1), size - 1);

    qm::VectorSuggestions list;
    std::size_t pumps = 0;
    std::size_t stopChecks = 0;
    qm::ParseHooks hooks;
    hooks.pump = [&] { ++pumps; };
    hooks.stop = [&] {
        ++stopChecks;
        return false;
    };
    std::vector<std::string> expected; // the captions of the entries taken that pass the filter
    hooks.visit = [&](std::size_t offset, std::string_view linkText) {
        const std::size_t tagEnd = linkText.rfind('>');
        const std::string_view caption = tagEnd == std::string_view::npos ? "" : linkText.substr(tagEnd + 1);
        if (offset >= page.size())
            __builtin_trap();
        if (!caption.empty() && !qm::IsBlockedHeadline(caption))
            expected.emplace_back(caption);
    };
    qm::ParseSourcePage(page, key, list, hooks);
    std::size_t listed = 0;
    for (const qm::Suggestion& item : list.items()) {
        if (item.caption.empty() || item.caption.find('>') != std::string::npos || item.checked
            || qm::IsBlockedHeadline(item.caption) || listed >= expected.size() || item.caption != expected[listed++])
            __builtin_trap();
    }
    if (pumps != 2 * stopChecks || listed != expected.size())
        __builtin_trap();
    return 0;
}
