#include "cli/commands.h"

#include <ostream>

namespace qm::cli {

int runParse(Args, std::istream&, std::ostream&, std::ostream& err)
{
    err << "parse: not available yet\n";
    return 2;
}

} // namespace qm::cli
