// What research and qmk-export print: the list formats and their options.
#include "cli/commands.h"

#include "headlines/listcommands.h"
#include "platform/utf8text.h"

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

namespace qm::cli {
namespace {

struct Lengths {
    std::size_t characters = 0;
    std::size_t words = 0;
};

Lengths lengthsOf(std::string_view caption)
{
    Lengths lengths;
    // Every byte of the UTF-8 text that does not continue a character starts one.
    for (const char c : utf8Text(caption))
        lengths.characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    bool inWord = false;
    for (const char c : caption) {
        const bool blank = c == ' ' || (c >= '\t' && c <= '\r');
        lengths.words += !blank && !inWord ? 1 : 0;
        inWord = !blank;
    }
    return lengths;
}

// A CSV field: in quotes, its own quotes doubled, when it holds a quote, a comma, a CR or an LF.
void writeCsvField(std::ostream& out, std::string_view field)
{
    if (field.find_first_of("\",\r\n") == std::string_view::npos) {
        out << field;
        return;
    }
    out << '"';
    for (const char c : field)
        out << (c == '"' ? "\"\"" : std::string_view(&c, 1));
    out << '"';
}

void writeJson(std::ostream& out, const std::vector<Suggestion>& items, bool lengths)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const Suggestion& item : items) {
        nlohmann::ordered_json& entry = list.emplace_back();
        entry["caption"] = utf8Text(item.caption);
        entry["checked"] = item.checked;
        if (lengths) {
            const Lengths l = lengthsOf(item.caption);
            entry["characters"] = l.characters;
            entry["words"] = l.words;
        }
    }
    out << list.dump(2) << '\n';
}

} // namespace

void dedupeItems(std::vector<Suggestion>& items)
{
    const auto before = [](std::string_view a, std::string_view b) { return ListView1Compare(a, b) < 0; };
    // Each caption seen, viewing the items (unchanged until the end), with its place in kept.
    std::map<std::string_view, std::size_t, decltype(before)> seen(before);
    std::vector<Suggestion> kept;
    for (const Suggestion& item : items) {
        const auto [at, fresh] = seen.try_emplace(item.caption, kept.size());
        if (fresh)
            kept.push_back(item);
        else if (item.checked)
            kept[at->second].checked = true;
    }
    items = std::move(kept);
}

void writeList(std::ostream& out, std::vector<Suggestion> items, const CommandLine& line, bool withTicks)
{
    const std::string_view format = line.value("--format", "text");
    const bool lengths = line.has("--lengths");
    if (line.has("--dedupe"))
        dedupeItems(items);
    if (line.has("--ticked"))
        std::erase_if(items, [](const Suggestion& item) { return !item.checked; });
    if (format == "json")
        return writeJson(out, items, lengths);
    if (format == "csv")
        out << (lengths ? "checked,caption,characters,words\r\n" : "checked,caption\r\n");
    for (const Suggestion& item : items) {
        const Lengths l = lengths ? lengthsOf(item.caption) : Lengths{};
        const char tick = item.checked ? '1' : '0';
        if (format == "csv") {
            out << tick << ',';
            writeCsvField(out, item.caption);
            if (lengths)
                out << ',' << l.characters << ',' << l.words;
            out << "\r\n";
        } else if (format == "md") {
            out << (!withTicks ? "- " : item.checked ? "- [x] " : "- [ ] ");
            writeCaption(out, item.caption,
                         !lengths ? std::string("\n")
                                  : " (" + std::to_string(l.characters) + " characters, " + std::to_string(l.words)
                                        + " words)\n");
        } else {
            if (withTicks)
                out << tick << '\t';
            if (lengths)
                out << l.characters << '\t' << l.words << '\t';
            if (withTicks)
                out << item.caption << '\n';
            else
                writeCaption(out, item.caption);
        }
    }
}

} // namespace qm::cli
