#pragma once

#include <cstdint>

class QColor;
class QFont;
class QString;

namespace qm {

// System colour indexes as the colour values of the design use them (top bit set, index in the low byte).
enum SysColorIndex : int {
    kColorWindowText = 8,
    kColorBtnFace = 15,
    kColorBtnShadow = 16,
    kColorGrayText = 17,
    kColorBtnHighlight = 20,
};

// The RGB reference (red in bits 0..7, green 8..15, blue 16..23) of a system colour, taken from the
// application palette.
std::uint32_t SysColor(int index);

QColor colorFromRef(std::uint32_t rgbRef);
std::uint32_t refFromColor(const QColor& color);

// The font a window was designed with, at its character height in pixels. Where the family is not
// installed, the closest sans-serif face stands in at the same height, so the layout still fits.
QFont designFont(const QString& family, int pixelHeight, bool bold = false);

} // namespace qm
