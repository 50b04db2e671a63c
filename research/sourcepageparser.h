#pragma once

// The source page parser: turns the text of the source page into headline suggestions for a topic.
// It is a fixed sequence of marker searches and cuts, not an HTML parser. For a topic key K:
//
// - The section starts at the first "<a name=" + K (letter case of A-Z free; K only has to begin the
//   name), or, when the page holds none, at the first "<a name=\"" + K; with neither, at the start of
//   the page. It ends just after the "<" of the first "</ul>" behind that start; without a "</ul>"
//   the section is empty.
// - Each "<li>" of the section starts an entry, which runs up to (not including) the one byte before
//   the next "<li>"; the last "<li>" of a section therefore never yields an item.
// - An entry is cleaned (CR LF pairs and "&amp;" removed, runs of spaces made one space), cut before
//   its first "</a>", and the caption is what follows the last ">" before that cut.
// - After each entry the walk moves to the first "</a>" at or after the entry's "<li>" (which may lie
//   in a later entry, whose "<li>" is then passed over) and takes the next "<li>" from there. When no
//   "</a>" is left, the walk ends after the current entry.
//
// Incomplete or malformed pages are not errors: they give fewer items, often none. Captions are bytes
// as they stand in the page (no entity other than "&amp;" is decoded, no character set is assumed).
// Time and memory are linear in the page size.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace qm {

class SuggestionSink;

// What the walk calls as it goes; any may be left empty.
struct ParseHooks {
    // Called twice per entry: after its item was appended (or skipped), and after the next entry was
    // looked up. The window pumps its messages here, so other commands may run in between.
    std::function<void()> pump;
    // Asked after each entry; true ends the walk there (Escape held, the run cancelled, ...).
    std::function<bool()> stop;
    // Told of each entry the walk takes, before its caption is filtered: where its "<li>" stands in
    // the page, and its link text (the entry cleaned and cut before its first "</a>", empty without
    // one), of which the caption is what follows the last ">". Valid during the call only.
    std::function<void(std::size_t offset, std::string_view linkText)> visit;
};

// Where the key's section stands: its anchor (npos when the page holds neither form, and the section
// then starts at the page's start) and the "<" of the first "</ul>" after that start (npos for none).
struct PageSection {
    std::size_t anchor = std::string_view::npos;
    std::size_t end = std::string_view::npos;
};
PageSection FindSection(std::string_view page, std::string_view key);

// Empties the sink, then appends the unticked captions of the key's section in page order, skipping
// empty and blocked ones. The page is copied before the first hook runs, so whatever the hooks do to
// the caller's text cannot reach the walk. A failure of a hook or of the sink ends the walk and
// passes to the caller; the items appended until then stay.
void ParseSourcePage(std::string_view page, std::string_view key, SuggestionSink& sink, const ParseHooks& hooks = {});

// Replaces the first occurrence of the pattern (A-Z compared without regard to case) by the
// replacement, in its own case, and searches again from the start until none is left: "    " with
// "  " -> " " gives " ". An empty pattern leaves the text unchanged. A replacement that holds the
// pattern would make this endless and throws std::invalid_argument instead.
std::string ReplaceAllNoCase(std::string_view source, std::string_view pattern, std::string_view replacement);

// Where the first match of a lower-case pattern at or after `from` starts, the letters A-Z of the text
// compared without regard to case; npos for none.
std::size_t findNoCase(std::string_view text, std::string_view lowerPattern, std::size_t from);

// The bytes of the source from the last to the first.
std::string ReverseText(std::string_view source);

} // namespace qm
