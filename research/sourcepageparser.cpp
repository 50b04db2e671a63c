#include "research/sourcepageparser.h"

#include "headlines/suggestionlist.h"
#include "platform/bytes.h"
#include "research/contentfilter.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <utility>

namespace qm {
namespace {

constexpr std::size_t npos = std::string_view::npos;

constexpr std::string_view kAnchor = "<a name=";
constexpr std::string_view kSectionEnd = "</ul>";
constexpr std::string_view kEntryStart = "<li>";
constexpr std::string_view kLinkEnd = "</a>";
constexpr std::string_view kAmpersandEntity = "&amp;";

} // namespace

// Every pattern here begins with "<", which memchr finds fast; the rest is compared at each "<". A
// compare can only run past the next "<" when the pattern holds one after its start, so for the
// markers and the topic keys every byte is looked at a bounded number of times.
std::size_t findNoCase(std::string_view text, std::string_view lowerPattern, std::size_t from)
{
    const std::size_t n = lowerPattern.size();
    if (from > text.size() || n > text.size() - from)
        return npos;
    if (n == 0)
        return from;
    const char* const begin = text.data();
    const char* const last = begin + (text.size() - n); // the last place a match can start
    const char first = lowerPattern[0];
    const bool firstIsLetter = first >= 'a' && first <= 'z';
    for (const char* p = begin + from; p <= last; ++p) {
        if (firstIsLetter) {
            if (asciiLower(*p) != first)
                continue;
        } else {
            p = static_cast<const char*>(std::memchr(p, first, static_cast<std::size_t>(last - p) + 1));
            if (p == nullptr)
                return npos;
        }
        std::size_t k = 1;
        while (k < n && asciiLower(p[k]) == lowerPattern[k])
            ++k;
        if (k == n)
            return static_cast<std::size_t>(p - begin);
    }
    return npos;
}

namespace {

// Answers "first marker at or after `from`" for starts that mostly move forward, remembering the
// last hit: the walk asks for the next "<li>" and "</a>" once or twice per entry, and a hostile page
// (thousands of "<li>" and one "</a>" at the far end) must not make it rescan the same bytes.
class ForwardSearch final {
public:
    ForwardSearch(std::string_view text, std::string_view marker) : m_text(text), m_marker(marker) {}

