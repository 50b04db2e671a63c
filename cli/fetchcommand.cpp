#include "cli/commands.h"

#include <ostream>

namespace qm::cli {

int runFetch(Args, std::istream&, std::ostream&, std::ostream& err)
{
    err << "fetch: not available yet\n";
    return 2;
}

} // namespace qm::cli
