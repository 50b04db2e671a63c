#include "platform/registrystore.h"

#include "platform/atomicfile.h"

#include <algorithm>
#include <cerrno>
#include <limits>
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
    fs::path folder = file.parent_path();
    std::error_code error;
    while (!folder.empty() && fs::status(folder, error).type() == fs::file_type::not_found
           && folder != folder.parent_path())
        folder = folder.parent_path();
    return !folder.empty() && fs::is_directory(folder, error) && ::access(folder.c_str(), W_OK) == 0;
}

} // namespace

RegistryStore::RegistryStore(std::filesystem::path file, WriteCheck canWrite)
    : m_file(std::move(file))
    , m_canWrite(std::move(canWrite))
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

RegistryKey RegistryStore::open(std::string_view path, bool create)
{
    if (!path.empty() && path.front() == '\\')
        path.remove_prefix(1);
    if (!RegistryFile::isValidKeyPath(path))
        return {nullptr, path, RegStatus::InvalidParameter};
    Snapshot snapshot = load();
    const bool exists = snapshot.content.hasKey(path);
    if (!exists && !create)
        return {nullptr, path, RegStatus::NotFound};
    if (!snapshot.writable || !canWrite())
        return {nullptr, path, RegStatus::AccessDenied};
    if (!exists) {
        snapshot.content.createKey(path);
        if (const RegStatus saved = save(snapshot.content); saved != RegStatus::Ok)
            return {nullptr, path, saved};
    }
    return {this, path, RegStatus::Ok};
}

RegQuery RegistryKey::queryInfo(std::string_view name) const
{
    RegQuery info = queryValue(name, std::numeric_limits<std::size_t>::max());
    info.data.clear();
    return info;
}

RegQuery RegistryKey::queryValue(std::string_view name, std::size_t capacity) const
{
    if (!isOpen())
        return {RegStatus::InvalidHandle, RegType::None, 0, {}};
    const RegistryFile content = m_store->load().content;
    const RegValue* value = content.value(m_path, name);
    if (value == nullptr)
        return {};
    if (value->data.size() > capacity)
        return {RegStatus::MoreData, value->type, value->data.size(), {}};
    return {RegStatus::Ok, value->type, value->data.size(), value->data};
}

RegStatus RegistryKey::setDword(std::string_view name, std::uint32_t value)
{
    if (!isOpen())
        return RegStatus::InvalidHandle;
    if (!RegistryFile::isValidValueName(name))
        return RegStatus::InvalidParameter;
    RegistryStore::Snapshot snapshot = m_store->load();
    if (!snapshot.writable || !m_store->canWrite())
        return RegStatus::AccessDenied;
    if (!snapshot.content.setDword(m_path, name, value))
        return RegStatus::NotFound; // the key was removed from the file since it was opened
    return m_store->save(snapshot.content);
}

} // namespace qm
