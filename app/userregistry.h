#pragma once

#include <filesystem>

namespace qm {

class RegistryStore;

// The per-user registry of the program: registry.reg in the Quillmark folder of the user's config
// folder (~/.config/Quillmark/registry.reg).
std::filesystem::path defaultRegistryPath();

// The store the windows read their settings from and write them to.
RegistryStore& userRegistry();
// Puts another store in its place (tests); nullptr goes back to the user's own. The caller keeps
// ownership.
void setUserRegistry(RegistryStore* store);

} // namespace qm
