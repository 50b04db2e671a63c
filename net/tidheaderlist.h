#pragma once

// An ordered list of header lines with header semantics: "Name: value" lines, names compared without
// regard to case, and continuation lines (those beginning with a blank or a tab) unfolded into the
// value of the line above when a value is read.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class TIdHeaderList final {
public:
    std::size_t Count() const { return m_lines.size(); }
    const std::string& operator[](std::size_t i) const { return m_lines[i]; }
    auto begin() const { return m_lines.begin(); }
    auto end() const { return m_lines.end(); }
    void Add(std::string line) { m_lines.push_back(std::move(line)); }
    void Clear() { m_lines.clear(); }

    // The text of line i before its first ":", untrimmed; empty when the line has no ":".
    std::string_view NameAt(std::size_t i) const;
    // Index of the first line whose name equals name without regard to case, or -1.
    int FindName(std::string_view name) const;
    // The value of line i with its continuation lines unfolded, leading blanks and tabs removed
    // (trailing ones stay); empty for i = -1.
    std::string ValueAt(int i) const;
    std::string ValueOf(std::string_view name) const { return ValueAt(FindName(name)); }
    // Removes the first line of that name and its continuation lines (nothing when absent).
    void Remove(std::string_view name);

private:
    std::vector<std::string> m_lines;
};

} // namespace qm
