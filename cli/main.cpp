// quillmark-cli: the headless front end over the same core as the desktop program.
#include "cli/commands.h"

#include "platform/buildvalues.h"

#include "research/researchrun.h"

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
    Command{"research", "research KEY [--url URL]        download the source page and list its suggestions",
            qm::cli::runResearch},
    Command{"qmk-export", "qmk-export FILE                 the items of a headline file, \"1<TAB>caption\" per line",
            qm::cli::runQmkExport},
    Command{"qmk-import", "qmk-import FILE      < items    write a headline file from such lines",
            qm::cli::runQmkImport},
    Command{"qmk-merge", "qmk-merge OUT IN...             one headline file of the inputs' items, each caption once",
            qm::cli::runQmkMerge},
    Command{"check", "check KEY [--url URL] [< page]  how the parser walks a page's section, entry by entry",
            qm::cli::runCheck},
};

// The usage text: on standard output and with status 0 when asked for, on standard error and with
// status 2 after a wrong command line.
int usage(std::ostream& out, int status)
{
    out << "usage: quillmark-cli COMMAND [ARGS]\n";
    for (const Command& c : kCommands)
        out << "  " << c.usage << '\n';
    out << "       quillmark-cli --help | --version\n";
    out << "research and qmk-export take --format text|md|csv|json, --dedupe and --lengths; qmk-export --ticked\n";
    return status;
}

} // namespace

int main(int argc, char* argv[])
{
    std::ios::sync_with_stdio(false);
    if (argc < 2)
        return usage(std::cerr, 2);
    const std::string_view first = argv[1];
    if (argc == 2 && first == "--help")
        return usage(std::cout, 0);
    if (argc == 2 && first == "--version") {
        std::cout << "quillmark-cli " << qm::kVersion << "\nsource page: " << qm::kSourcePageUrl << '\n';
        return 0;
    }
    const std::vector<std::string_view> args(argv + 2, argv + argc);
    for (const Command& c : kCommands) {
        if (c.name == first) {
            const int status = c.run(args, std::cin, std::cout, std::cerr);
            std::cout.flush();
            return status;
        }
    }
    return usage(std::cerr, 2);
}
