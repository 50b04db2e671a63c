#pragma once

// The commands of quillmark-cli. Each takes the arguments after its name and returns the exit status;
// the table of commands.cpp names them. A new command is a row there and its run function here, which
// first reads its arguments with CommandLine::read.

#include "headlines/suggestionlist.h"

#include <exception>
#include <iosfwd>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qm::cli {

using Args = std::span<const std::string_view>;

// What --version prints: the version, the source page address and which page that address serves
// now (fetched once: refreshed from feeds and when, as published, or none).
void writeVersion(std::ostream& out, std::string_view url);
// quillmark-cli as a whole: the arguments after the program's name, the streams it works on.
int run(Args args, std::istream& in, std::ostream& out, std::ostream& err);

int runParse(Args args, std::istream& in, std::ostream& out, std::ostream& err);
int runFetch(Args args, std::istream& in, std::ostream& out, std::ostream& err);
int runResearch(Args args, std::istream& in, std::ostream& out, std::ostream& err);
int runQmkExport(Args args, std::istream& in, std::ostream& out, std::ostream& err);
int runQmkImport(Args args, std::istream& in, std::ostream& out, std::ostream& err);
int runQmkMerge(Args args, std::istream& in, std::ostream& out, std::ostream& err);
int runCheck(Args args, std::istream& in, std::ostream& out, std::ostream& err);
int runPage(Args args, std::istream& in, std::ostream& out, std::ostream& err);

// An option of a command: a flag, or one that takes the next argument as its value, which may have to
// be one of `choices`.
struct Option {
    std::string_view name;
    bool takesValue = false;
    std::span<const std::string_view> choices = {};
};

// What a command accepts: its usage line (after "usage: quillmark-cli "), how many operands, which options.
struct Syntax {
    std::string_view usage;
    std::size_t minOperands = 1;
    std::size_t maxOperands = 1;
    std::span<const Option> options = {};
};

// A command's arguments sorted into operands and options. An argument that is none of the command's
// options is an operand; an option given twice keeps its last value.
struct CommandLine {
    std::vector<std::string_view> operands;
    std::map<std::string_view, std::string_view> options; // a flag's value is empty

    // Fills this from args; the exit status when the command ends here instead: 0 for --help (the
    // usage on out), 2 for a wrong command line (on err the usage, or "<command>: <option> takes a, b
    // or c" for a missing or unknown choice).
    std::optional<int> read(const Syntax& syntax, Args args, std::ostream& out, std::ostream& err);
    bool has(std::string_view option) const { return options.contains(option); }
    // The option's value, or the fallback when it was not given.
    std::string_view value(std::string_view option, std::string_view fallback = {}) const;
};

// Far above any real source page; a bigger input is refused rather than held in memory.
inline constexpr std::size_t kMaxPageBytes = std::size_t{256} << 20;

// A source page from standard input into `page`, as parse and check read it. A larger page is
// refused with one line on standard error, "<command>: the page is larger than 256 MiB".
bool readPage(std::istream& in, std::ostream& err, std::string_view command, std::string& page);

// One suggestion per line, as parse and research print them: a backslash, CR and LF inside the
// caption are written as \\, \r and \n, so that every caption stays on its line (ended by end).
void writeCaption(std::ostream& out, std::string_view caption, std::string_view end = "\n");

// A failed fetch or research run on standard error, as both name it, in one line:
// "<ExceptionClass>: <message> (<what failed, in plain words>) while fetching <url>" for the network
// family and the conversion error, "Error: <message> while fetching <url>" for anything else.
void writeFailure(std::ostream& err, const std::exception_ptr& failure, std::string_view url);

// What --format takes, for the lists that research and qmk-export print (with --ticked for lists
// with ticks only, --dedupe and --lengths).
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
