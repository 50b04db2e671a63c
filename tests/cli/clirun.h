#pragma once

// Runs one quillmark-cli sub-command in process, with standard input from a string, and keeps what
// it wrote to its two output streams.

#include "cli/commands.h"

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace qm::test {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

using CliCommand = int (*)(cli::Args, std::istream&, std::ostream&, std::ostream&);

inline CliRun RunCli(CliCommand command, const std::vector<std::string_view>& args, const std::string& input = {})
{
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int status = command(args, in, out, err);
    return {status, out.str(), err.str()};
}

// The text's lines, without their line feeds.
inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace qm::test
