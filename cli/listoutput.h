#pragma once

// The lists that research and qmk-export print, and the options that shape them:
//   --format text|md|csv|json   --ticked (lists with ticks only)   --dedupe   --lengths

#include "cli/commands.h"
#include "headlines/suggestionlist.h"

#include <array>
#include <iosfwd>
#include <string_view>
#include <vector>

namespace qm::cli {

enum class ListFormat { text, md, csv, json };

struct ListOptions {
    // A headline file's items have ticks of their own; a research run's are all unticked.
    bool withTicks = true;
    ListFormat format = ListFormat::text;
    bool ticked = false;
    bool dedupe = false;
    bool lengths = false;
};

// The formats' names for --format, in the order of ListFormat.
inline constexpr std::array<std::string_view, 4> kListFormats = {"text", "md", "csv", "json"};

// The list options of a command line that --format checked against kListFormats.
ListOptions listOptions(const CommandLine& line, bool withTicks);

// Keeps the first item of every caption, ticked when any of its copies is; captions are the same
// when the sort compares them as equal (A-Z folded).
void dedupeItems(std::vector<Suggestion>& items);

// Writes the items (after --dedupe and --ticked) in the chosen format:
//   text  "1<TAB>caption" per headline file item; the caption as parse prints it per research item
//   md    "- [x] caption" / "- [ ] caption"; "- caption" without ticks
//   csv   "checked,caption" and a row per item, quoted where needed, CR LF
//   json  [{"caption": ..., "checked": ...}, ...], captions read as utf8Text reads them
// --lengths adds each caption's characters (UTF-8 aware, else bytes) and words.
void writeList(std::ostream& out, std::vector<Suggestion> items, const ListOptions& options);

} // namespace qm::cli
