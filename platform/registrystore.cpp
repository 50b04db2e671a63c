#include "platform/registrystore.h"

#include "platform/atomicfile.h"
#include "platform/bytes.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <limits>
#include <unistd.h>

namespace qm {
namespace {

constexpr std::string_view kKeyPrefix = "HKEY_CURRENT_USER\\";
constexpr std::string_view kLineBlanks = " \t\r\n";

// A quoted name or text starting at s[0] == '"'. "\\" and "\"" are escapes; a backslash before any
// other byte stands for itself. The length of the quoted part, or nothing without a closing quote.
std::optional<std::size_t> unquote(std::string_view s, std::string& out)
{
    for (std::size_t i = 1; i < s.size(); ++i) {
        if (s[i] == '"')
            return i + 1;
        if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"'))
            ++i;
        out.push_back(s[i]);
    }
    return std::nullopt;
}

// The data of a value line, after its '=': "text" or dword:0000abcd.
std::optional<RegValue> parseData(std::string_view data)
{
    std::string text;
    if (data.starts_with('"'))
        return unquote(data, text) == data.size() ? std::optional(RegValue{RegType::Sz, text.size() + 1, 0})
                                                  : std::nullopt;
    const std::string_view digits = trimLeft(data.substr(std::min<std::size_t>(6, data.size())), kLineBlanks);
    const auto number = parseUnsigned(digits, 16, std::numeric_limits<std::uint32_t>::max());
    if (!equalsNoCase(data.substr(0, 6), "dword:") || digits.size() > 8 || !number)
        return std::nullopt;
    return RegValue{RegType::Dword, 4, static_cast<std::uint32_t>(*number)};
}

// CR LF, LF or nothing: lines hold a line feed only at their end.
std::string_view lineBreak(std::string_view line)
{
    return line.ends_with('\n') ? line.substr(line.size() - (line.ends_with("\r\n") ? 2 : 1)) : std::string_view();
}

// Saving renames a temporary file into the folder, so an existing store needs a writable folder too;
// a read-only store file is the user's way of saying "do not change it". A store that does not exist
// yet is tried when the key is closed.
bool fileSystemAllowsWrite(const std::filesystem::path& file)
{
    if (::access(file.c_str(), W_OK) == 0)
        return ::access(file.parent_path().c_str(), W_OK) == 0;
    return errno == ENOENT;
}

} // namespace

RegistryFile::RegistryFile(std::string_view text, std::string_view path) : m_path(path)
{
    const std::size_t firstBreak = text.find('\n');
    if (firstBreak != std::string_view::npos && (firstBreak == 0 || text[firstBreak - 1] != '\r'))
        m_newline = "\n";
    bool inKey = false;
    while (!text.empty()) {
        Line& line = m_lines.emplace_back();
        line.text = text.substr(0, std::min(text.find('\n'), text.size() - 1) + 1);
        text.remove_prefix(line.text.size());
        const std::string_view t = trimBytes(line.text, kLineBlanks);
        if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
            const std::string_view inner = t.substr(1, t.size() - 2);
            inKey = equalsNoCase(inner.substr(0, kKeyPrefix.size()), kKeyPrefix)
                    && equalsNoCase(inner.substr(kKeyPrefix.size()), path);
            line.kind = inKey ? Kind::Key : Kind::Other;
            continue;
        }
        std::string name;
        const std::optional<std::size_t> nameEnd = inKey && t.starts_with('"') ? unquote(t, name) : std::nullopt;
        std::string_view data = trimLeft(t.substr(nameEnd.value_or(t.size())), kLineBlanks);
        if (name.empty() || !data.starts_with('='))
            continue;
        data = trimLeft(data.substr(1), kLineBlanks);
        if (const std::optional<RegValue> value = parseData(data)) {
            line.dataAt = static_cast<std::size_t>(data.data() - line.text.data());
            line.kind = Kind::Value;
            line.name = std::move(name);
            line.value = *value;
        }
    }
}

