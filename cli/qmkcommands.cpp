// qmk-export and qmk-import: headline files as lines of "1<TAB>caption" (ticked) or "0<TAB>caption"
// (or another list format); qmk-merge: headline files into one.
#include "cli/commands.h"

#include "headlines/headlinefile.h"
#include "platform/bytes.h"
#include "platform/profilefile.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace qm::cli {
namespace {

// Standard input of qmk-import may be anything; a file of this size would be refused on opening anyway.
constexpr std::size_t kMaxImportBytes = kMaxProfileFileBytes;

constexpr Option kExportOptions[] = {{"--format", true, kListFormats}, {"--ticked"}, {"--dedupe"}, {"--lengths"}};
constexpr Syntax kExportSyntax{"qmk-export FILE [--format text|md|csv|json] [--ticked] [--dedupe] [--lengths]", 1, 1,
                               kExportOptions};

} // namespace

int runQmkExport(Args args, std::istream&, std::ostream& out, std::ostream& err)
{
    CommandLine line;
    if (const auto status = line.read(kExportSyntax, args, out, err))
        return *status;
    VectorSuggestions items;
    try {
        openHeadlineFile(line.operands[0], items);
    } catch (const std::exception& failure) {
        err << "qmk-export: " << failure.what() << '\n';
        return 1;
    }
    writeList(out, items.items(), line, true);
    return out ? 0 : 1;
}

int runQmkImport(Args args, std::istream& in, std::ostream& out, std::ostream& err)
{
    CommandLine command;
    if (const auto status = command.read({"qmk-import FILE < items"}, args, out, err))
        return *status;
    std::string input;
    if (!readBounded(in, kMaxImportBytes, input)) {
        err << "qmk-import: standard input holds more than " << kMaxImportBytes << " bytes\n";
        return 1;
    }

    VectorSuggestions items;
    std::size_t lineNumber = 0;
    for (std::string_view rest = input; !rest.empty();) {
        std::string_view line = rest.substr(0, rest.find('\n'));
        rest.remove_prefix(std::min(line.size() + 1, rest.size()));
        ++lineNumber;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.empty())
            continue;
        if (line.size() < 2 || (line[0] != '0' && line[0] != '1') || line[1] != '\t') {
            err << "qmk-import: line " << lineNumber << ": expected \"1<TAB>caption\" or \"0<TAB>caption\"\n";
            return 1;
        }
        items.append(line.substr(2), line[0] == '1');
    }

    try {
        saveHeadlineFile(items, command.operands[0]);
    } catch (const std::exception& failure) {
        err << "qmk-import: " << failure.what() << '\n';
        return 1;
    }
    return 0;
}

int runQmkMerge(Args args, std::istream&, std::ostream& out, std::ostream& err)
{
    CommandLine line;
    if (const auto status = line.read({"qmk-merge OUT IN...", 2, SIZE_MAX}, args, out, err))
        return *status;
    const std::string_view outputName = line.operands[0];
    const std::filesystem::path output(outputName);
    std::vector<Suggestion> items;
    try {
        for (const std::string_view input : std::span(line.operands).subspan(1)) {
            // The same file under another name or through a link counts too; an output not there yet is none.
            std::error_code noOutput;
            if (std::filesystem::equivalent(output, input, noOutput)) {
                err << "qmk-merge: the output " << outputName << " is also the input " << input << '\n';
                return 1;
            }
            VectorSuggestions file;
            openHeadlineFile(input, file);
            items.insert(items.end(), file.items().begin(), file.items().end());
        }
        dedupeItems(items);
        VectorSuggestions merged;
        for (const Suggestion& item : items)
            merged.append(item.caption, item.checked);
        saveHeadlineFile(merged, output);
    } catch (const std::exception& failure) {
        err << "qmk-merge: " << failure.what() << '\n';
        return 1;
    }
    return 0;
}

} // namespace qm::cli
