#pragma once

// The commands on the suggestion list and the idea list, over the core's view of both lists. The main
// window binds them to its controls; each command's page switch and dialogs stay with the window.

#include "headlines/idealist.h"
#include "headlines/suggestionlist.h"

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// The sort comparison of two captions: bytes compared as unsigned values after folding a-z to A-Z
// (nothing else is folded). Negative, zero or positive as a sorts before, with or after b: the first
// differing folded bytes' difference, else the difference of the lengths, so a caption sorts after
// every caption that is a prefix of it. Captions that differ only in ASCII case compare equal.
int ListView1Compare(std::string_view a, std::string_view b) noexcept;

// The display order after a sort: the captions' positions, ascending by ListView1Compare. Captions
// that compare equal keep their order.
std::vector<std::size_t> sortedOrder(std::span<const std::string> captions);

// Appends every ticked, non-empty caption, in display order, as a new line of the idea list. Ticks and
// the suggestion list stay as they are; a caption already in the idea list is added again.
void addSelection(const SuggestionList& suggestions, IdeaList& ideas);

void selectAll(SuggestionList& suggestions);
void selectNone(SuggestionList& suggestions);
void invertSelection(SuggestionList& suggestions);

// Writes the idea list's text (its lines, each followed by CR LF, nothing else) to the file,
// replacing it atomically. Throws FileError; the file then keeps its earlier content.
void saveIdeaList(const IdeaList& ideas, const std::filesystem::path& path);

} // namespace qm
