#include "net/tidheaderlist.h"

#include "platform/bytes.h"

#include <string>

namespace qm {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsContinuation(std::string_view line) { return !line.empty() && IsBlank(line.front()); }
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
        value += trimLeft(m_lines[next]);
    }
    return std::string(trimLeft(value));
}

void TIdHeaderList::Remove(std::string_view name)
{
    const int found = FindName(name);
    if (found < 0)
        return;
    auto end = m_lines.begin() + found + 1;
    while (end != m_lines.end() && IsContinuation(*end))
        ++end;
    m_lines.erase(m_lines.begin() + found, end);
}
} // namespace qm
