#pragma once

// The text of the per-user registry store, in the registry export format:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Tamsworth\Lettrix\Setup]
//   "top"=dword:00000050
//   "name"="text"
//   "bin"=hex:01,02,03
//   "multi"=hex(7):61,00,00,00
//
// Value data is "text", dword:0000abcd, hex:01,02 or hex(n):01,02 for a value of type n; `@=` names
// the key's default value. A long hex list is wrapped over lines that end in a backslash; its
// continuation lines are indented and start with a hex digit.
//
// Keys are sections; a value line belongs to the section above it. Key and value names compare
// without regard to ASCII case. Reading never fails: a line that is neither a key header nor a
// value (junk, a deletion mark, a half-written hex list, a key under another root) is kept exactly as
// it came and otherwise ignored, so that writing the file back never loses what others put there.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// Value types with the numbers the store file uses in "hex(n):". Other numbers are valid too: a
// value keeps whatever type it was stored with.
enum class RegType : std::uint32_t {
    None = 0,
    Sz = 1,
    ExpandSz = 2,
    Binary = 3,
    Dword = 4,
    Qword = 11,
};

// A value's type and its data bytes. A text value ("name"="text") holds its text followed by one
// NUL byte, so "abc" is 4 bytes long; a DWORD holds 4 bytes, little-endian.
struct RegValue {
    RegType type = RegType::None;
    std::string data;

    friend bool operator==(const RegValue&, const RegValue&) = default;
};

// The number in a DWORD's data bytes, little-endian; bytes missing from a value shorter than 4 bytes
// read as zero, bytes past the fourth are not read.
std::uint32_t dwordValue(std::string_view data);

class RegistryFile final {
public:
    // Longest key name (one path component) and value name the store accepts.
    static constexpr std::size_t kMaxKeyNameBytes = 255;
    static constexpr std::size_t kMaxValueNameBytes = 16383;

    // The store's text as read from disk; see the file comment for what happens to lines that
    // cannot be read.
    static RegistryFile parse(std::string_view text);

    // The text to write back: every line read is kept in place, values set here replace the line
    // they came from, new keys and values are added in the same format. An empty store gets the
    // format's first line.
    std::string serialize() const;

    // A key path is relative to HKEY_CURRENT_USER, its names separated by one backslash
    // ("Software\Tamsworth\Lettrix\Setup"); the empty path is the root itself. Names are 1 to
    // kMaxKeyNameBytes bytes without CR, LF or NUL; a value name is at most kMaxValueNameBytes of them
    // (empty for the default value).
    static bool isValidKeyPath(std::string_view path);
    static bool isValidValueName(std::string_view name);

    bool hasKey(std::string_view path) const;
    // Adds the key and every missing key above it. False for an invalid path.
    bool createKey(std::string_view path);

    // The value, or nullptr when the key or the value does not exist. When a key lists a name
    // twice, the later line holds, as it would when the file is imported.
    const RegValue* value(std::string_view path, std::string_view name) const;
    // Sets a DWORD of an existing key, replacing any earlier value of any type under that name.
    // False when the key does not exist or the name is invalid.
    bool setDword(std::string_view path, std::string_view name, std::uint32_t value);

    // Every readable value, in file order (the fuzz target and tests walk them).
    struct Item {
        std::string path;
        std::string name;
        RegValue value;

        friend bool operator==(const Item&, const Item&) = default;
    };
    std::vector<Item> items() const;

private:
    // A run of lines: a value with its continuation lines, or one line that is not a value.
    struct Entry {
        std::vector<std::string> lines;
        bool isValue = false;
        std::string name;
        RegValue value;
    };
    struct Section {
        std::string header;
        bool isKey = false; // a readable key of the current user
        std::string path;
        std::vector<Entry> entries;
    };

    const Entry* findEntry(std::string_view path, std::string_view name) const;
    const Section* lastSection(std::string_view path) const;
    void endWithBlankLine();
    // Appends the header of a new key, after a blank line, with a blank line of its own.
    void addSection(std::string_view path);

    std::vector<Entry> m_preamble; // lines before the first key header
    std::vector<Section> m_sections;
    std::string m_newline = "\r\n";
};

} // namespace qm
