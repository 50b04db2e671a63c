#pragma once

namespace qm {

// The application's screen cursor: the hourglass overrides the cursor of every window until it is
// set back. Each setBusyCursor() is undone by one restoreCursor().
void setBusyCursor();
void restoreCursor();
bool isBusyCursorShown();

} // namespace qm
