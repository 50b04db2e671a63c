#include "platform/registryfile.h"

#include "platform/bytes.h"

#include <algorithm>
#include <cstdio>

namespace qm {
namespace {

constexpr std::string_view kSignature = "Windows Registry Editor Version 5.00";
constexpr std::string_view kRoot = "HKEY_CURRENT_USER";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

constexpr std::size_t kMaxTypeDigits = 8;
constexpr std::string_view kLineBlanks = " \t\r";

std::string_view trimRegLine(std::string_view line) { return trimBytes(line, kLineBlanks); }

bool startsWithNoCase(std::string_view s, std::string_view prefix)
{
    return equalsNoCase(s.substr(0, prefix.size()), prefix);
}

// 1 to maxDigits hex digits and nothing else.
bool parseHexNumber(std::string_view s, std::size_t maxDigits, std::uint32_t& out)
{
    if (s.empty() || s.size() > maxDigits)
        return false;
    std::uint32_t n = 0;
    for (const char c : s) {
        const int d = hexDigitValue(c);
        if (d < 0)
            return false;
        n = (n << 4) | static_cast<std::uint32_t>(d);
    }
    out = n;
    return true;
}

// A quoted name or text starting at s[pos] == '"'. "\\" and "\"" are escapes; a backslash before any
// other character stands for itself. On success pos is just past the closing quote.
bool parseQuoted(std::string_view s, std::size_t& pos, std::string& out)
{
    out.clear();
    for (std::size_t i = pos + 1; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            pos = i + 1;
            return true;
        }
        if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"'))
            ++i;
        out.push_back(s[i]);
    }
    return false; // no closing quote
}

std::string quoted(std::string_view s)
{
    std::string out = "\"";
    for (const char c : s) {
        if (c == '\\' || c == '"')
            out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

bool parseHexList(std::string_view list, std::string& out)
{
    out.clear();
    if (trimRegLine(list).empty())
        return true;
    for (;;) {
        const std::size_t comma = list.find(',');
        std::uint32_t byte = 0;
        if (!parseHexNumber(trimRegLine(list.substr(0, comma)), 2, byte))
            return false;
        out.push_back(static_cast<char>(byte));
        if (comma == std::string_view::npos)
            return true;
        list.remove_prefix(comma + 1);
    }
}

// A DWORD's 4 data bytes, little-endian.
std::string dwordData(std::uint32_t value)
{
    return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
            static_cast<char>((value >> 16) & 0xFF), static_cast<char>((value >> 24) & 0xFF)};
}

// Reads one value line, continuation lines joined. False for anything that is not exactly one value
// (a deletion mark "name"=-, a bad number, an unclosed quote, trailing text).
bool parseValueLine(std::string_view line, std::string& name, RegValue& value)
{
    const std::string_view t = trimRegLine(line);
    std::size_t pos = 0;
    if (t.empty())
        return false;
    if (t.front() == '@') {
        name.clear();
        pos = 1;
    } else if (t.front() != '"' || !parseQuoted(t, pos, name) || !RegistryFile::isValidValueName(name)) {
        return false;
    }
    std::string_view rest = trimLeft(t.substr(pos), kLineBlanks);
    if (rest.empty() || rest.front() != '=')
        return false;
    rest = trimLeft(rest.substr(1), kLineBlanks);

    if (!rest.empty() && rest.front() == '"') {
        std::size_t end = 0;
        std::string text;
        if (!parseQuoted(rest, end, text) || !trimRegLine(rest.substr(end)).empty())
            return false;
        value.type = RegType::Sz;
        value.data = std::move(text);
        value.data.push_back('\0');
        return true;
    }
    if (startsWithNoCase(rest, "dword:")) {
        std::uint32_t n = 0;
        if (!parseHexNumber(trimRegLine(rest.substr(6)), 8, n))
            return false;
        value.type = RegType::Dword;
        value.data = dwordData(n);
        return true;
    }
    if (!startsWithNoCase(rest, "hex"))
        return false;
    // hex: for binary data, hex(n): for data of type n.
    auto type = static_cast<std::uint32_t>(RegType::Binary);
    rest.remove_prefix(3);
    if (!rest.empty() && rest.front() == '(') {
        const std::size_t close = rest.find(')');
        if (close == std::string_view::npos || !parseHexNumber(rest.substr(1, close - 1), kMaxTypeDigits, type))
            return false;
        rest.remove_prefix(close + 1);
    }
    if (rest.empty() || rest.front() != ':')
        return false;
    value.type = static_cast<RegType>(type);
    return parseHexList(rest.substr(1), value.data);
}

// The line that stores a DWORD: "name"=dword:0000abcd (@= for the default value).
std::string dwordLine(std::string_view name, std::uint32_t value)
{
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", value);
    return (name.empty() ? std::string("@") : quoted(name)) + "=dword:" + digits;
}

bool isBlankEntryLine(const std::vector<std::string>& lines)
{
    return lines.size() == 1 && trimRegLine(lines.front()).empty();
}

} // namespace

std::uint32_t dwordValue(std::string_view data)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < std::min<std::size_t>(data.size(), 4); ++i)
        value |= std::uint32_t{static_cast<unsigned char>(data[i])} << (8 * i);
    return value;
}

