#include "app/userregistry.h"

#include "platform/registrystore.h"

#include <QDir>
#include <QStandardPaths>
#include <filesystem>

namespace qm {
namespace {

RegistryStore* g_override = nullptr;

std::filesystem::path defaultRegistryPath()
{
    QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (config.isEmpty())
        config = QDir::home().filePath(QStringLiteral(".config"));
    return std::filesystem::path(QFile::encodeName(config).toStdString()) / "Quillmark" / "registry.reg";
}

} // namespace

RegistryStore& userRegistry()
{
    static RegistryStore own(defaultRegistryPath());
    return g_override != nullptr ? *g_override : own;
}

void setUserRegistry(RegistryStore* store) { g_override = store; }

} // namespace qm
