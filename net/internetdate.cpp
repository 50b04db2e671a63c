#include "net/internetdate.h"

#include "net/eidexception.h"
#include "platform/bytes.h"

#include <array>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace qm {
namespace {

constexpr std::array<std::string_view, 12> kMonths = {"jan", "feb", "mar", "apr", "may", "jun",
                                                      "jul", "aug", "sep", "oct", "nov", "dec"};

// Days from 1899-12-30 to the given civil date (proleptic Gregorian).
double DayCount(int year, int month, int day)
{
    // Days from 1970-01-01, after H. Hinnant's days_from_civil.
    year -= month <= 2 ? 1 : 0;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yoe = year - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long days1970 = static_cast<long>(era) * 146097 + doe - 719468;
    return static_cast<double>(days1970 + 25569);
}

std::optional<int> Number(std::string_view text)
{
    if (text.empty() || text.size() > 4)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<int> Month(std::string_view text)
{
    if (text.size() < 3)
        return std::nullopt;
    const std::string lower = asciiLowerCopy(text.substr(0, 3));
    for (std::size_t i = 0; i < kMonths.size(); ++i) {
        if (kMonths[i] == lower)
            return static_cast<int>(i) + 1;
    }
    return std::nullopt;
}

// "hh:mm" or "hh:mm:ss" as a fraction of a day.
std::optional<double> TimeOfDay(std::string_view text)
{
    std::array<int, 3> parts{};
    std::size_t count = 0;
    while (count < 3) {
        const std::size_t colon = text.find(':');
        const auto value = Number(text.substr(0, colon));
        if (!value)
            return std::nullopt;
        parts[count++] = *value;
        if (colon == std::string_view::npos)
            break;
        text.remove_prefix(colon + 1);
    }
    if (count < 2 || parts[0] > 23 || parts[1] > 59 || parts[2] > 60)
        return std::nullopt;
    return (parts[0] * 3600.0 + parts[1] * 60.0 + parts[2]) / 86400.0;
}

// A zone such as "+0200" or "-0530" in days; letters (GMT, UT, Z ...) count as GMT.
double Zone(std::string_view text)
{
    if (text.size() == 5 && (text[0] == '+' || text[0] == '-')) {
        const auto hours = Number(text.substr(1, 2));
        const auto minutes = Number(text.substr(3, 2));
        if (hours && minutes) {
            const double offset = (*hours * 60 + *minutes) / 1440.0;
            return text[0] == '+' ? offset : -offset;
        }
    }
    return 0;
}

std::vector<std::string_view> Words(std::string_view text)
{
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        // A '-' right after a word separates ("06-Nov-94"); after a blank it is a zone's sign.
        while (i < text.size()
               && (text[i] == ' ' || text[i] == '\t' || text[i] == ','
                   || (text[i] == '-' && i > 0 && text[i - 1] != ' ' && text[i - 1] != '\t')))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != ','
               && !(text[i] == '-' && i > start))
            ++i;
        if (i > start)
            words.push_back(text.substr(start, i - start));
    }
    return words;
}

} // namespace

TDateTime StrInternetToDateTime(std::string_view text)
{
    std::optional<int> day;
    std::optional<int> month;
    std::optional<int> year;
    std::optional<double> time;
    double zone = 0;
    for (const std::string_view word : Words(text)) {
        if (word.find(':') != std::string_view::npos) {
            if (!time)
                time = TimeOfDay(word);
        } else if (const auto m = Month(word); m && !month && word.size() <= 9) {
            month = m;
        } else if (const auto n = Number(word)) {
            if (!day && word.size() <= 2)
                day = n;
            else if (!year)
                year = n;
        } else if (time && (word.front() == '+' || word.front() == '-')) {
            zone = Zone(word);
        }
    }
    if (!day || !month || !year || *day < 1 || *day > 31)
        return 0;
    int fullYear = *year;
    if (fullYear < 100)
        fullYear += fullYear < 50 ? 2000 : 1900;
    return DayCount(fullYear, *month, *day) + time.value_or(0) - zone;
}

double LocalOffsetFromGMT()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (now == static_cast<std::time_t>(-1) || ::localtime_r(&now, &local) == nullptr)
        throw EIdFailedToRetreiveTimeZoneInfo();
    return static_cast<double>(local.tm_gmtoff) / 86400.0;
}

} // namespace qm
