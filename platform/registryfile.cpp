#include "platform/registryfile.h"

#include "platform/bytes.h"

#include <algorithm>

namespace qm {
namespace {

constexpr std::string_view kSignature = "Windows Registry Editor Version 5.00";
constexpr std::string_view kRoot = "HKEY_CURRENT_USER";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// Hex lists are wrapped so that no line grows past this width, continuation lines indented by two.
constexpr std::size_t kHexLineWidth = 80;
constexpr std::size_t kMaxTypeDigits = 8;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trimLeft(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

std::string_view trimRight(std::string_view s)
{
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string_view trim(std::string_view s) { return trimRight(trimLeft(s)); }

bool startsWithNoCase(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && equalsNoCase(s.substr(0, prefix.size()), prefix);
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// 1 to maxDigits hex digits and nothing else.
bool parseHexNumber(std::string_view s, std::size_t maxDigits, std::uint32_t& out)
{
    if (s.empty() || s.size() > maxDigits)
        return false;
    std::uint32_t n = 0;
    for (const char c : s) {
        const int d = hexDigit(c);
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
    if (trim(list).empty())
        return true;
    for (;;) {
        const std::size_t comma = list.find(',');
        std::uint32_t byte = 0;
        if (!parseHexNumber(trim(list.substr(0, comma)), 2, byte))
            return false;
        out.push_back(static_cast<char>(byte));
        if (comma == std::string_view::npos)
            return true;
        list.remove_prefix(comma + 1);
    }
}

// Reads `"name"=data` or `@=data` (the key's default value).
bool parseValueLine(std::string_view line, std::string& name, RegValue& value)
{
    const std::string_view t = trim(line);
    std::size_t pos = 0;
    if (t.empty())
        return false;
    if (t.front() == '@') {
        name.clear();
        pos = 1;
    } else if (t.front() != '"' || !parseQuoted(t, pos, name) || !RegistryFile::isValidValueName(name)) {
        return false;
    }
    std::string_view rest = trimLeft(t.substr(pos));
    if (rest.empty() || rest.front() != '=')
        return false;
    rest = trimLeft(rest.substr(1));

    if (!rest.empty() && rest.front() == '"') {
        std::size_t end = 0;
        std::string text;
        if (!parseQuoted(rest, end, text) || !trim(rest.substr(end)).empty())
            return false;
        value.type = RegType::Sz;
        value.data = std::move(text);
        value.data.push_back('\0');
        return true;
    }
    if (startsWithNoCase(rest, "dword:")) {
        std::uint32_t n = 0;
        if (!parseHexNumber(trim(rest.substr(6)), 8, n))
            return false;
        value.type = RegType::Dword;
        value.data.assign({static_cast<char>(n & 0xFF), static_cast<char>((n >> 8) & 0xFF),
                           static_cast<char>((n >> 16) & 0xFF), static_cast<char>((n >> 24) & 0xFF)});
        return true;
    }
    if (startsWithNoCase(rest, "hex:")) {
        value.type = RegType::Binary;
        return parseHexList(rest.substr(4), value.data);
    }
    if (startsWithNoCase(rest, "hex(")) {
        const std::size_t close = rest.find(')');
        std::uint32_t type = 0;
        if (close == std::string_view::npos || close + 1 >= rest.size() || rest[close + 1] != ':'
            || !parseHexNumber(rest.substr(4, close - 4), kMaxTypeDigits, type))
            return false;
        value.type = static_cast<RegType>(type);
        return parseHexList(rest.substr(close + 2), value.data);
    }
    return false;
}

bool looksLikeValueStart(std::string_view line)
{
    const std::string_view t = trimLeft(line);
    return !t.empty() && (t.front() == '"' || t.front() == '@');
}

// A continuation line of a wrapped hex list starts, after its indent, with a hex digit.
bool isHexContinuation(std::string_view line)
{
    const std::string_view t = trimLeft(line);
    return !t.empty() && hexDigit(t.front()) >= 0;
}

std::string hexByte(unsigned char b)
{
    constexpr char kDigits[] = "0123456789abcdef";
    return {kDigits[b >> 4], kDigits[b & 0x0F]};
}

std::string hexNumber(std::uint32_t n, std::size_t minDigits)
{
    std::string out;
    do {
        out.insert(out.begin(), "0123456789abcdef"[n & 0x0F]);
        n >>= 4;
    } while (n != 0);
    if (out.size() < minDigits)
        out.insert(0, minDigits - out.size(), '0');
    return out;
}

bool isPlainText(const std::string& data)
{
    if (data.empty() || data.back() != '\0')
        return false;
    return std::none_of(data.begin(), data.end() - 1, [](char c) { return c == '\0' || c == '\r' || c == '\n'; });
}

std::vector<std::string> formatValue(std::string_view name, const RegValue& value)
{
    std::string first = name.empty() ? std::string("@") : quoted(name);
    first.push_back('=');
    if (value.type == RegType::Sz && isPlainText(value.data))
        return {first + quoted(std::string_view(value.data).substr(0, value.data.size() - 1))};
    if (value.type == RegType::Dword && value.data.size() == 4) {
        std::uint32_t n = 0;
        for (int i = 3; i >= 0; --i)
            n = (n << 8) | static_cast<unsigned char>(value.data[static_cast<std::size_t>(i)]);
        return {first + "dword:" + hexNumber(n, 8)};
    }
    if (value.type == RegType::Binary)
        first += "hex:";
    else
        first += "hex(" + hexNumber(static_cast<std::uint32_t>(value.type), 1) + "):";

    std::vector<std::string> lines;
    std::string line = std::move(first);
    bool lineHasByte = false;
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        std::string token = hexByte(static_cast<unsigned char>(value.data[i]));
        if (i + 1 < value.data.size())
            token.push_back(',');
        // Leave room for the continuation backslash.
        if (lineHasByte && line.size() + token.size() + 1 > kHexLineWidth) {
            lines.push_back(line + "\\");
            line = "  ";
        }
        line += token;
        lineHasByte = true;
    }
    lines.push_back(std::move(line));
    return lines;
}

bool isBlankEntryLine(const std::vector<std::string>& lines)
{
    return lines.size() == 1 && trim(lines.front()).empty();
}

std::string keyHeader(std::string_view path)
{
    std::string header = "[";
    header += kRoot;
    if (!path.empty()) {
        header.push_back('\\');
        header += path;
    }
    header.push_back(']');
    return header;
}

} // namespace

bool RegistryFile::isValidKeyPath(std::string_view path)
{
    if (path.empty())
        return true;
    for (;;) {
        const std::size_t slash = path.find('\\');
        const std::string_view name = path.substr(0, slash);
        if (name.empty() || name.size() > kMaxKeyNameBytes || name.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
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

    std::vector<std::string> lines;
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

        const std::string_view t = trim(view);
        if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
            Section section;
            section.header = lines[i];
            const std::string_view inner = t.substr(1, t.size() - 2);
            const std::string_view root = inner.substr(0, inner.find('\\'));
            if (equalsNoCase(root, kRoot)) {
                const std::string_view path = root.size() == inner.size() ? std::string_view() : inner.substr(root.size() + 1);
                section.isKey = isValidKeyPath(path);
                section.path = path;
            }
            file.m_sections.push_back(std::move(section));
            ++i;
            continue;
        }

        Entry entry;
        entry.lines.push_back(lines[i]);
        ++i;
        if (looksLikeValueStart(view)) {
            std::string logical(trimRight(view));
            while (!logical.empty() && logical.back() == '\\' && i < lines.size() && isHexContinuation(lines[i])) {
                logical.pop_back();
                logical += trimRight(trimLeft(lines[i]));
                entry.lines.push_back(lines[i]);
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
    if (!isValidKeyPath(path))
        return false;
    if (path.empty())
        return true;
    return std::any_of(m_sections.begin(), m_sections.end(),
                       [&](const Section& s) { return s.isKey && equalsNoCase(s.path, path); });
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
        const std::string_view prefix = path.substr(0, end);
        if (hasKey(prefix))
            continue;
        endWithBlankLine();
        Section section;
        section.header = keyHeader(prefix);
        section.isKey = true;
        section.path = prefix;
        section.entries.push_back({{std::string()}, false, {}, {}});
        m_sections.push_back(std::move(section));
    }
    return true;
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

RegistryFile::Section* RegistryFile::lastSection(std::string_view path)
{
    Section* found = nullptr;
    for (Section& s : m_sections)
        if (s.isKey && equalsNoCase(s.path, path))
            found = &s;
    return found;
}

const RegValue* RegistryFile::value(std::string_view path, std::string_view name) const
{
    const Entry* found = findEntry(path, name);
    return found != nullptr ? &found->value : nullptr;
}

bool RegistryFile::setValue(std::string_view path, std::string_view name, RegValue value)
{
    if (!hasKey(path) || !isValidValueName(name))
        return false;
    if (lastSection(path) == nullptr) { // the root exists without a header of its own
        endWithBlankLine();
        m_sections.push_back({keyHeader(path), true, std::string(path), {{{std::string()}, false, {}, {}}}});
    }
    if (const Entry* existing = findEntry(path, name)) {
        // Replaces the line that holds; the value keeps the spelling of its name as stored.
        auto* target = const_cast<Entry*>(existing);
        target->lines = formatValue(existing->name, value);
        target->value = std::move(value);
        return true;
    }
    Entry entry{formatValue(name, value), true, std::string(name), std::move(value)};
    std::vector<Entry>& entries = lastSection(path)->entries;
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
