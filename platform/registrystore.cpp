#include "platform/registrystore.h"

#include "platform/atomicfile.h"

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <unistd.h>

namespace qm {
namespace {

namespace fs = std::filesystem;

// Saving renames a temporary file into the folder, so the folder (or, when it does not exist yet, the
// nearest folder above it that does) must be writable; an existing store file that is read-only is
// the user's way of saying "do not change it".
bool fileSystemAllowsWrite(const fs::path& file)
{
    if (::access(file.c_str(), F_OK) == 0)
        return ::access(file.c_str(), W_OK) == 0 && ::access(file.parent_path().c_str(), W_OK) == 0;
    for (fs::path folder = file.parent_path(); !folder.empty(); folder = folder.parent_path()) {
        std::error_code error;
        const fs::file_status status = fs::status(folder, error);
        if (status.type() == fs::file_type::not_found) {
            if (folder == folder.parent_path())
                return false;
            continue;
        }
        return status.type() == fs::file_type::directory && ::access(folder.c_str(), W_OK) == 0;
    }
    return false;
}

std::string_view absoluteToRelative(std::string_view path)
{
    if (!path.empty() && path.front() == '\\')
        path.remove_prefix(1);
    return path;
}

} // namespace

RegistryStore::RegistryStore(std::filesystem::path file, WriteCheck canWrite)
    : m_file(std::move(file)), m_canWrite(std::move(canWrite))
{
}

RegistryStore::Snapshot RegistryStore::load() const
{
    // A folder, a pipe or a device in the store's place is refused by the reader, without waiting.
    try {
        const std::string text = readWholeFile(m_file, kMaxStoreBytes);
        if (static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) > kMaxStoreLines)
            return {RegistryFile(), false};
        return {RegistryFile::parse(text), true};
    } catch (const FileError& failure) {
        return {RegistryFile(), failure.errorNumber() == ENOENT};
    }
}

RegistryFile RegistryStore::read() const { return load().content; }

bool RegistryStore::canWrite() const { return m_canWrite ? m_canWrite(m_file) : fileSystemAllowsWrite(m_file); }

RegStatus RegistryStore::save(const RegistryFile& content)
{
    std::error_code error;
    fs::create_directories(m_file.parent_path(), error);
    if (error)
        return RegStatus::WriteFault;
    try {
        writeFileAtomically(m_file, content.serialize());
    } catch (const FileError&) {
        return RegStatus::WriteFault;
    }
    return RegStatus::Ok;
}

RegistryKey RegistryStore::openKey(std::string_view path)
{
    path = absoluteToRelative(path);
    if (!RegistryFile::isValidKeyPath(path))
        return {nullptr, std::string(path), RegStatus::InvalidParameter};
    const Snapshot snapshot = load();
    if (!snapshot.content.hasKey(path))
        return {nullptr, std::string(path), RegStatus::NotFound};
    if (!snapshot.writable || !canWrite())
        return {nullptr, std::string(path), RegStatus::AccessDenied};
    return {this, std::string(path), RegStatus::Ok};
}

RegistryKey RegistryStore::createKey(std::string_view path)
{
    path = absoluteToRelative(path);
    if (!RegistryFile::isValidKeyPath(path))
        return {nullptr, std::string(path), RegStatus::InvalidParameter};
    Snapshot snapshot = load();
    if (!snapshot.writable || !canWrite())
        return {nullptr, std::string(path), RegStatus::AccessDenied};
    if (!snapshot.content.hasKey(path)) {
        snapshot.content.createKey(path);
        if (const RegStatus saved = save(snapshot.content); saved != RegStatus::Ok)
            return {nullptr, std::string(path), saved};
    }
    return {this, std::string(path), RegStatus::Ok};
}

} // namespace qm
