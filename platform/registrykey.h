#pragma once

// An open key of the per-user registry store (registrystore.h) and the results of its operations.

#include "platform/registryfile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

class RegistryStore;

// Results of the store's operations, numbered as the system error codes they stand for.
enum class RegStatus {
    Ok = 0,
    NotFound = 2,         // the key or the value does not exist
    AccessDenied = 5,     // the store cannot be written ("no full access")
    InvalidHandle = 6,    // the key is not open
    WriteFault = 29,      // writing the store file failed
    InvalidParameter = 87,
    MoreData = 234,       // the value's data does not fit the buffer
};

// The answer of a query: status Ok or MoreData carry the value's type and its size in bytes; Ok
// with a buffer carries the data too.
struct RegQuery {
    RegStatus status = RegStatus::NotFound;
    RegType type = RegType::None;
    std::size_t size = 0;
    std::string data;
};

// An open key of a RegistryStore. Each query reads the store afresh; each change is saved at once.
// Closing releases the handle only; there is nothing to flush.
class RegistryKey final {
public:
    RegistryKey(RegistryKey&& other) noexcept;
    RegistryKey& operator=(RegistryKey&& other) noexcept;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() = default;

    bool isOpen() const { return m_store != nullptr; }
    // How opening went: Ok for an open key, otherwise why it is not open.
    RegStatus status() const { return m_status; }
    const std::string& path() const { return m_path; }

    // Whether the value exists, with its type and size, without reading its data.
    RegQuery queryInfo(std::string_view name) const;
    // The value's type and data when its data fits in capacity bytes; MoreData (with type and size)
    // when it does not.
    RegQuery queryValue(std::string_view name, std::size_t capacity) const;

    // Writes a REG_DWORD, replacing any earlier value of that name whatever its type.
    RegStatus setDword(std::string_view name, std::uint32_t value);

    void close();

private:
    friend class RegistryStore;
    RegistryKey(RegistryStore* store, std::string path, RegStatus status);

    RegistryStore* m_store;
    std::string m_path;
    RegStatus m_status;
};

} // namespace qm