    std::size_t from(std::size_t start)
    {
        // The remembered answer holds for every start between where it was searched from and the hit.
        if (!m_valid || start < m_searchedFrom || (m_hit != npos && start > m_hit)) {
            m_hit = findNoCase(m_text, m_marker, start);
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

// What ReplaceAllNoCase gives, written into `out`; false, with `out` untouched, when the source holds
// no match. The text before the first match holds no match, so after a replacement the next first
// match can only end in the replacement or behind it: `out` is that match-free front, and `pending`
// holds, reversed, the replacement bytes still to be read again before the rest of the source. Each
// byte is compared against the pattern once per time it is read, and a replacement shorter than the
// pattern is read at most once per match, so the time is linear for every use here.
bool replaceAllInto(std::string_view source, std::string_view lowerPattern, std::string_view replacement,
                    std::string& out)
{
    const std::size_t first = lowerPattern.empty() ? npos : findNoCase(source, lowerPattern, 0);
    if (first == npos)
        return false;
    const std::size_t n = lowerPattern.size();
    const char last = lowerPattern.back();
    out.assign(source.substr(0, first));
    std::string pending;
    std::size_t next = first;
    for (;;) {
        char c;
        if (!pending.empty()) {
            c = pending.back();
            pending.pop_back();
        } else if (next < source.size()) {
            c = source[next++];
        } else {
            return true;
        }
        out.push_back(c);
        if (asciiLower(c) == last && out.size() >= n
            && std::equal(out.end() - static_cast<std::ptrdiff_t>(n), out.end(), lowerPattern.begin(),
                          [](char x, char y) { return asciiLower(x) == y; })) {
            out.resize(out.size() - n);
            pending.append(replacement.rbegin(), replacement.rend());
        }
    }
}

// The cleaning of an entry, in this order; each step runs until none of its pattern is left.
constexpr std::pair<std::string_view, std::string_view> kCleaning[]
    = {{"\r\n", ""}, {kAmpersandEntity, ""}, {"   ", " "}, {"  ", " "}};

// Whether any step of the cleaning can match: most entries need none, and one look for the bytes the
// patterns begin with is cheaper than a search per step. A lone CR (as the one before the LF that
// precedes the next "<li>") matches nothing.
bool needsCleaning(std::string_view entry)
{
    return entry.find("\r\n") != npos || entry.find('&') != npos || entry.find("  ") != npos;
}

// The entry cleaned and cut before its first "</a>"; empty when it holds none. The two scratch texts
// are reused from entry to entry.
std::string_view linkTextOf(std::string_view entry, std::array<std::string, 2>& scratch)
{
    std::string_view cleaned = entry;
    if (needsCleaning(entry)) {
        try {
            std::size_t spare = 0;
            for (const auto& [pattern, replacement] : kCleaning) {
                if (replaceAllInto(cleaned, pattern, replacement, scratch[spare])) {
                    cleaned = scratch[spare];
                    spare ^= 1;
                }
            }
        } catch (const std::exception&) {
            return {}; // a cleaning that fails leaves the entry empty
        }
    }
    const std::size_t linkEnd = findNoCase(cleaned, kLinkEnd, 0);
    return linkEnd == npos ? std::string_view() : cleaned.substr(0, linkEnd);
}

} // namespace

PageSection FindSection(std::string_view page, std::string_view key)
{
    // Searches compare A-Z without regard to case; cuts are made in the page as it is.
    const std::string lowerKey = asciiLowerCopy(key);
    PageSection section;
    section.anchor = findNoCase(page, std::string(kAnchor) + lowerKey, 0);
    if (section.anchor == npos)
        section.anchor = findNoCase(page, std::string(kAnchor) + '"' + lowerKey, 0);
    // Without an anchor the section is taken from the start of the page.
    section.end = findNoCase(page, kSectionEnd, section.anchor == npos ? 0 : section.anchor);
    return section;
}

void ParseSourcePage(std::string_view page, std::string_view key, SuggestionSink& sink, const ParseHooks& hooks)
{
    sink.clear();
    const PageSection found = FindSection(page, key);
    if (found.end == npos)
        return;

    // The section keeps the "<" of its "</ul>". The walk reads its own copy: the hooks may run
    // commands that change or free the caller's page.
    const std::size_t start = found.anchor == npos ? 0 : found.anchor;
    const std::string text(page.substr(start, found.end + 1 - start));

    ForwardSearch entries(text, kEntryStart);
    ForwardSearch linkEnds(text, kLinkEnd);
    std::array<std::string, 2> scratch;

    std::size_t at = entries.from(0);
    if (at == npos)
        return;
    for (;;) {
        // The entry ends one byte before the next "<li>"; the last "<li>" gives an empty entry. The
        // next "<li>" is looked for two bytes on, so it cannot be the current one.
        const std::size_t next = entries.from(at + 2);
        const std::string_view entry = next == npos ? std::string_view()
                                                    : std::string_view(text).substr(at, next - 1 - at);
        const std::string_view linkText = linkTextOf(entry, scratch);
        // What follows the last ">" of the link text, which begins with the entry's "<li>" when not empty.
        const std::size_t lastTagEnd = linkText.rfind('>');
        const std::string_view caption = lastTagEnd == npos ? std::string_view() : linkText.substr(lastTagEnd + 1);
        if (hooks.visit)
            hooks.visit(start + at, linkText);

        const std::size_t linkEnd = linkEnds.from(at);
        if (linkEnd != npos)
            at = linkEnd;

        if (!caption.empty() && !IsBlockedHeadline(caption))
            sink.append(caption, false);
        if (hooks.pump)
            hooks.pump();
        const std::size_t nextEntry = entries.from(at);
        if (hooks.pump)
            hooks.pump();

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
    const std::string lowerPattern = asciiLowerCopy(pattern);
    if (!lowerPattern.empty() && asciiLowerCopy(replacement).find(lowerPattern) != npos)
        throw std::invalid_argument("ReplaceAllNoCase: the replacement holds the pattern");
    std::string out;
    if (!replaceAllInto(source, lowerPattern, replacement, out))
        out.assign(source);
    return out;
}

std::string ReverseText(std::string_view source) { return std::string(source.rbegin(), source.rend()); }

} // namespace qm
