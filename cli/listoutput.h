#pragma once

// The lists that research and qmk-export print, and the options that shape them:
//   --format text|md|csv|json   --ticked (lists with ticks only)   --dedupe   --lengths

#include "cli/commands.h"
#include "headlines/suggestionlist.h"

#include <iosfwd>
#include <string_view>
#include <vector>

namespace qm::cli {

// What --format takes.
inline constexpr std::string_view kListFormats[] = {"text", "md", "csv", "json"};

// Keeps the first item of every caption, ticked when any of its copies is; captions are the same
// when the sort compares them as equal (A-Z folded).
void dedupeItems(std::vector<Suggestion>& items);

// Writes the items (after --dedupe and --ticked) in the format of the command line's --format; a headline
// file's items have ticks of their own (withTicks), a research run's are all unticked:
//   text  "1<TAB>caption" per headline file item; the caption as parse prints it per research item
//   md    "- [x] caption" / "- [ ] caption"; "- caption" without ticks
//   csv   "checked,caption" and a row per item, quoted where needed, CR LF
//   json  [{"caption": ..., "checked": ...}, ...], captions read as utf8Text reads them
// --lengths adds each caption's characters (UTF-8 aware, else bytes) and words.
void writeList(std::ostream& out, std::vector<Suggestion> items, const CommandLine& line, bool withTicks);

} // namespace qm::cli
