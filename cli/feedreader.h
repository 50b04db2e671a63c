#pragma once

// Reads RSS 2.0 and 0.9x, RSS 1.0 (RDF) and Atom 1.0 feeds with libxml2's streaming reader, in any
// encoding the feed declares, and hands out each item's title and date. The feed is untrusted: no
// DTD or external entity is ever loaded, nothing goes to the network, entities other than the five
// predefined ones and character references are left out, and memory stays small whatever the size.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

namespace qm::cli {

// A feed that could not be read; the message says why in plain words.
class FeedError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::size_t kMaxFeedBytes = std::size_t{64} << 20;

struct FeedItem {
    // UTF-8, as a reader shows it: entities and character references decoded once, CDATA as it
    // stands, an Atom HTML title as its text; blanks as the feed has them.
    std::string title;
    // RSS pubDate, Atom updated (else published), or dc:date: the first of these that reads.
    std::optional<std::int64_t> date;
};

// Fills the buffer with up to size bytes; returns their count, 0 at the end, -1 (errno set) on failure.
using FeedInput = std::function<long(char* buffer, std::size_t size)>;

// Reads one feed and passes each item that has a title to onItem, in feed order. Throws FeedError
// when the input fails, holds more than kMaxFeedBytes, is not well-formed XML (a truncated feed
// included) or is not a feed; items passed before that stay passed.
void ReadFeed(const FeedInput& input, const std::function<void(FeedItem&&)>& onItem);

// The text of an HTML fragment: tags dropped, entities decoded; a "<" that opens no tag stays.
std::string HtmlText(std::string_view html);

} // namespace qm::cli
