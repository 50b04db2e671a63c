#include "platform/profilefile.h"

#include "platform/atomicfile.h"
#include "platform/bytes.h"

#include <algorithm>
#include <cerrno>
#include <limits>
#include <stdexcept>
#include <utility>

namespace qm {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";
// Spans are 32-bit to keep the bookkeeping per line small.
constexpr std::size_t kMaxSpanOffset = std::numeric_limits<std::uint32_t>::max();

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isQuote(char c) { return c == '"' || c == '\''; }
bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

// Where the line starting at pos ends, and where the next one starts: a line ends with CR LF, LF
// or CR.
std::pair<std::size_t, std::size_t> lineAt(std::string_view text, std::size_t pos)
{
    std::size_t end = pos;
    while (end < text.size() && !isLineBreak(text[end]))
        ++end;
    std::size_t next = end;
    if (next < text.size())
        next += (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
    return {end, next};
}

struct Range {
    std::size_t begin;
    std::size_t end;
    std::size_t size() const { return end - begin; }
};

Range trimmed(std::string_view text, Range r)
{
    while (r.begin < r.end && isBlank(text[r.begin]))
        ++r.begin;
    while (r.end > r.begin && isBlank(text[r.end - 1]))
        --r.end;
    return r;
}

// One pair of matching quotes around the whole value goes; a lone quote mark stays.
Range unquoted(std::string_view text, Range r)
{
    if (r.size() >= 2 && isQuote(text[r.begin]) && text[r.end - 1] == text[r.begin])
        return {r.begin + 1, r.end - 1};
    return r;
}

// The key line's name and value, or nothing when the line holds no key.
struct KeyParts {
    Range name;
    Range value;
};
bool splitKeyLine(std::string_view text, Range line, KeyParts& parts)
{
    const Range t = trimmed(text, line);
    if (t.size() == 0 || text[t.begin] == '[' || text[t.begin] == ';')
        return false;
    const std::size_t eq = text.substr(0, t.end).find('=', t.begin);
    if (eq == std::string_view::npos)
        return false;
    parts.name = trimmed(text, {t.begin, eq});
    if (parts.name.size() == 0)
        return false;
    parts.value = unquoted(text, trimmed(text, {eq + 1, t.end}));
    return true;
}

// The name of a section line ("[name]" or "[name" up to the end of the line), or false.
bool sectionName(std::string_view text, Range line, Range& name)
{
    const Range t = trimmed(text, line);
    if (t.size() == 0 || text[t.begin] != '[')
        return false;
    std::size_t close = text.substr(0, t.end).find(']', t.begin + 1);
    if (close == std::string_view::npos)
        close = t.end;
    name = trimmed(text, {t.begin + 1, close});
    return true;
}

// A value as a line can hold it and as it reads back: CR and LF become blanks, and a value that the
// reader would trim or unquote goes into one more pair of double quotes.
std::string encodeValue(std::string_view value)
{
    std::string out(value);
    std::replace_if(out.begin(), out.end(), isLineBreak, ' ');
    const bool quote = !out.empty()
                       && (isBlank(out.front()) || isBlank(out.back())
                           || (out.size() >= 2 && isQuote(out.front()) && out.back() == out.front()));
    if (quote)
        out = '"' + out + '"';
    return out;
}

void checkName(std::string_view name, bool isSection)
{
    const bool bad = name.empty() || isBlank(name.front()) || isBlank(name.back())
                     || name.find_first_of("\r\n") != std::string_view::npos
                     || (isSection
                             ? name.find(']') != std::string_view::npos
                             : name.find('=') != std::string_view::npos || name.front() == '[' || name.front() == ';');
    if (bad)
        throw std::invalid_argument(std::string(isSection ? "invalid section name: " : "invalid key name: ")
                                    + std::string(name));
}

std::uint32_t narrow(std::size_t n) { return static_cast<std::uint32_t>(n); }

std::size_t entryLimit(std::size_t fileBytes) { return std::max(fileBytes / kMinBytesPerEntry, kFreeEntries); }

} // namespace

ProfileFile::ProfileFile(std::filesystem::path path) : m_path(std::move(path)), m_dirty(true) {}

ProfileFile ProfileFile::load(const std::filesystem::path& path, const ProfileLimits& limits)
{
    return parse(path, readWholeFile(path, std::min(limits.maxBytes, kMaxSpanOffset)), limits);
}

ProfileFile ProfileFile::parse(std::filesystem::path path, std::string bytes, const ProfileLimits& limits)
{
    const std::size_t maxBytes = std::min(limits.maxBytes, kMaxSpanOffset);
    if (bytes.size() > maxBytes)
        throw fileTooLarge(path, maxBytes);
    ProfileFile file(std::move(path));
    file.m_dirty = false;
    file.m_original = std::move(bytes);
    file.parseText();
    return file;
}

void ProfileFile::parseText()
{
    const std::string_view text = m_original;
    const std::size_t maxEntries = entryLimit(text.size());
    std::size_t pos = 0;
    if (text.starts_with(kBom)) {
        m_bom = true;
        pos = kBom.size();
    }
    // One cheap pass for the number of section lines spares the tables their regrowth on long files.
    std::size_t expected = text.starts_with('[') ? 1 : 0;
    for (std::size_t at = text.find("\n[", pos); at != std::string_view::npos; at = text.find("\n[", at + 2))
        ++expected;
    expected = std::min(expected, maxEntries);
    m_sections.reserve(expected);
    m_firstSections.reserve(expected);
    m_index.reserve(expected);

    std::size_t gapStart = pos;
    std::size_t entries = 0;
    const auto spanOf = [](Range r) { return Span{narrow(r.begin), narrow(r.size())}; };

    while (pos < text.size()) {
        const auto [end, next] = lineAt(text, pos);
        const Range line{pos, end};

        Range name{};
        KeyParts key{};
        const bool isSection = sectionName(text, line, name);
        const bool isKey = !isSection && !m_sections.empty() && splitKeyLine(text, line, key);
        if (isSection || isKey) {
            if (++entries > maxEntries)
                throw FileError(m_path, EFBIG, "it holds more section and key lines than a file of its size may");
            Line parsed;
            parsed.gap = spanOf({gapStart, pos});
            parsed.text = spanOf(line);
            parsed.name = spanOf(isSection ? name : key.name);
            if (isSection) {
                m_sections.push_back({parsed, {}});
                if (name.size() != 0) {
                    const auto index = narrow(m_sections.size() - 1);
                    if (m_index.try_emplace(asciiLowerCopy(text.substr(name.begin, name.size())), index).second)
                        m_firstSections.push_back(index);
                }
            } else {
                parsed.value = spanOf(key.value);
                std::vector<Line>& keys = m_sections.back().keys;
                if (keys.empty())
                    keys.reserve(2); // a headline item has two keys
                keys.push_back(parsed);
            }
            gapStart = next;
        }
        pos = next;
    }
    m_tail = spanOf({gapStart, text.size()});
}

std::string_view ProfileFile::view(Span span, bool owned) const
{
    return std::string_view(owned ? m_owned : m_original).substr(span.offset, span.length);
}

const ProfileFile::Section* ProfileFile::findSection(std::string_view name) const
{
    const auto it = m_index.find(asciiLowerCopy(name));
    return it == m_index.end() ? nullptr : &m_sections[it->second];
}

const ProfileFile::Line* ProfileFile::findKey(const Section& section, std::string_view key) const
{
    const auto it = std::find_if(section.keys.begin(), section.keys.end(),
                                 [&](const Line& line) { return equalsNoCase(nameOf(line), key); });
    return it == section.keys.end() ? nullptr : &*it;
}

std::string ProfileFile::value(std::string_view section, std::string_view key, std::string_view defaultValue,
                               std::size_t bufferSize) const
{
    auto found = record(section, std::span(&key, 1), defaultValue, bufferSize);
    return found ? std::move(found->front()) : std::string(defaultValue.substr(0, bufferSize - 1));
}

std::optional<std::vector<std::string>> ProfileFile::record(std::string_view section,
                                                            std::span<const std::string_view> keys,
                                                            std::string_view defaultValue, std::size_t bufferSize) const
{
    if (bufferSize == 0)
        throw std::invalid_argument("a value needs a buffer of at least 1 byte");
    const Section* found = findSection(section);
    if (found == nullptr || found->keys.empty())
        return std::nullopt;
    std::vector<std::string> values;
    values.reserve(keys.size());
    for (const std::string_view key : keys) {
        const Line* line = findKey(*found, key);
        const std::string_view value = line != nullptr ? view(line->value, line->owned) : defaultValue;
        values.emplace_back(value.substr(0, bufferSize - 1));
    }
    return values;
}

ProfileFile::Line ProfileFile::ownLine(std::string_view text, std::size_t nameOffset, std::size_t nameLength)
{
    if (m_owned.size() + text.size() > kMaxSpanOffset)
        throw std::length_error("too much text written to one profile file");
    Line line;
    line.owned = true;
    line.text = Span{narrow(m_owned.size()), narrow(text.size())};
    line.name = Span{narrow(m_owned.size() + nameOffset), narrow(nameLength)};
    m_owned.append(text);
    return line;
}

void ProfileFile::write(std::string_view section, std::string_view key, std::string_view value)
{
    checkName(section, true);
    checkName(key, false);

    std::string keyText(key);
    keyText.push_back('=');
    keyText.append(encodeValue(value));
    // Read the written line back as any other, so that its value is exactly what a reader will see.
    KeyParts parts{};
    splitKeyLine(keyText, {0, keyText.size()}, parts);

    const auto it = m_index.find(asciiLowerCopy(section));
    std::uint32_t index = 0;
    if (it == m_index.end()) {
        const std::string header = "[" + std::string(section) + "]";
        Line line = ownLine(header, 1, section.size());
        line.gap = m_tail; // the text after the last section stays before the new one
        m_sections.push_back({line, {}});
        m_tail = Span{m_tail.offset + m_tail.length, 0};
        index = narrow(m_sections.size() - 1);
        m_index.emplace(asciiLowerCopy(section), index);
        m_firstSections.push_back(index);
    } else {
        index = it->second;
    }

    const std::size_t base = m_owned.size();
    Line line = ownLine(keyText, parts.name.begin, parts.name.size());
    line.value = Span{narrow(base + parts.value.begin), narrow(parts.value.size())};
    Section& target = m_sections[index];
    if (const Line* existing = findKey(target, key)) {
        Line& replaced = target.keys[static_cast<std::size_t>(existing - target.keys.data())];
        line.gap = replaced.gap;
        replaced = line;
    } else {
        line.gap = Span{};
        target.keys.push_back(line);
    }
    m_dirty = true;
}

void ProfileFile::appendGap(std::string& out, Span gap) const
{
    // The lines between two section or key lines, each ended by CR LF whatever ended it before.
    const std::string_view text = view(gap, false);
    for (std::size_t pos = 0; pos < text.size();) {
        const auto [end, next] = lineAt(text, pos);
        out.append(text.substr(pos, end - pos)).append(kLineEnd);
        pos = next;
    }
}

std::string ProfileFile::bytes() const
{
    std::string out;
    out.reserve(m_original.size() + m_owned.size() + m_sections.size() * 8);
    if (m_bom)
        out.append(kBom);
    const auto appendLine = [&](const Line& line) {
        appendGap(out, line.gap);
        out.append(view(line.text, line.owned)).append(kLineEnd);
    };
    for (const Section& section : m_sections) {
        appendLine(section.header);
        for (const Line& key : section.keys)
            appendLine(key);
    }
    appendGap(out, m_tail);
    return out;
}

void ProfileFile::flush()
{
    if (!m_dirty)
        return;
    const std::string out = bytes();
    std::size_t entries = m_sections.size();
    for (const Section& section : m_sections)
        entries += section.keys.size();
    if (out.size() > kMaxProfileFileBytes)
        throw FileError(m_path, EFBIG,
                        "it would be larger than " + byteSizeText(kMaxProfileFileBytes)
                            + ", the most the program can open again; nothing was saved");
    if (entries > entryLimit(out.size()))
        throw FileError(m_path, EFBIG, "it would hold more lines than the program can open again; nothing was saved");
    writeFileAtomically(m_path, out);
    m_dirty = false;
}

} // namespace qm
