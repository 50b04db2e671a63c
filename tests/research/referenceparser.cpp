#include "tests/research/referenceparser.h"

#include "platform/bytes.h"
#include "research/contentfilter.h"

#include <algorithm>

namespace qm::test {

std::size_t Pos(std::string_view lowerPattern, std::string_view text)
{
    const std::size_t at = asciiLowerCopy(text).find(lowerPattern);
    return at == std::string::npos ? 0 : at + 1;
}

std::string Copy(std::string_view text, long long start, long long count)
{
    const auto size = static_cast<long long>(text.size());
    start = std::max(start, 1LL);
    if (start > size || count < 0)
        return {};
    count = std::min(count, size - start + 1);
    return std::string(text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count)));
}

std::string LiteralReplaceAllNoCase(std::string_view source, std::string_view pattern, std::string_view replacement)
{
    std::string text(source);
    const std::string lowerPattern = asciiLowerCopy(pattern);
    if (lowerPattern.empty())
        return text;
    for (std::size_t p = Pos(lowerPattern, text); p > 0; p = Pos(lowerPattern, text)) {
        text.erase(p - 1, lowerPattern.size());
        text.insert(p - 1, replacement);
    }
    return text;
}

bool LiteralIsBlocked(std::string_view caption)
{
    const std::string lower = asciiLowerCopy(caption);
    return std::any_of(kBlockedFragments.begin(), kBlockedFragments.end(),
                       [&](std::string_view fragment) { return lower.find(fragment) != std::string::npos; });
}

ReferenceParse ReferenceParseSourcePage(std::string_view page, std::string_view key)
{
    ReferenceParse result;
    const std::string lowerKey = asciiLowerCopy(key);
    auto len = [](const std::string& s) { return static_cast<long long>(s.size()); };

    std::string pageText(page);
    auto p = static_cast<long long>(Pos("<a name=" + lowerKey, pageText));
    if (p == 0)
        p = static_cast<long long>(Pos("<a name=\"" + lowerKey, pageText));
    std::string working = Copy(pageText, p, len(pageText));
    const auto q = static_cast<long long>(Pos("</ul>", working));
    working = Copy(working, 1, q);
    auto a = static_cast<long long>(Pos("<li>", working));
    if (a == 0)
        return result;
    for (;;) {
        working = Copy(working, a, len(working));
        const auto b = static_cast<long long>(Pos("<li>", Copy(working, 3, len(working))));
        std::string entry = Copy(working, 1, b);
        entry = LiteralReplaceAllNoCase(entry, "\r\n", "");
        entry = LiteralReplaceAllNoCase(entry, "&amp;", "");
        entry = LiteralReplaceAllNoCase(entry, "   ", " ");
        entry = LiteralReplaceAllNoCase(entry, "  ", " ");
        const auto c = static_cast<long long>(Pos("</a>", entry));
        entry = Copy(entry, 1, c - 1);
        const std::string reversed(entry.rbegin(), entry.rend());
        const auto d = static_cast<long long>(Pos(">", reversed));
        const long long l = len(entry);
        const std::string caption = Copy(entry, l - d + 2, l);
        const auto e = static_cast<long long>(Pos("</a>", working));
        working = Copy(working, e, len(working));
        if (!caption.empty() && !LiteralIsBlocked(caption))
            result.items.push_back(caption);
        ++result.entries;
        a = static_cast<long long>(Pos("<li>", working));
        if (a == 0 || e == 0)
            return result;
    }
}

} // namespace qm::test
