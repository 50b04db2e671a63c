#pragma once

// Headline files (".qmk"): the suggestion list, ticks included, as a private-profile file. Item i
// (from 0, in display order) is the section "item<i>" with the key "t", the caption byte for byte, and
// the key "check", "1" when the item is ticked and "0" when not. Nothing else is written.

#include "headlines/suggestionlist.h"
#include "platform/profilefile.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace qm {

// Room for a caption read back: at most 2,047 bytes and the terminating zero. A headline is never
// that long; a longer caption is saved whole but reads back cut.
constexpr std::size_t kCaptionBufferBytes = 2048;

// Replaces the file with the list's items, written afresh (nothing the file held before survives) and
// atomically. Throws FileError; the file then keeps its earlier content and no partial file is left.
void saveHeadlineFile(const SuggestionList& list, const std::filesystem::path& path);

// Replaces the list's items by the file's. The file is read whole first: when it cannot be read
// (missing, unreadable, too large) FileError is thrown and the list stays as it was. Otherwise the
// list is emptied and filled by readHeadlineItems(); a readable file that is not INI-structured gives
// an empty list.
void openHeadlineFile(const std::filesystem::path& path, SuggestionSink& list);

// Appends the file's items: with n the number of section names, whatever they are, each section
// "item<i>" for i < n that holds at least one key gives one item in the order of i; its caption is
// "t" (empty when missing) cut to 2,047 bytes, its tick comes from "check" (ticked when missing).
// Sections of higher numbers are never read: the sections item0 and item2 give one item.
void readHeadlineItems(const ProfileFile& file, SuggestionSink& list);

// The signed 32-bit integer a "check" value converts to: optional leading blanks, an optional sign,
// then decimal digits, or hexadecimal digits after "$", "x", "X", "0x" or "0X" (at most 32 bits, taken
// as the two's complement pattern), and nothing after them. Nothing for anything else: an empty text,
// words, a number outside the 32-bit range.
std::optional<std::int32_t> convertCheckValue(std::string_view value);

} // namespace qm
