#include "cli/commands.h"

#include <ostream>

namespace qm::cli {

int runResearch(Args, std::istream&, std::ostream&, std::ostream& err)
{
    err << "research: not available yet\n";
    return 2;
}

} // namespace qm::cli
