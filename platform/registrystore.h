#pragma once

// The per-user registry: one text file in the registry export format,
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Tamsworth\Lettrix\Setup]
//   "top"=dword:00000050
//
// Keys are sections, a value line belongs to the key above it; names compare without regard to ASCII
// case, and of a name listed twice the later line holds. A value is read when it is a DWORD (dword:
// and 1 to 8 hex digits) or a text ("..." with \\ and \" as escapes; its data is its bytes and a
// NUL). Every other line is kept byte for byte, line break included, and otherwise ignored.
//
// Opening a key reads and parses the file once; closing it writes the file once, atomically, when
// something changed. A key does not see what another writer does to the file while it is open. A
// store file that cannot be read (too large, of too many lines, a folder, unreadable) is never
// written, so that a file this program does not understand is never replaced.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

enum class RegType : std::uint32_t { Sz = 1, Dword = 4 };

// What a query tells: the value's type, the size of its data in bytes, and a DWORD's number.
struct RegValue {
    RegType type = RegType::Sz;
    std::size_t size = 0;
    std::uint32_t dword = 0;
};

// The store's text as one key (a path under HKEY_CURRENT_USER, "Software\Tamsworth\Lettrix\Setup")
// sees it: every line kept as read, the key's values read, changes made in memory.
class RegistryFile final {
public:
    RegistryFile(std::string_view text, std::string_view path);
    // Every line read, byte for byte, with the changes made here.
    std::string text() const;

    bool hasKey() const;
    // Adds the key's header. The keys above it need none: the format implies them.
    void createKey();
    std::optional<RegValue> value(std::string_view name) const;
    // Sets a DWORD, replacing the line of the value that holds whatever its type, or adding one to
    // the key. False when the key does not exist or the name is not one the store writes (empty, or
    // with a quote, backslash, CR, LF or NUL).
    bool setDword(std::string_view name, std::uint32_t value);

private:
    enum class Kind { Other, Key, Value }; // Key: the header of this key, Value: a value of it
    struct Line {
        std::string text; // as read, with its line break
        Kind kind = Kind::Other;
        std::string name;
        RegValue value;
        std::size_t dataAt = 0; // where a value's data starts in text
    };
    // The line that holds the value; end: where a new value goes, 0 when there is no key.
    std::optional<std::size_t> locate(std::string_view name, std::size_t& end) const;
    void insert(std::size_t at, std::string text, Kind kind, std::string_view name = {});

    std::string m_path;
    std::vector<Line> m_lines;
    std::string m_newline = "\r\n";
};

// An open key of a RegistryStore, or a key that could not be opened.
class RegistryKey final {
public:
    RegistryKey(RegistryKey&&) noexcept = default;
    RegistryKey& operator=(RegistryKey&&) = delete;
    ~RegistryKey() { close(); }

    bool isOpen() const { return m_open != nullptr; }
    // Nothing when the value does not exist.
    std::optional<RegValue> query(std::string_view name) const
    {
        return m_open ? m_open->content.value(name) : std::nullopt;
    }
    // Sets a REG_DWORD (see RegistryFile::setDword); false when the key is not open.
    bool setDword(std::string_view name, std::uint32_t value);
    // Writes what changed and closes the key. False when the store could not be written.
    bool close() noexcept;

private:
    friend class RegistryStore;
    struct Open {
        std::filesystem::path file;
        RegistryFile content;
        bool changed = false;
    };
    explicit RegistryKey(std::unique_ptr<Open> open) : m_open(std::move(open)) {}

    std::unique_ptr<Open> m_open;
};

class RegistryStore final {
public:
    // A store file larger than this is not ours. Nor is one of more lines than this: each line costs
    // some hundred bytes once read, and the program's own key takes a few.
    static constexpr std::size_t kMaxStoreBytes = std::size_t{1024} * 1024;
    static constexpr std::size_t kMaxStoreLines = std::size_t{16} * 1024;

    // Decides whether the store file may be written. The default asks the file system; tests pass
    // their own answer.
    using WriteCheck = std::function<bool(const std::filesystem::path& file)>;

    explicit RegistryStore(std::filesystem::path file, WriteCheck canWrite = {})
        : m_file(std::move(file))
        , m_canWrite(std::move(canWrite))
    {
    }

    // Opens an existing key for reading and writing; never creates it. One leading backslash is
    // allowed ("\Software\..."). The key is not open when it does not exist, when the path holds a line
    // break or NUL, or when the store cannot be written.
    RegistryKey openKey(std::string_view path) const { return open(path, false); }
    // Opens a key, creating it (on disk when the key is closed).
    RegistryKey createKey(std::string_view path) const { return open(path, true); }

private:
    RegistryKey open(std::string_view path, bool create) const;

    std::filesystem::path m_file;
    WriteCheck m_canWrite;
};

} // namespace qm
