#pragma once

// The program's reader and writer of private-profile (INI) files: sections opened by a "[name]" line,
// each holding "key=value" lines.
//
// Reading. Lines end with CR LF, LF alone or CR alone; a UTF-8 byte-order mark at the very start is
// skipped. Blanks (space and tab) around a line, a section name, a key name and a value are ignored.
// A line whose first byte is '[' opens a section named by the text up to the first ']' (or to the end
// of the line when there is none). Inside a section, a line with '=' after a non-empty key name holds
// a key. Every other line (blank lines, ';' comments, text before the first section, lines without
// '=') means nothing but is kept as it is when the file is written back. Section and key names are
// matched without regard to ASCII case; where a name occurs twice, its first occurrence wins and the
// later one is never read. A value enclosed in one pair of matching single or double quotes is
// returned without them. Malformed input never fails: whatever is not a section or key line is text
// that means nothing, so binary garbage reads as a file without sections.
//
// Writing changes this copy only; flush() writes the whole file at once, atomically, every line ended
// by CR LF. Lines that no write touched keep their text. Values are written so that they read back
// unchanged, apart from CR and LF, which a line cannot hold and which become blanks.
//
// A ProfileFile is one command's parsed copy of a file: the command loads it (or starts a new one),
// reads and writes, flushes and drops it. Nothing is cached between commands, so a file changed on
// disk in the meantime is read afresh by the next one.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qm {

// The largest file read. A headline file of 100,000 items with long captions stays well below this;
// a larger file is refused so that a hostile one cannot make the program allocate without bound, and
// flush() refuses to write one, so that nothing is saved that cannot be opened again.
constexpr std::size_t kMaxProfileFileBytes = std::size_t{64} * 1024 * 1024;
// Each section and key line costs some 40 bytes of bookkeeping once read, so a file of nothing but
// tiny lines ("[a]" again and again) would cost many times its size. The writer spends more than 7
// bytes on each line of a headline file (an item of an empty caption is "[item0]", "t=" and
// "check=0", each ended by CR LF), so a file may hold one such line per kMinBytesPerEntry bytes of its
// size, and up to kFreeEntries in any case: no hostile file costs more than the largest one the
// writer makes, and whatever the writer makes opens again.
constexpr std::size_t kMinBytesPerEntry = 6;
constexpr std::size_t kFreeEntries = 4096;

struct ProfileLimits {
    std::size_t maxBytes = kMaxProfileFileBytes;
};

class ProfileFile final {
public:
    // A new, empty profile: flush() replaces the file at path with what is written to it. What the
    // file holds now is not read.
    explicit ProfileFile(std::filesystem::path path);

    // Reads and parses the file. Throws FileError when it cannot be read (ENOENT when it does not
    // exist, EISDIR or EINVAL when it is not a regular file), and FileError with EFBIG when it exceeds
    // the limits.
    static ProfileFile load(const std::filesystem::path& path, const ProfileLimits& limits = {});
    // Parses bytes as the content of the file at path (flush() writes there). Throws FileError with
    // EFBIG when they exceed the limits.
    static ProfileFile parse(std::filesystem::path path, std::string bytes, const ProfileLimits& limits = {});

    // The distinct, non-empty section names in file order, each as first written.
    std::vector<std::string> sectionNames() const;
    std::size_t sectionCount() const { return m_firstSections.size(); }
    // The key's value, or defaultValue when the section or the key is missing, cut to its first
    // bufferSize - 1 bytes (the room a zero-terminated buffer of that size leaves). bufferSize >= 1.
    std::string value(std::string_view section, std::string_view key, std::string_view defaultValue,
                      std::size_t bufferSize) const;

    // The values of several keys of one section, each as value() gives it, or nothing when the section
    // is missing or holds no key: one look-up of the section for readers of whole records.
    std::optional<std::vector<std::string>> record(std::string_view section, std::span<const std::string_view> keys,
                                                   std::string_view defaultValue, std::size_t bufferSize) const;

    // Sets the key's value: replaces the line of the key in place when the section holds it, else adds
    // the key after the section's last key, and appends the section at the end of the file when it does
    // not exist. Names must be non-empty, without CR, LF, surrounding blanks, a ']' in a section name
    // or a '=' in a key name, and a key name must not begin with '[' or ';': std::invalid_argument.
    void write(std::string_view section, std::string_view key, std::string_view value);

    // Writes the file when this copy differs from it (a new profile always does), atomically.
    // Throws FileError; the file then keeps its earlier content. A file that load() would refuse is
    // not written (EFBIG).
    void flush();

    // The file's bytes as flush() writes them.
    std::string bytes() const;

private:
    struct Span {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };
    // A section or key line. gap: the lines in the original text between the previous section or key
    // line and this one (nothing for lines written here). owned: text, name and value lie in m_owned
    // rather than m_original.
    struct Line {
        Span gap;
        Span text;
        Span name;
        Span value;
        bool owned = false;
    };
    struct Section {
        Line header;
        std::vector<Line> keys;
    };

    void parseText();
    std::string_view view(Span span, bool owned) const;
    std::string_view nameOf(const Line& line) const { return view(line.name, line.owned); }
    const Section* findSection(std::string_view name) const;
    const Line* findKey(const Section& section, std::string_view key) const;
    Line ownLine(std::string_view text, std::size_t nameOffset, std::size_t nameLength);
    void appendGap(std::string& out, Span gap) const;

    std::filesystem::path m_path;
    std::string m_original; // the file as read; never changed, so spans into it stay valid
    std::string m_owned;    // text of the lines written here
    bool m_bom = false;
    std::vector<Section> m_sections;
    std::vector<std::uint32_t> m_firstSections;             // first section of each name, file order
    std::unordered_map<std::string, std::uint32_t> m_index; // lower-case name -> first section
    Span m_tail;                                            // lines after the last section or key line
    bool m_dirty = false;
};

} // namespace qm