std::string RegistryFile::text() const
{
    std::string out;
    for (const Line& line : m_lines)
        out += line.text;
    return out;
}

bool RegistryFile::hasKey() const { return std::ranges::find(m_lines, Kind::Key, &Line::kind) != m_lines.end(); }

void RegistryFile::createKey()
{
    if (m_lines.empty())
        insert(0, "Windows Registry Editor Version 5.00", Kind::Other);
    if (!trimBytes(m_lines.back().text, kLineBlanks).empty())
        insert(m_lines.size(), {}, Kind::Other);
    insert(m_lines.size(), "[" + std::string(kKeyPrefix) + m_path + "]", Kind::Key);
}

std::optional<std::size_t> RegistryFile::locate(std::string_view name, std::size_t& end) const
{
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind == Kind::Key || m_lines[i].kind == Kind::Value)
            end = i + 1;
        if (m_lines[i].kind == Kind::Value && equalsNoCase(m_lines[i].name, name))
            found = i;
    }
    return found;
}

std::optional<RegValue> RegistryFile::value(std::string_view name) const
{
    std::size_t end = 0;
    const std::optional<std::size_t> at = locate(name, end);
    return at ? std::optional(m_lines[*at].value) : std::nullopt;
}

bool RegistryFile::setDword(std::string_view name, std::uint32_t value)
{
    std::size_t end = 0;
    std::optional<std::size_t> at = locate(name, end);
    if (!at) {
        if (end == 0 || name.empty() || name.find_first_of(std::string_view("\"\\\r\n\0", 5)) != std::string_view::npos)
            return false;
        insert(end, "\"" + std::string(name) + "\"=", Kind::Value, name);
        m_lines[end].dataAt = name.size() + 3;
        at = end;
    }
    // A value read keeps the spelling of its name, the line its blanks and its line break.
    Line& line = m_lines[*at];
    char data[16];
    std::snprintf(data, sizeof data, "dword:%08x", value);
    line.text = line.text.substr(0, line.dataAt) + data + std::string(lineBreak(line.text));
    line.value = {RegType::Dword, 4, value};
    return true;
}

void RegistryFile::insert(std::size_t at, std::string text, Kind kind, std::string_view name)
{
    // Only the file's last line can lack its line break.
    if (at > 0 && lineBreak(m_lines[at - 1].text).empty())
        m_lines[at - 1].text += m_newline;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at),
                   Line{std::move(text) + m_newline, kind, std::string(name), {}, 0});
}

RegistryKey RegistryStore::open(std::string_view path, bool create) const
{
    if (path.starts_with('\\'))
        path.remove_prefix(1);
    if (path.empty() || path.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        return RegistryKey(nullptr);
    std::string text;
    // A folder, a pipe or a device in the store's place is refused by the reader, without waiting.
    try {
        text = readWholeFile(m_file, kMaxStoreBytes);
        if (static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) > kMaxStoreLines)
            return RegistryKey(nullptr);
    } catch (const FileError& failure) {
        if (failure.errorNumber() != ENOENT)
            return RegistryKey(nullptr);
    }
    auto key = std::make_unique<RegistryKey::Open>(RegistryKey::Open{m_file, RegistryFile(text, path), false});
    key->changed = !key->content.hasKey();
    if ((key->changed && !create) || !(m_canWrite ? m_canWrite(m_file) : fileSystemAllowsWrite(m_file)))
        return RegistryKey(nullptr);
    if (key->changed)
        key->content.createKey();
    return RegistryKey(std::move(key));
}

bool RegistryKey::setDword(std::string_view name, std::uint32_t value)
{
    if (!m_open || !m_open->content.setDword(name, value))
        return false;
    m_open->changed = true;
    return true;
}

bool RegistryKey::close() noexcept
{
    const std::unique_ptr<Open> open = std::move(m_open);
    if (!open || !open->changed)
        return true;
    try {
        std::error_code ignored; // a folder that cannot be made fails the write
        std::filesystem::create_directories(open->file.parent_path(), ignored);
        writeFileAtomically(open->file, open->content.text());
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace qm
