#pragma once

// The sub-commands of quillmark-cli. Each takes the arguments after its name and returns the exit status.

#include <exception>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace qm::cli {

using Args = std::span<const std::string_view>;

int runParse(Args args, std::istream& in, std::ostream& out, std::ostream& err);
int runFetch(Args args, std::istream& in, std::ostream& out, std::ostream& err);
int runResearch(Args args, std::istream& in, std::ostream& out, std::ostream& err);
int runQmkExport(Args args, std::istream& in, std::ostream& out, std::ostream& err);
int runQmkImport(Args args, std::istream& in, std::ostream& out, std::ostream& err);
int runQmkMerge(Args args, std::istream& in, std::ostream& out, std::ostream& err);
int runCheck(Args args, std::istream& in, std::ostream& out, std::ostream& err);

// A source page from standard input into `page`, as parse and check read it. A page over 256 MiB is
// refused with one line on standard error, "<command>: the page is larger than 256 MiB".
bool readPage(std::istream& in, std::ostream& err, std::string_view command, std::string& page);

// One suggestion per line, as parse and research print them: a backslash, CR and LF inside the
// caption are written as \\, \r and \n, so that every caption stays on its line (ended by end).
void writeCaption(std::ostream& out, std::string_view caption, std::string_view end = "\n");

// A failed fetch or research run on standard error, as both name it, in one line:
// "<ExceptionClass>: <message> (<what failed, in plain words>) while fetching <url>" for the network
// family and the conversion error, "Error: <message> while fetching <url>" for anything else.
void writeFailure(std::ostream& err, const std::exception_ptr& failure, std::string_view url);

} // namespace qm::cli
