#include "headlines/headlinefile.h"

#include "platform/bytes.h"

#include <string>

namespace qm {
namespace {

constexpr std::string_view kCaptionKey = "t";
constexpr std::string_view kCheckKey = "check";

std::string sectionOf(std::size_t index) { return "item" + std::to_string(index); }

} // namespace

std::optional<std::int32_t> convertCheckValue(std::string_view value)
{
    value = trimLeft(value);
    const bool negative = !value.empty() && value.front() == '-';
    if (!value.empty() && (value.front() == '+' || negative))
        value.remove_prefix(1);
    int base = 10;
    if (!value.empty() && (value.front() == '$' || value.front() == 'x' || value.front() == 'X')) {
        base = 16;
        value.remove_prefix(1);
    } else if (value.size() > 1 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
        base = 16;
        value.remove_prefix(2);
    }
    // Decimal magnitudes go up to 2^31 for a negative number, hexadecimal ones to the full 32 bits.
    const std::uint64_t limit = base == 16 ? 0xFFFF'FFFFu : (negative ? 0x8000'0000u : 0x7FFF'FFFFu);
    const std::optional<std::uint64_t> magnitude = parseUnsigned(value, base, limit);
    if (!magnitude)
        return std::nullopt;
    auto bits = static_cast<std::uint32_t>(*magnitude);
    if (negative)
        bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
}

void saveHeadlineFile(const SuggestionList& list, const std::filesystem::path& path)
{
    ProfileFile file(path);
    for (std::size_t i = 0, n = list.count(); i < n; ++i) {
        const std::string section = sectionOf(i);
        file.write(section, kCaptionKey, list.caption(i));
        file.write(section, kCheckKey, list.isChecked(i) ? "1" : "0");
    }
    file.flush();
}

void openHeadlineFile(const std::filesystem::path& path, SuggestionSink& list)
{
    const ProfileFile file = ProfileFile::load(path);
    list.clear();
    readHeadlineItems(file, list);
}

void readHeadlineItems(const ProfileFile& file, SuggestionSink& list)
{
    // Every section counts, so a file of any length saved here opens whole; a buffer-sized list of
    // names would stop after some 1,944 items.
    constexpr std::string_view keys[] = {kCaptionKey, kCheckKey};
    for (std::size_t i = 0, n = file.sectionCount(); i < n; ++i) {
        if (const auto item = file.record(sectionOf(i), keys, "", kCaptionBufferBytes)) {
            const std::optional<std::int32_t> check = convertCheckValue((*item)[1]);
            list.append((*item)[0], !check || *check != 0); // only a value that converts to 0 unticks
        }
    }
}

} // namespace qm
