#include "research/sourcepageparser.h"

#include "headlines/suggestionlist.h"
#include "platform/bytes.h"
#include "research/contentfilter.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <stdexcept>

namespace qm {
namespace {

constexpr std::size_t npos = std::string_view::npos;

constexpr std::string_view kAnchor = "<a name=";
constexpr std::string_view kSectionEnd = "</ul>";
constexpr std::string_view kEntryStart = "<li>";
constexpr std::string_view kLinkEnd = "</a>";
constexpr std::string_view kAmpersandEntity = "&amp;";

// The first occurrence of a pattern at or after `from`, by a linear-time scan.
std::size_t findFrom(std::string_view text, std::string_view pattern, std::size_t from)
{
    if (from > text.size())
        return npos;
    const void* hit = ::memmem(text.data() + from, text.size() - from, pattern.data(), pattern.size());
    return hit == nullptr ? npos : static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
}

// The first "</a>" in text that was not lower-cased: "<" located fast, the rest compared folded.
std::size_t findLinkEndNoCase(std::string_view text)
{
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    for (const char* p = begin; end - p >= static_cast<std::ptrdiff_t>(kLinkEnd.size());) {
        p = static_cast<const char*>(std::memchr(p, '<', static_cast<std::size_t>(end - p)));
        if (p == nullptr || end - p < static_cast<std::ptrdiff_t>(kLinkEnd.size()))
            return npos;
        if (p[1] == '/' && asciiLower(p[2]) == 'a' && p[3] == '>')
            return static_cast<std::size_t>(p - begin);
        ++p;
    }
    return npos;
}

// Answers "first marker at or after `from`" for starts that mostly move forward, remembering the
// last hit: the walk asks for the next "<li>" and "</a>" once or twice per entry, and a hostile page
// (thousands of "<li>" and one "</a>" at the far end) must not make it rescan the same bytes.
class ForwardSearch final {
public:
    ForwardSearch(std::string_view text, std::string_view marker)
        : m_text(text)
        , m_marker(marker)
    {
    }

