#pragma once

// Reads RSS 2.0 and 0.9x, RSS 1.0 (RDF) and Atom 1.0 feeds with libxml2's streaming reader, in any
// encoding the feed declares, and hands out each item's title and date. The feed is untrusted: no
// DTD or external entity is ever loaded, nothing goes to the network, entities other than the five
// predefined ones and character references are left out, and memory stays small whatever the size.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

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

// Reads one feed and passes each item that has a title to onItem, in feed order. Throws FeedError
// when the input fails, holds more than kMaxFeedBytes, is not well-formed XML (a truncated feed
// included) or is not a feed; items passed before that stay passed.
void ReadFeed(std::istream& in, const std::function<void(FeedItem&&)>& onItem);

// An item's date in seconds since 1970 UTC, from "Sat, 07 Sep 2002 09:42:31 GMT" (RSS; the zone a
// US zone name, +hhmm, or UTC for any other name) or "2002-09-07T09:42:31.5+02:00" (Atom, dc:date;
// the date alone is its midnight UTC). Anything else, a day the month does not have included, gives
// nullopt: the item counts as undated.
std::optional<std::int64_t> ParseFeedDate(std::string_view text);

} // namespace qm::cli
