#pragma once

namespace qm {

// Retrieves and dispatches every pending window event until none is left. This is what keeps the
// window alive during long work on the GUI thread, and the only point where another command can run
// in the middle of it.
void PumpMessages();

} // namespace qm
