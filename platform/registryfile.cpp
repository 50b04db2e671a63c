#include "platform/registryfile.h"

#include "platform/bytes.h"
#include "platform/registryvalue.h"

#include <algorithm>

namespace qm {
namespace {

constexpr std::string_view kSignature = "Windows Registry Editor Version 5.00";
constexpr std::string_view kRoot = "HKEY_CURRENT_USER";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool isBlankEntryLine(const std::vector<std::string>& lines)
{
    return lines.size() == 1 && trimRegLine(lines.front()).empty();
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

bool RegistryFile::isValidValueName(std::string_view name) { return isValidRegValueName(name); }

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
                const std::string_view path = root.size() == inner.size() ? std::string_view() : inner.substr(root.size() + 1);
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
        if (startsRegValueLine(view)) {
            std::string logical(trimRegLine(view));
            while (!logical.empty() && logical.back() == '\\' && i < lines.size() && continuesRegHexList(lines[i])) {
                logical = joinRegHexLines(logical, lines[i]);
                entry.lines.emplace_back(lines[i]);
                ++i;
            }
            entry.isValue = parseRegValueLine(logical, entry.name, entry.value);
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

bool RegistryFile::setDword(std::string_view path, std::string_view name, std::uint32_t value)
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
        target->lines = {formatRegDwordLine(existing->name, value)};
        target->value = {RegType::Dword, dwordData(value)};
        return true;
    }
    Entry entry{{formatRegDwordLine(name, value)}, true, std::string(name), {RegType::Dword, dwordData(value)}};
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
