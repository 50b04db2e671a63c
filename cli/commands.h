#pragma once

// The sub-commands of quillmark-cli. Each takes the arguments after its name and returns the exit status.

#include <exception>
#include <iosfwd>
#include <span>
#include <string_view>

namespace qm::cli {

using Args = std::span<const std::string_view>;

int runParse(Args args, std::istream& in, std::ostream& out, std::ostream& err);
int runFetch(Args args, std::istream& in, std::ostream& out, std::ostream& err);
int runResearch(Args args, std::istream& in, std::ostream& out, std::ostream& err);
int runQmkExport(Args args, std::istream& in, std::ostream& out, std::ostream& err);
int runQmkImport(Args args, std::istream& in, std::ostream& out, std::ostream& err);

// One suggestion per line, as parse and research print them: a backslash, CR and LF inside the
// caption are written as \\, \r and \n, so that every caption stays on its line.
void writeCaption(std::ostream& out, std::string_view caption);

// A failed fetch or research run on standard error, as both name it, in one line:
// "<ExceptionClass>: <message> (<what failed, in plain words>) while fetching <url>" for the network
// family and the conversion error, "Error: <message> while fetching <url>" for anything else.
void writeFailure(std::ostream& err, const std::exception_ptr& failure, std::string_view url);

} // namespace qm::cli
