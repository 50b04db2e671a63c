// The table of quillmark-cli's commands, its usage text, and the one reader of every command's arguments.
#include "cli/commands.h"

#include "platform/buildvalues.h"

#include "net/tidhttp.h"
#include "net/tmemorystream.h"

#include <algorithm>
#include <array>
#include <ostream>

namespace qm::cli {
namespace {

struct Command {
    std::string_view name;
    std::string_view help; // its line in the usage text
    int (*run)(Args, std::istream&, std::ostream&, std::ostream&);
};

constexpr std::array kCommands = {
    Command{"parse", "parse KEY            < page     suggestions of a source page for a topic key", runParse},
    Command{"fetch", "fetch URL                       the body of one HTTP GET, to standard output", runFetch},
    Command{"research", "research KEY [--url URL]        download the source page and list its suggestions",
            runResearch},
    Command{"qmk-export", "qmk-export FILE                 the items of a headline file, \"1<TAB>caption\" per line",
            runQmkExport},
    Command{"qmk-import", "qmk-import FILE      < items    write a headline file from such lines", runQmkImport},
    Command{"qmk-merge", "qmk-merge OUT IN...             one headline file of the inputs' items, each caption once",
            runQmkMerge},
    Command{"check", "check KEY [--url URL] [< page]  how the parser walks a page's section, entry by entry", runCheck},
    Command{"page", "page KEY=FEED...                a source page from RSS and Atom feeds (page --help)", runPage},
};

// The usage text: on standard output and with status 0 when asked for, on standard error and with
// status 2 after a wrong command line.
int usage(std::ostream& out, int status)
{
    out << "usage: quillmark-cli COMMAND [ARGS]\n";
    for (const Command& c : kCommands)
        out << "  " << c.help << '\n';
    out << "       quillmark-cli --help | --version\n";
    out << "research and qmk-export take --format text|md|csv|json, --dedupe and --lengths; qmk-export --ticked\n";
    return status;
}

// Which page the built-in address serves: the package's refresh ends each page it builds from feeds
// with "<!-- quillmark-refresh: built from feeds at TIME -->"; any other page is as published.
std::string_view servedPage(std::string_view page)
{
    constexpr std::string_view kMark = "<!-- quillmark-refresh: ";
    const std::size_t at = page.rfind(kMark);
    const std::string_view said = page.substr(at == std::string_view::npos ? page.size() : at + kMark.size());
    const std::string_view when = said.substr(0, said.find(" -->"));
    const bool plain = std::ranges::all_of(when, [](char c) { return c >= ' ' && c <= '~'; });
    return when.size() < said.size() && plain ? when : "as published, not refreshed from feeds";
}

} // namespace

void writeVersion(std::ostream& out, std::string_view url)
{
    out << "quillmark-cli " << kVersion << "\nsource page: " << url << "\nserved page: ";
    TMemoryStream page;
    try {
        TIdHTTP().GetDocument(url, page);
        out << servedPage(page.Bytes()) << '\n';
    } catch (const std::exception&) {
        out << "none, the address does not answer now\n";
    }
}

int run(Args args, std::istream& in, std::ostream& out, std::ostream& err)
{
    if (args.empty())
        return usage(err, 2);
    if (args.size() == 1 && args[0] == "--help")
        return usage(out, 0);
    if (args.size() == 1 && args[0] == "--version") {
        writeVersion(out, kSourcePageUrl);
        return 0;
    }
    const auto command = std::ranges::find(kCommands, args[0], &Command::name);
    if (command == kCommands.end())
        return usage(err, 2);
    const int status = command->run(args.subspan(1), in, out, err);
    out.flush();
    return status;
}

std::optional<int> CommandLine::read(const Syntax& syntax, Args args, std::ostream& out, std::ostream& err)
{
    const auto usage = [&](std::ostream& to, int status) {
        to << "usage: quillmark-cli " << syntax.usage << '\n';
        return status;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const auto option = std::ranges::find(syntax.options, args[i], &Option::name);
        const auto& choices = option == syntax.options.end() ? std::span<const std::string_view>() : option->choices;
        if (args[i] == "--help")
            return usage(out, 0);
        if (option == syntax.options.end())
            operands.push_back(args[i]);
        else if (!option->takesValue)
            options[option->name] = {};
        else if (++i < args.size() && (choices.empty() || std::ranges::find(choices, args[i]) != choices.end()))
            options[option->name] = args[i];
        else if (choices.empty())
            return usage(err, 2);
        else {
            // "research: --format takes text, md, csv or json"
            err << syntax.usage.substr(0, syntax.usage.find(' ')) << ": " << option->name << " takes ";
            for (std::size_t c = 0; c < choices.size(); ++c)
                err << (c == 0 ? "" : c + 1 < choices.size() ? ", " : " or ") << choices[c];
            err << '\n';
            return 2;
        }
    }
    if (operands.size() < syntax.minOperands || operands.size() > syntax.maxOperands)
        return usage(err, 2);
    return std::nullopt;
}

std::string_view CommandLine::value(std::string_view option, std::string_view fallback) const
{
    const auto found = options.find(option);
    return found == options.end() ? fallback : found->second;
}

} // namespace qm::cli
