// ReadFeed on arbitrary bytes. Besides crashes, leaks and
// hangs it checks that every title a page carries is UTF-8 and that the page built from the titles gives
// them back, in order, through the source page parser.
#include "cli/feedreader.h"
#include "cli/pagewriter.h"
#include "headlines/suggestionlist.h"
#include "platform/utf8text.h"
#include "research/sourcepageparser.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream input(std::string(reinterpret_cast<const char*>(data), size));
    std::array<std::optional<qm::cli::TopicTitles>, qm::kTopics.size()> topics;
    qm::cli::TopicTitles& titles = topics[5].emplace(50);
    std::uint64_t order = 0;
    try {
        qm::cli::ReadFeed(input, [&](qm::cli::FeedItem&& item) {
            const std::optional<std::string> title = qm::cli::PageTitle(item.title);
            if (title && !qm::isUtf8(*title))
                __builtin_trap();
            if (title && !title->empty())
                titles.add(*title, item.date, order++);
        });
    } catch (const qm::cli::FeedError&) {
    }
    std::vector<std::string> cut;
    qm::ParseHooks hooks;
    hooks.visit = [&](std::size_t, std::string_view linkText) {
        const std::size_t tagEnd = linkText.rfind('>'); // the caption follows the link's last tag
        if (tagEnd != std::string_view::npos && tagEnd + 1 < linkText.size())
            cut.emplace_back(linkText.substr(tagEnd + 1));
    };
    qm::VectorSuggestions sink;
    qm::ParseSourcePage(qm::cli::BuildPage(topics, {}), "Misc", sink, hooks);
    if (cut != titles.newestFirst())
        __builtin_trap();
    return 0;
}
