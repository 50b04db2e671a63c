#include "cli/listoutput.h"

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

bool takeListOptions(std::string_view command, Args args, ListOptions& options, std::vector<std::string_view>& rest,
                     std::ostream& err)
{
    static const std::map<std::string_view, ListFormat> formats
        = {{"text", ListFormat::text}, {"md", ListFormat::md}, {"csv", ListFormat::csv}, {"json", ListFormat::json}};
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--format") {
            const auto found = i + 1 < args.size() ? formats.find(args[++i]) : formats.end();
            if (found == formats.end()) {
                err << command << ": --format takes text, md, csv or json\n";
                return false;
            }
            options.format = found->second;
        } else if (args[i] == "--ticked" && options.withTicks) {
            options.ticked = true;
        } else if (args[i] == "--dedupe") {
            options.dedupe = true;
        } else if (args[i] == "--lengths") {
            options.lengths = true;
        } else {
            rest.push_back(args[i]);
        }
    }
    return true;
}

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

void writeList(std::ostream& out, std::vector<Suggestion> items, const ListOptions& options)
{
    if (options.dedupe)
        dedupeItems(items);
    if (options.ticked)
        std::erase_if(items, [](const Suggestion& item) { return !item.checked; });
    if (options.format == ListFormat::json)
        return writeJson(out, items, options.lengths);
    if (options.format == ListFormat::csv)
        out << (options.lengths ? "checked,caption,characters,words\r\n" : "checked,caption\r\n");
    for (const Suggestion& item : items) {
        const Lengths l = options.lengths ? lengthsOf(item.caption) : Lengths{};
        const char tick = item.checked ? '1' : '0';
        if (options.format == ListFormat::csv) {
            out << tick << ',';
            writeCsvField(out, item.caption);
            if (options.lengths)
                out << ',' << l.characters << ',' << l.words;
            out << "\r\n";
        } else if (options.format == ListFormat::md) {
            out << (!options.withTicks ? "- " : item.checked ? "- [x] " : "- [ ] ");
            writeCaption(out, item.caption,
                         !options.lengths ? std::string("\n")
                                          : " (" + std::to_string(l.characters) + " characters, "
                                                + std::to_string(l.words) + " words)\n");
        } else {
            if (options.withTicks)
                out << tick << '\t';
            if (options.lengths)
                out << l.characters << '\t' << l.words << '\t';
            if (options.withTicks)
                out << item.caption << '\n';
            else
                writeCaption(out, item.caption);
        }
    }
}

} // namespace qm::cli
