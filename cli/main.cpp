// quillmark-cli: the headless front end over the same core as the desktop program.
#include "cli/commands.h"

#include <array>
#include <cstdio>
#include <iostream>
#include <string_view>
#include <vector>

namespace {

struct Command {
    std::string_view name;
    std::string_view usage;
    int (*run)(qm::cli::Args, std::istream&, std::ostream&, std::ostream&);
};

constexpr std::array kCommands = {
    Command{"parse", "parse KEY            < page     suggestions of a source page for a topic key", qm::cli::runParse},
    Command{"fetch", "fetch URL                       the body of one HTTP GET, to standard output", qm::cli::runFetch},
    Command{"research", "research KEY [--url URL]        download the source page and list its suggestions", qm::cli::runResearch},
    Command{"qmk-export", "qmk-export FILE                 the items of a headline file, \"1<TAB>caption\" per line", qm::cli::runQmkExport},
    Command{"qmk-import", "qmk-import FILE      < items    write a headline file from such lines", qm::cli::runQmkImport},
    Command{"qmk-merge", "qmk-merge OUT IN...             one headline file of the inputs' items, each caption once", qm::cli::runQmkMerge},
    Command{"check", "check KEY [--url URL] [< page]  how the parser walks a page's section, entry by entry", qm::cli::runCheck},
};

int usage(std::ostream& err)
{
    err << "usage: quillmark-cli COMMAND [ARGS]\n";
    for (const Command& c : kCommands)
        err << "  " << c.usage << '\n';
    err << "research and qmk-export take --format text|md|csv|json, --dedupe and --lengths; qmk-export --ticked\n";
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    std::ios::sync_with_stdio(false);
    if (argc < 2)
        return usage(std::cerr);
    const std::vector<std::string_view> args(argv + 2, argv + argc);
    for (const Command& c : kCommands) {
        if (c.name == argv[1]) {
            const int status = c.run(args, std::cin, std::cout, std::cerr);
            std::cout.flush();
            return status;
        }
    }
    return usage(std::cerr);
}
