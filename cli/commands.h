#pragma once

// The sub-commands of quillmark-cli. Each takes the arguments after its name and returns the exit status.

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

} // namespace qm::cli
