#include "platform/displaytext.h"

#include <QStringDecoder>
#include <array>
#include <optional>

namespace qm {
namespace {

// Windows-1252 code points of the bytes 0x80..0x9F; the five unassigned bytes map to themselves.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString fromCp1252(std::string_view bytes)
{
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.append(b >= 0x80 && b <= 0x9F ? QChar(kCp1252High[b - 0x80]) : QChar(b));
    }
    return out;
}

std::optional<QString> fromUtf8(std::string_view bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

} // namespace

QString displayText(std::string_view bytes)
{
    std::optional<QString> text = fromUtf8(bytes);
    return text ? *text : fromCp1252(bytes);
}

QString shownText(std::string_view bytes)
{
    if (bytes.size() <= kShownCaptionBytes)
        return displayText(bytes);
    const std::string_view head = bytes.substr(0, kShownCaptionBytes);
    // A UTF-8 sequence is at most 4 bytes: the cut splits valid text within its last 3.
    std::optional<QString> text;
    for (std::size_t dropped = 0; dropped < 4 && !text; ++dropped)
        text = fromUtf8(head.substr(0, head.size() - dropped));
    return (text ? *text : fromCp1252(head)) + QChar(0x2026);
}

} // namespace qm
