#include "platform/registryvalue.h"

#include "platform/bytes.h"

#include <algorithm>
#include <cstdio>

namespace qm {
namespace {

constexpr std::size_t kMaxTypeDigits = 8;
constexpr std::string_view kLineBlanks = " \t\r";

bool startsWithNoCase(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && equalsNoCase(s.substr(0, prefix.size()), prefix);
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

} // namespace

std::string dwordData(std::uint32_t value)
{
    return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
            static_cast<char>((value >> 16) & 0xFF), static_cast<char>((value >> 24) & 0xFF)};
}

std::uint32_t dwordValue(std::string_view data)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < std::min<std::size_t>(data.size(), 4); ++i)
        value |= std::uint32_t{static_cast<unsigned char>(data[i])} << (8 * i);
    return value;
}

bool parseRegValueLine(std::string_view line, std::string& name, RegValue& value)
{
    const std::string_view t = trimRegLine(line);
    std::size_t pos = 0;
    if (t.empty())
        return false;
    if (t.front() == '@') {
        name.clear();
        pos = 1;
    } else if (t.front() != '"' || !parseQuoted(t, pos, name) || !isValidRegValueName(name)) {
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

std::string_view trimRegLine(std::string_view line) { return trimBytes(line, kLineBlanks); }

bool startsRegValueLine(std::string_view line)
{
    const std::string_view t = trimLeft(line, kLineBlanks);
    return !t.empty() && (t.front() == '"' || t.front() == '@');
}

bool continuesRegHexList(std::string_view line)
{
    const std::string_view t = trimLeft(line, kLineBlanks);
    return !t.empty() && hexDigitValue(t.front()) >= 0;
}

std::string formatRegDwordLine(std::string_view name, std::uint32_t value)
{
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", value);
    return (name.empty() ? std::string("@") : quoted(name)) + "=dword:" + digits;
}

bool isValidRegValueName(std::string_view name)
{
    return name.size() <= kMaxRegValueNameBytes
           && name.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

std::string joinRegHexLines(std::string_view logical, std::string_view next)
{
    std::string joined(trimRight(logical, kLineBlanks));
    if (!joined.empty() && joined.back() == '\\')
        joined.pop_back();
    joined += trimRegLine(next);
    return joined;
}

} // namespace qm
