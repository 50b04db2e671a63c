// ReadFeed on arbitrary bytes, handed over in small pieces as a pipe would. Besides crashes, leaks and
// hangs it checks that every title comes out as UTF-8 and that the page built from the titles gives
// them back, in order, through the source page parser.
#include "cli/feedreader.h"
#include "cli/pagewriter.h"
#include "headlines/suggestionlist.h"
#include "platform/utf8text.h"
#include "research/sourcepageparser.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::size_t at = 0;
    const qm::cli::FeedInput input = [&](char* buffer, std::size_t room) {
        const std::size_t n = std::min({room, size - at, std::size_t{97}});
        std::memcpy(buffer, data + at, n);
        at += n;
        return static_cast<long>(n);
    };
    qm::cli::TopicTitles titles(50);
    std::uint64_t order = 0;
    try {
        qm::cli::ReadFeed(input, [&](qm::cli::FeedItem&& item) {
            const std::optional<std::string> title = qm::cli::PageTitle(item.title);
            if (!qm::isUtf8(item.title) || !title)
                __builtin_trap();
            if (!title->empty())
                titles.add(*title, item.date, order++);
        });
    } catch (const qm::cli::FeedError&) {
    }
    std::array<std::optional<std::vector<std::string>>, 7> sections;
    sections[5] = titles.newestFirst();
    std::vector<std::string> cut;
    qm::ParseHooks hooks;
    hooks.report = [&](const qm::EntryReport& entry) {
        if (entry.fate == qm::EntryFate::Listed || entry.fate == qm::EntryFate::Blocked)
            cut.emplace_back(entry.caption);
    };
    qm::VectorSuggestions sink;
    qm::ParseSourcePage(qm::cli::BuildPage(sections, {}), "Misc", sink, hooks);
    if (cut != *sections[5])
        __builtin_trap();
    return 0;
}
