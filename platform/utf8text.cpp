#include "platform/utf8text.h"

#include <array>
#include <cstddef>

namespace qm {
namespace {

// Windows-1252 code points of the bytes 0x80..0x9F; the five unassigned bytes map to themselves.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

bool isUtf8(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80)
            continue;
        // The bytes that follow the lead, and the range of the first of them: the narrower ranges
        // after E0, ED, F0 and F4 shut out overlong forms, surrogates and code points past U+10FFFF.
        const std::size_t more = lead < 0xC2 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : lead < 0xF5 ? 3 : 0;
        if (more == 0 || bytes.size() - i <= more)
            return false;
        unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
        unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
        for (const char c : bytes.substr(i + 1, more)) {
            if (static_cast<unsigned char>(c) < low || static_cast<unsigned char>(c) > high)
                return false;
            low = 0x80;
            high = 0xBF;
        }
        i += more;
    }
    return true;
}

std::string utf8Text(std::string_view bytes)
{
    if (isUtf8(bytes))
        return std::string(bytes);
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        const char32_t code = b >= 0x80 && b <= 0x9F ? kCp1252High[b - 0x80] : b;
        const auto unit = [](char32_t bits) { return static_cast<char>(bits); };
        if (code < 0x80)
            text += unit(code);
        else if (code < 0x800)
            text.append({unit(0xC0 | code >> 6), unit(0x80 | (code & 0x3F))});
        else
            text.append({unit(0xE0 | code >> 12), unit(0x80 | (code >> 6 & 0x3F)), unit(0x80 | (code & 0x3F))});
    }
    return text;
}

} // namespace qm