    std::size_t from(std::size_t start)
    {
        // The remembered answer holds for every start between where it was searched from and the hit.
        if (!m_valid || start < m_searchedFrom || (m_hit != npos && start > m_hit)) {
            m_hit = findFrom(m_text, m_marker, start);
            m_searchedFrom = start;
            m_valid = true;
        }
        return m_hit;
    }

private:
    std::string_view m_text;
    std::string_view m_marker;
    bool m_valid = false;
    std::size_t m_searchedFrom = 0;
    std::size_t m_hit = npos;
};

// The cleaning passes work in place: each keeps a stack of the bytes written so far and drops a
// match as soon as its last byte arrives. Removing "\r\n" or "&amp;" can only expose a new match
// that ends at the next byte, and neither pattern overlaps itself, so the order of removal does not
// change the result, and this single pass gives what repeated searches from the start give.
void removeLineBreaks(std::string& text)
{
    if (text.find('\r') == npos)
        return;
    std::size_t kept = 0;
    for (const char c : text) {
        text[kept++] = c;
        if (c == '\n' && kept >= 2 && text[kept - 2] == '\r')
            kept -= 2;
    }
    text.resize(kept);
}

void removeAmpersandEntities(std::string& text)
{
    if (text.find('&') == npos)
        return;
    const std::size_t n = kAmpersandEntity.size();
    std::size_t kept = 0;
    for (const char c : text) {
        text[kept++] = c;
        if (c == ';' && kept >= n && text[kept - n] == '&' && asciiLower(text[kept - n + 1]) == 'a'
            && asciiLower(text[kept - n + 2]) == 'm' && asciiLower(text[kept - n + 3]) == 'p')
            kept -= n;
    }
    text.resize(kept);
}

// "   " -> " " and then "  " -> " ", each until none is left, make every run of spaces one space.
void collapseSpaces(std::string& text)
{
    if (text.find("  ") == npos)
        return;
    std::size_t kept = 0;
    for (const char c : text) {
        if (c == ' ' && kept > 0 && text[kept - 1] == ' ')
            continue;
        text[kept++] = c;
    }
    text.resize(kept);
}

void cleanInPlace(std::string& text)
{
    removeLineBreaks(text);
    removeAmpersandEntities(text);
    collapseSpaces(text);
}

// The caption of one entry: cleaned, cut before its first "</a>", the text after the last ">" of
// what is left. `scratch` is reused from entry to entry.
std::string_view captionOf(std::string_view entry, std::string& scratch)
{
    try {
        scratch.assign(entry);
        cleanInPlace(scratch);
    } catch (const std::exception&) {
        return {}; // a cleaning that fails leaves the entry empty
    }
    const std::string_view cleaned = scratch;
    const std::size_t linkEnd = findLinkEndNoCase(cleaned);
    if (linkEnd == npos)
        return {};
    const std::string_view linkText = cleaned.substr(0, linkEnd);
    const std::size_t lastTagEnd = linkText.rfind('>');
    if (lastTagEnd == npos)
        return {};
    return linkText.substr(lastTagEnd + 1);
}

void call(const std::function<void()>& f)
{
    if (f)
        f();
}

} // namespace

void ParseSourcePage(std::string_view page, std::string_view key, SuggestionSink& sink, const ParseHooks& hooks)
{
    sink.clear();

    // Every search runs on one lower-cased copy: folding keeps the length, so an offset found there
    // is the same offset in the page, where the cuts are made.
    const std::string lowerPage = asciiLowerCopy(page);
    const std::string lowerKey = asciiLowerCopy(key);

    std::size_t start = findFrom(lowerPage, std::string(kAnchor) + lowerKey, 0);
    if (start == npos)
        start = findFrom(lowerPage, std::string(kAnchor) + '"' + lowerKey, 0);
    if (start == npos)
        start = 0; // no anchor: the section is taken from the start of the page
    const std::size_t sectionEnd = findFrom(lowerPage, kSectionEnd, start);
    if (sectionEnd == npos)
        return;

    // The section keeps the "<" of its "</ul>". Both views are of our own copies: the hooks may run
    // commands that change or free the caller's page.
    const std::size_t length = sectionEnd + 1 - start;
    const std::string text(page.substr(start, length));
    const std::string_view lowerText = std::string_view(lowerPage).substr(start, length);

    ForwardSearch entries(lowerText, kEntryStart);
    ForwardSearch linkEnds(lowerText, kLinkEnd);
    std::string scratch;

    std::size_t at = entries.from(0);
    if (at == npos)
        return;
    for (;;) {
        // The entry ends one byte before the next "<li>"; the last "<li>" gives an empty entry. The
        // next "<li>" is looked for two bytes on, so it cannot be the current one.
        const std::size_t next = entries.from(at + 2);
        const std::string_view entry =
            next == npos ? std::string_view() : std::string_view(text).substr(at, next - 1 - at);
        const std::string_view caption = captionOf(entry, scratch);

        const std::size_t linkEnd = linkEnds.from(at);
        if (linkEnd != npos)
            at = linkEnd;

        if (!caption.empty() && !IsBlockedHeadline(caption))
            sink.append(caption, false);
        call(hooks.pump);
        const std::size_t nextEntry = entries.from(at);
        call(hooks.pump);

        const bool stopped = hooks.stop && hooks.stop();
        // Without a further "</a>" the walk cannot advance: it would meet this same entry again and
        // again, so it ends here.
        if (stopped || nextEntry == npos || linkEnd == npos)
            return;
        at = nextEntry;
    }
}

std::string ReplaceAllNoCase(std::string_view source, std::string_view pattern, std::string_view replacement)
{
    if (pattern.empty())
        return std::string(source);
    const std::string lowerPattern = asciiLowerCopy(pattern);
    if (asciiLowerCopy(replacement).find(lowerPattern) != npos)
        throw std::invalid_argument("ReplaceAllNoCase: the replacement holds the pattern");

    // The text before the first match holds no match, so after a replacement the next first match
    // can only end in the replacement or behind it. `out` is that match-free front; `pending` holds,
    // reversed, the replacement bytes still to be read again before the rest of the source.
    const std::size_t n = lowerPattern.size();
    const char last = lowerPattern.back();
    std::string out;
    out.reserve(source.size());
    std::string pending;
    std::size_t next = 0;
    for (;;) {
        char c;
        if (!pending.empty()) {
            c = pending.back();
            pending.pop_back();
        } else if (next < source.size()) {
            c = source[next++];
        } else {
            break;
        }
        out.push_back(c);
        if (asciiLower(c) == last && out.size() >= n
            && std::equal(out.end() - static_cast<std::ptrdiff_t>(n), out.end(), lowerPattern.begin(),
                          [](char x, char y) { return asciiLower(x) == y; })) {
            out.resize(out.size() - n);
            pending.append(replacement.rbegin(), replacement.rend());
        }
    }
    return out;
}

std::string ReverseText(std::string_view source)
{
    return std::string(source.rbegin(), source.rend());
}

std::string CleanEntry(std::string_view entry)
{
    std::string text(entry);
    cleanInPlace(text);
    return text;
}

} // namespace qm
