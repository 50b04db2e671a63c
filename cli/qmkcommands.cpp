#include "cli/commands.h"

#include <ostream>

namespace qm::cli {

int runQmkExport(Args, std::istream&, std::ostream&, std::ostream& err)
{
    err << "qmk-export: not available yet\n";
    return 2;
}

int runQmkImport(Args, std::istream&, std::ostream&, std::ostream& err)
{
    err << "qmk-import: not available yet\n";
    return 2;
}

} // namespace qm::cli
