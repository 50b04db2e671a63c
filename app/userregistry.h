#pragma once

namespace qm {

class RegistryStore;

// The store the windows read their settings from and write them to: by default registry.reg in the
// Quillmark folder of the user's config folder (~/.config/Quillmark/registry.reg).
RegistryStore& userRegistry();
// Puts another store in its place (tests); nullptr goes back to the user's own. The caller keeps
// ownership.
void setUserRegistry(RegistryStore* store);

} // namespace qm
