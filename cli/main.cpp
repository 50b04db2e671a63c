// quillmark-cli: the headless front end over the same core as the desktop program.
#include "cli/commands.h"

#include <iostream>
#include <vector>

int main(int argc, char* argv[])
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return qm::cli::run(args, std::cin, std::cout, std::cerr);
}