bool RegistryFile::isValidKeyPath(std::string_view path)
{
    if (path.empty())
        return true;
    for (;;) {
        const std::size_t slash = path.find('\\');
        const std::string_view name = path.substr(0, slash);
        if (name.empty() || name.size() > kMaxKeyNameBytes
            || name.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
            return false;
        if (slash == std::string_view::npos)
            return true;
        path.remove_prefix(slash + 1);
    }
}

bool RegistryFile::isValidValueName(std::string_view name)
{
    return name.size() <= kMaxValueNameBytes
           && name.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

RegistryFile RegistryFile::parse(std::string_view text)
{
    RegistryFile file;
    const std::size_t firstBreak = text.find('\n');
    const bool crlf = firstBreak != std::string_view::npos && firstBreak > 0 && text[firstBreak - 1] == '\r';
    if (firstBreak != std::string_view::npos && !crlf)
        file.m_newline = "\n";

    // Views into the text: each line is copied once, into the section or entry that keeps it.
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t br = text.find('\n');
        std::string_view line = text.substr(0, br);
        if (crlf && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        if (br == std::string_view::npos)
            break;
        text.remove_prefix(br + 1);
    }

    for (std::size_t i = 0; i < lines.size();) {
        std::string_view view = lines[i];
        if (i == 0 && view.substr(0, kUtf8Bom.size()) == kUtf8Bom)
            view.remove_prefix(kUtf8Bom.size());

        const std::string_view t = trimRegLine(view);
        if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
            Section section;
            section.header = lines[i];
            const std::string_view inner = t.substr(1, t.size() - 2);
            const std::string_view root = inner.substr(0, inner.find('\\'));
            if (equalsNoCase(root, kRoot)) {
                const std::string_view path = root.size() == inner.size() ? std::string_view()
                                                                          : inner.substr(root.size() + 1);
                section.isKey = isValidKeyPath(path);
                section.path = path;
            }
            file.m_sections.push_back(std::move(section));
            ++i;
            continue;
        }

        Entry entry;
        entry.lines.emplace_back(lines[i]);
        ++i;
        if (!t.empty() && (t.front() == '"' || t.front() == '@')) {
            // A wrapped hex list: the backslash goes, the continuation line joins without its blanks.
            std::string logical(t);
            const auto continues = [](std::string_view line) {
                line = trimLeft(line, kLineBlanks);
                return !line.empty() && hexDigitValue(line.front()) >= 0;
            };
            while (!logical.empty() && logical.back() == '\\' && i < lines.size() && continues(lines[i])) {
                logical.pop_back();
                logical += trimRegLine(lines[i]);
                entry.lines.emplace_back(lines[i]);
                ++i;
            }
            entry.isValue = parseValueLine(logical, entry.name, entry.value);
        }
        (file.m_sections.empty() ? file.m_preamble : file.m_sections.back().entries).push_back(std::move(entry));
    }
    return file;
}

std::string RegistryFile::serialize() const
{
    std::string out;
    const auto addLines = [&](const std::vector<Entry>& entries) {
        for (const Entry& e : entries)
            for (const std::string& line : e.lines)
                out.append(line).append(m_newline);
    };
    addLines(m_preamble);
    for (const Section& s : m_sections) {
        out.append(s.header).append(m_newline);
        addLines(s.entries);
    }
    return out;
}

bool RegistryFile::hasKey(std::string_view path) const
{
    return isValidKeyPath(path) && (path.empty() || lastSection(path) != nullptr);
}

void RegistryFile::endWithBlankLine()
{
    std::vector<Entry>& tail = m_sections.empty() ? m_preamble : m_sections.back().entries;
    if (m_sections.empty() && m_preamble.empty()) {
        m_preamble.push_back({{std::string(kSignature)}, false, {}, {}});
    } else if (!tail.empty() && isBlankEntryLine(tail.back().lines)) {
        return;
    }
    tail.push_back({{std::string()}, false, {}, {}});
}

bool RegistryFile::createKey(std::string_view path)
{
    if (!isValidKeyPath(path))
        return false;
    std::size_t end = 0;
    while (end < path.size()) {
        end = path.find('\\', end + 1);
        if (end == std::string_view::npos)
            end = path.size();
        if (const std::string_view prefix = path.substr(0, end); !hasKey(prefix))
            addSection(prefix);
    }
    return true;
}

void RegistryFile::addSection(std::string_view path)
{
    endWithBlankLine();
    const std::string header = "[" + std::string(kRoot) + (path.empty() ? "" : "\\") + std::string(path) + "]";
    m_sections.push_back({header, true, std::string(path), {{{std::string()}, false, {}, {}}}});
}

const RegistryFile::Entry* RegistryFile::findEntry(std::string_view path, std::string_view name) const
{
    const Entry* found = nullptr;
    for (const Section& s : m_sections) {
        if (!s.isKey || !equalsNoCase(s.path, path))
            continue;
        for (const Entry& e : s.entries)
            if (e.isValue && equalsNoCase(e.name, name))
                found = &e;
    }
    return found;
}

const RegistryFile::Section* RegistryFile::lastSection(std::string_view path) const
{
    const Section* found = nullptr;
    for (const Section& s : m_sections)
        if (s.isKey && equalsNoCase(s.path, path))
            found = &s;
    return found;
}

const RegValue* RegistryFile::value(std::string_view path, std::string_view name) const
{
    const Entry* found = findEntry(path, name);
    return found != nullptr ? &found->value : nullptr;
}

bool RegistryFile::setDword(std::string_view path, std::string_view name, std::uint32_t value)
{
    if (!hasKey(path) || !isValidValueName(name))
        return false;
    if (lastSection(path) == nullptr) // the root exists without a header of its own
        addSection(path);
    if (const Entry* existing = findEntry(path, name)) {
        // Replaces the line that holds; the value keeps the spelling of its name as stored.
        auto* target = const_cast<Entry*>(existing);
        target->lines = {dwordLine(existing->name, value)};
        target->value = {RegType::Dword, dwordData(value)};
        return true;
    }
    Entry entry{{dwordLine(name, value)}, true, std::string(name), {RegType::Dword, dwordData(value)}};
    std::vector<Entry>& entries = const_cast<Section*>(lastSection(path))->entries;
    auto at = entries.end();
    while (at != entries.begin() && isBlankEntryLine(std::prev(at)->lines))
        --at;
    entries.insert(at, std::move(entry));
    return true;
}

std::vector<RegistryFile::Item> RegistryFile::items() const
{
    std::vector<Item> out;
    for (const Section& s : m_sections)
        if (s.isKey)
            for (const Entry& e : s.entries)
                if (e.isValue)
                    out.push_back({s.path, e.name, e.value});
    return out;
}

} // namespace qm
