#pragma once

// The dates of feed items, as seconds since 1970-01-01 00:00 UTC.

#include <cstdint>
#include <optional>
#include <string_view>

namespace qm::cli {

// Reads the two forms feeds write dates in:
// - "Sat, 07 Sep 2002 09:42:31 GMT" (RSS): weekday optional, two- or four-digit year, seconds
//   optional; the zone +hhmm / -hhmm, or a name (UT, GMT, Z and the US zones EST to PDT; any other
//   name, the military letters included, counts as UTC). A missing zone counts as UTC.
// - "2002-09-07T09:42:31Z" (Atom, dc:date): fraction of a second optional, "t" or a blank for "T",
//   the zone Z or +hh:mm / -hh:mm (UTC when missing); the date alone means its midnight UTC.
// Blanks around the text are ignored. Anything else, a day the month does not have included, gives
// nullopt: such an item counts as undated.
std::optional<std::int64_t> ParseFeedDate(std::string_view text);

} // namespace qm::cli
