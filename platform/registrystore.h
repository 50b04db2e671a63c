#pragma once

// The per-user registry: one text file in the registry export format (see registryfile.h), with the
// operations the program's settings need: open an existing key with full access, create a key with
// every missing key above it, query a value, set a DWORD, close. Every change is written to disk at
// once and atomically (temporary file, then rename), after reading the file afresh, so values of
// other keys (and of other writers) are kept and a crash while saving never leaves a half-written
// store.
//
// A store file that cannot be read (too large, of too many lines, a folder, unreadable) reads as
// empty and is never written, so that a file this program does not understand is never replaced.

#include "platform/registryfile.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace qm {

class RegistryStore;

// Results of the store's operations, numbered as the system error codes they stand for.
enum class RegStatus {
    Ok = 0,
    NotFound = 2,      // the key or the value does not exist
    AccessDenied = 5,  // the store cannot be written ("no full access")
    InvalidHandle = 6, // the key is not open
    WriteFault = 29,   // writing the store file failed
    InvalidParameter = 87,
    MoreData = 234, // the value's data does not fit the buffer
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
    RegistryKey(RegistryKey&& other) noexcept
        : m_store(std::exchange(other.m_store, nullptr))
        , m_path(std::move(other.m_path))
        , m_status(std::exchange(other.m_status, RegStatus::InvalidHandle))
    {
    }
    RegistryKey& operator=(RegistryKey&& other) noexcept
    {
        m_store = std::exchange(other.m_store, nullptr);
        m_path = std::move(other.m_path);
        m_status = std::exchange(other.m_status, RegStatus::InvalidHandle);
        return *this;
    }

    bool isOpen() const { return m_store != nullptr; }
    // How opening went: Ok for an open key, otherwise why it is not open.
    RegStatus status() const { return m_status; }

    // Whether the value exists, with its type and size, without reading its data.
    RegQuery queryInfo(std::string_view name) const;
    // The value's type and data when its data fits in capacity bytes; MoreData (with type and size)
    // when it does not.
    RegQuery queryValue(std::string_view name, std::size_t capacity) const;

    // Writes a REG_DWORD, replacing any earlier value of that name whatever its type.
    RegStatus setDword(std::string_view name, std::uint32_t value);

    void close()
    {
        m_store = nullptr;
        m_status = RegStatus::InvalidHandle;
    }

private:
    friend class RegistryStore;
    RegistryKey(RegistryStore* store, std::string_view path, RegStatus status)
        : m_store(store)
        , m_path(path)
        , m_status(status)
    {
    }

    RegistryStore* m_store;
    std::string m_path;
    RegStatus m_status;
};

class RegistryStore final {
public:
    // A store file larger than this is not ours: it reads as empty and is never written.
    static constexpr std::size_t kMaxStoreBytes = std::size_t{1024} * 1024;
    // Nor is a store of more lines than this. Each line costs a few hundred bytes once read, so a
    // store of empty lines would otherwise cost some 200 times its size; the program's own keys
    // take a dozen lines.
    static constexpr std::size_t kMaxStoreLines = std::size_t{16} * 1024;

    // Decides whether the store file may be written. The default asks the file system; tests pass
    // their own answer.
    using WriteCheck = std::function<bool(const std::filesystem::path& file)>;

    explicit RegistryStore(std::filesystem::path file, WriteCheck canWrite = {});

    const std::filesystem::path& file() const { return m_file; }

    // Opens an existing key for reading and writing; never creates it. The key path is relative to
    // HKEY_CURRENT_USER; one leading backslash is allowed ("\Software\..."). The key's status() is
    // NotFound when it does not exist and AccessDenied when the store cannot be written.
    RegistryKey openKey(std::string_view path) { return open(path, false); }
    // Opens a key, creating it and every missing key above it.
    RegistryKey createKey(std::string_view path) { return open(path, true); }

    // The store as it is on disk now; empty when the file is missing or cannot be read.
    RegistryFile read() const;

private:
    friend class RegistryKey;

    struct Snapshot {
        RegistryFile content;
        bool writable = false;
    };
    RegistryKey open(std::string_view path, bool create);
    Snapshot load() const;
    bool canWrite() const;
    RegStatus save(const RegistryFile& content);

    std::filesystem::path m_file;
    WriteCheck m_canWrite;
};

} // namespace qm
