#include "net/tidheaderlist.h"

#include "platform/bytes.h"

#include <string>

namespace qm {
namespace {

constexpr std::string_view kNameValueSeparator = ": ";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsContinuation(std::string_view line)
{
    return !line.empty() && IsBlank(line.front());
}

std::string_view TrimLeadingBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

// Splits a line longer than kHeaderFoldLength at blanks: each continuation line begins with the
// blank it was split at. A stretch without a blank is left long.
std::vector<std::string> Fold(std::string line, std::size_t nameLength)
{
    std::vector<std::string> lines;
    while (line.size() > kHeaderFoldLength) {
        // Only blanks inside the value, and never the very first character of a continuation line.
        std::size_t at = line.find_last_of(" \t", kHeaderFoldLength);
        const std::size_t earliest = lines.empty() ? nameLength + kNameValueSeparator.size() : 1;
        if (at == std::string::npos || at < earliest)
            break;
        lines.push_back(line.substr(0, at));
        line.erase(0, at);
    }
    lines.push_back(std::move(line));
    return lines;
}

} // namespace

std::string_view TIdHeaderList::NameAt(std::size_t i) const
{
    const std::string_view line = m_lines.at(i);
    const std::size_t colon = line.find(':');
    return colon == std::string_view::npos ? std::string_view() : line.substr(0, colon);
}

int TIdHeaderList::FindName(std::string_view name) const
{
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (equalsNoCase(NameAt(i), name))
            return static_cast<int>(i);
    }
    return -1;
}

std::string TIdHeaderList::ValueAt(int i) const
{
    if (i < 0 || static_cast<std::size_t>(i) >= m_lines.size())
        return {};
    const auto index = static_cast<std::size_t>(i);
    const std::string_view line = m_lines[index];
    const std::size_t skip = std::min(line.size(), NameAt(index).size() + 1);
    std::string value(line.substr(skip));
    for (std::size_t next = index + 1; next < m_lines.size() && IsContinuation(m_lines[next]); ++next) {
        if (!value.empty() && !IsBlank(value.back()))
            value += ' ';
        value += TrimLeadingBlanks(m_lines[next]);
    }
    return std::string(TrimLeadingBlanks(value));
}

std::size_t TIdHeaderList::EndOfHeader(std::size_t i) const
{
    std::size_t end = i + 1;
    while (end < m_lines.size() && IsContinuation(m_lines[end]))
        ++end;
    return end;
}

void TIdHeaderList::StoreValue(std::string_view name, std::string_view value)
{
    const int found = FindName(name);
    auto at = m_lines.end();
    if (found >= 0) {
        const auto first = m_lines.begin() + found;
        at = m_lines.erase(first, m_lines.begin() + static_cast<std::ptrdiff_t>(EndOfHeader(static_cast<std::size_t>(found))));
    }
    if (value.empty())
        return;
    std::string line(name);
    line.append(kNameValueSeparator).append(value);
    const std::vector<std::string> folded = Fold(std::move(line), name.size());
    m_lines.insert(at, folded.begin(), folded.end());
}

} // namespace qm
