#pragma once

// The values fixed when the program is built (CMake cache variables), kept in one configured source
// file so that changing one of them rebuilds that file alone.

namespace qm {

extern const char* const kVersion;
// The source page every research run downloads.
extern const char* const kSourcePageUrl;
// Opened from the Help menu and the About dialog.
extern const char* const kHomepageUrl;
// The address of the About dialog's support mail link.
extern const char* const kSupportAddress;

} // namespace qm
