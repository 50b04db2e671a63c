#include "cli/feedreader.h"

#include "platform/bytes.h"

#include <algorithm>
#include <array>
#include <span>

namespace qm::cli {
namespace {

constexpr std::array<std::string_view, 12> kMonths
    = {"jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
constexpr std::string_view kUsZones = "est edt cst cdt mst mdt pst pdt"; // four bytes apart
constexpr std::array<int, 8> kUsZoneHours = {-5, -4, -6, -5, -7, -6, -8, -7};

// The number that count digits at `at` spell; -1 when any of them is missing or no digit.
int digitsAt(std::string_view text, std::size_t at, std::size_t count)
{
    const auto value = at + count <= text.size() ? parseUnsigned(text.substr(at, count), 10, 9999) : std::nullopt;
    return value ? static_cast<int>(*value) : -1;
}

// Seconds east of UTC: "", Z, +hh:mm, -hhmm; with names, a US zone name, and any other name as UTC.
std::optional<int> zoneOffset(std::string_view zone, bool names)
{
    if (zone.empty() || equalsNoCase(zone, "z"))
        return 0;
    const std::string name = asciiLowerCopy(zone);
    const std::size_t us = name.size() == 3 ? kUsZones.find(name) : std::string_view::npos;
    if (names && std::all_of(name.begin(), name.end(), [](char c) { return c >= 'a' && c <= 'z'; }))
        return us == std::string_view::npos ? 0 : kUsZoneHours[us / 4] * 3600;
    const bool colon = zone.size() == 6 && zone[3] == ':';
    const int hours = digitsAt(zone, 1, 2);
    const int minutes = digitsAt(zone, colon ? 4 : 3, 2);
    if ((zone.size() != 5 && !colon) || (zone[0] != '+' && zone[0] != '-') || hours < 0 || hours > 23 || minutes < 0
        || minutes > 59)
        return std::nullopt;
    return (zone[0] == '-' ? -60 : 60) * (hours * 60 + minutes);
}

// Seconds since the epoch, or nullopt when a field is out of its range (a leap second counts as the
// next one).
std::optional<std::int64_t> epochSeconds(int year, int month, int day, int hour, int minute, int second,
                                         std::optional<int> zone)
{
    constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 0 || month < 1 || month > 12 || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0
        || second > 60 || !zone)
        return std::nullopt;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (day < 1 || day > kDays[month - 1] + (month == 2 && leap ? 1 : 0))
        return std::nullopt;
    // Days since 1970-01-01, counted in 400-year eras of the Gregorian calendar from March on.
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t days = era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear - 719468;
    return ((days * 24 + hour) * 60 + minute) * 60 + second - *zone;
}

// "2002-09-07", or with "T09:42[:31[.fraction]][zone]" after it.
std::optional<std::int64_t> rfc3339(std::string_view s)
{
    if (s.size() < 10 || s[4] != '-' || s[7] != '-')
        return std::nullopt;
    if (s.size() == 10)
        return epochSeconds(digitsAt(s, 0, 4), digitsAt(s, 5, 2), digitsAt(s, 8, 2), 0, 0, 0, 0);
    if ((s[10] != 'T' && s[10] != 't' && s[10] != ' ') || s.size() < 16 || s[13] != ':' || digitsAt(s, 0, 4) < 0)
        return std::nullopt;
    const bool seconds = s.size() > 16 && s[16] == ':';
    std::size_t zone = seconds ? 19 : 16;
    if (seconds && zone < s.size() && s[zone] == '.')
        zone = std::min(s.find_first_not_of("0123456789", zone + 1), s.size());
    return epochSeconds(digitsAt(s, 0, 4), digitsAt(s, 5, 2), digitsAt(s, 8, 2), digitsAt(s, 11, 2), digitsAt(s, 14, 2),
                        seconds ? digitsAt(s, 17, 2) : 0, zoneOffset(s.substr(std::min(zone, s.size())), false));
}

// "[Sat,] 07 Sep 2002 09:42[:31] [zone]"
std::optional<std::int64_t> rfc822(std::string_view text)
{
    std::array<std::string_view, 7> found; // one more than a date can have
    std::size_t count = 0;
    for (std::size_t at = 0, end = 0; at < text.size() && count < found.size(); at = end + 1) {
        end = std::min(text.find(' ', at), text.size());
        if (end > at)
            found[count++] = text.substr(at, end - at);
    }
    const bool weekday = count > 0 && (found[0].back() == ',' || digitsAt(found[0], 0, 1) < 0);
    const std::span<const std::string_view> words(found.data() + (weekday ? 1 : 0), found.data() + count);
    if (words.size() < 4 || words.size() > 5 || words[0].size() > 2 || words[1].size() < 3
        || (words[2].size() != 2 && words[2].size() != 4) || (words[3].size() != 5 && words[3].size() != 8))
        return std::nullopt;
    std::size_t month = 0;
    while (month < kMonths.size() && !equalsNoCase(words[1].substr(0, 3), kMonths[month]))
        ++month;
    const int digits = digitsAt(words[2], 0, words[2].size());
    const int year = digits < 0 || words[2].size() == 4 ? digits : digits + (digits < 50 ? 2000 : 1900);
    const std::string_view time = words[3];
    const bool colons = time[2] == ':' && (time.size() == 5 || time[5] == ':');
    return epochSeconds(year, colons ? static_cast<int>(month) + 1 : 0, digitsAt(words[0], 0, words[0].size()),
                        digitsAt(time, 0, 2), digitsAt(time, 3, 2), time.size() == 8 ? digitsAt(time, 6, 2) : 0,
                        zoneOffset(words.size() == 5 ? words[4] : std::string_view(), true));
}

} // namespace

std::optional<std::int64_t> ParseFeedDate(std::string_view text)
{
    text = trimBytes(text, " \t\r\n");
    if (const auto date = rfc3339(text))
        return date;
    return rfc822(text);
}

} // namespace qm::cli
