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
#include "platform/registrykey.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string_view>

namespace qm {

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
    RegistryKey openKey(std::string_view path);
    // Opens a key, creating it and every missing key above it.
    RegistryKey createKey(std::string_view path);

    // The store as it is on disk now; empty when the file is missing or cannot be read.
    RegistryFile read() const;

private:
    friend class RegistryKey;

    struct Snapshot {
        RegistryFile content;
        bool writable = false;
    };
    Snapshot load() const;
    bool canWrite() const;
    RegStatus save(const RegistryFile& content);

    std::filesystem::path m_file;
    WriteCheck m_canWrite;
};

} // namespace qm
