#include "cli/feeddate.h"

#include "platform/bytes.h"

#include <array>

namespace qm::cli {
namespace {

constexpr std::array<std::string_view, 12> kMonths
    = {"jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};

struct ZoneName {
    std::string_view name;
    int hours;
};
constexpr std::array<ZoneName, 8> kUsZones = {{
    {"est", -5},
    {"edt", -4},
    {"cst", -6},
    {"cdt", -5},
    {"mst", -7},
    {"mdt", -6},
    {"pst", -8},
    {"pdt", -7},
}};

// Walks the text left to right; every read either consumes what it matched or nothing.
class Scanner {
public:
    explicit Scanner(std::string_view text) : m_text(trimBytes(text)) {}

    bool done() const { return m_at == m_text.size(); }
    bool take(char c)
    {
        if (done() || asciiLower(m_text[m_at]) != c)
            return false;
        ++m_at;
        return true;
    }
    // A number of minDigits to maxDigits digits.
    bool number(std::size_t minDigits, std::size_t maxDigits, int& value)
    {
        std::size_t n = 0;
        value = 0;
        while (n < maxDigits && !done() && m_text[m_at] >= '0' && m_text[m_at] <= '9') {
            value = value * 10 + (m_text[m_at++] - '0');
            ++n;
        }
        return n >= minDigits;
    }
    std::string_view word()
    {
        const std::size_t start = m_at;
        while (!done() && asciiLower(m_text[m_at]) >= 'a' && asciiLower(m_text[m_at]) <= 'z')
            ++m_at;
        return m_text.substr(start, m_at - start);
    }
    void blanks()
    {
        while (!done() && m_text[m_at] == ' ')
            ++m_at;
    }

private:
    std::string_view m_text;
    std::size_t m_at = 0;
};

bool isLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// Seconds since the epoch of a UTC date and time, or nullopt when a field is out of its range (a
// leap second, :60, is taken as the next second).
std::optional<std::int64_t> epochSeconds(int year, int month, int day, int hour, int minute, int second)
{
    constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1 || hour > 23 || minute > 59 || second > 60)
        return std::nullopt;
    if (day > kDays[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0))
        return std::nullopt;
    // Days from 1970-01-01 to the date, counted in 400-year eras of the Gregorian calendar.
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t days = era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear - 719468;
    return ((days * 24 + hour) * 60 + minute) * 60 + second;
}

// +hh:mm / -hh:mm (colon optional) as seconds east of UTC; nullopt when the text holds no sign.
std::optional<int> numericZone(Scanner& s, bool& bad)
{
    const int sign = s.take('+') ? 1 : s.take('-') ? -1 : 0;
    if (sign == 0)
        return std::nullopt;
    int hours = 0;
    int minutes = 0;
    bad = !s.number(2, 2, hours) || (s.take(':'), !s.number(2, 2, minutes)) || hours > 23 || minutes > 59;
    return sign * (hours * 3600 + minutes * 60);
}

std::optional<std::int64_t> parseRfc3339(std::string_view text)
{
    Scanner s(text);
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    if (!s.number(4, 4, year) || !s.take('-') || !s.number(2, 2, month) || !s.take('-') || !s.number(2, 2, day))
        return std::nullopt;
    int offset = 0;
    if (!s.done()) {
        if (!s.take('t') && !s.take(' '))
            return std::nullopt;
        if (!s.number(2, 2, hour) || !s.take(':') || !s.number(2, 2, minute))
            return std::nullopt;
        if (s.take(':') && !s.number(2, 2, second))
            return std::nullopt;
        int fraction = 0;
        if (s.take('.') && !s.number(1, 9, fraction))
            return std::nullopt;
        while (s.number(1, 9, fraction)) {}
        bool bad = false;
        if (const auto zone = numericZone(s, bad))
            offset = *zone;
        else
            s.take('z');
        if (bad || !s.done())
            return std::nullopt;
    }
    const auto utc = epochSeconds(year, month, day, hour, minute, second);
    return utc ? std::optional(*utc - offset) : std::nullopt;
}

std::optional<std::int64_t> parseRfc822(std::string_view text)
{
    Scanner s(text);
    if (!s.word().empty() && !s.take(','))
        return std::nullopt;
    s.blanks();
    int day = 0;
    int year = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    if (!s.number(1, 2, day))
        return std::nullopt;
    s.blanks();
    const std::string_view monthName = s.word();
    int month = 0;
    while (month < 12 && (monthName.size() < 3 || !equalsNoCase(monthName.substr(0, 3), kMonths[month])))
        ++month;
    s.blanks();
    if (month == 12 || !s.number(2, 4, year) || (year > 99 && year < 1000))
        return std::nullopt;
    if (year < 100)
        year += year < 50 ? 2000 : 1900;
    s.blanks();
    if (!s.number(2, 2, hour) || !s.take(':') || !s.number(2, 2, minute) || (s.take(':') && !s.number(2, 2, second)))
        return std::nullopt;
    s.blanks();
    bool bad = false;
    int offset = numericZone(s, bad).value_or(0);
    const std::string_view zone = s.word();
    for (const ZoneName& us : kUsZones)
        offset = equalsNoCase(zone, us.name) ? us.hours * 3600 : offset;
    if (bad || !s.done())
        return std::nullopt;
    const auto utc = epochSeconds(year, month + 1, day, hour, minute, second);
    return utc ? std::optional(*utc - offset) : std::nullopt;
}

} // namespace

std::optional<std::int64_t> ParseFeedDate(std::string_view text)
{
    if (const auto date = parseRfc3339(text))
        return date;
    return parseRfc822(text);
}

} // namespace qm::cli
