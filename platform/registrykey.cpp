#include "platform/registrykey.h"

#include <limits>

#include "platform/registrystore.h"

namespace qm {

RegistryKey::RegistryKey(RegistryStore* store, std::string path, RegStatus status)
    : m_store(store), m_path(std::move(path)), m_status(status)
{
}

RegistryKey::RegistryKey(RegistryKey&& other) noexcept
    : m_store(other.m_store), m_path(std::move(other.m_path)), m_status(other.m_status)
{
    other.close();
}

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept
{
    if (this != &other) {
        m_store = other.m_store;
        m_path = std::move(other.m_path);
        m_status = other.m_status;
        other.close();
    }
    return *this;
}

void RegistryKey::close()
{
    m_store = nullptr;
    m_status = RegStatus::InvalidHandle;
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
