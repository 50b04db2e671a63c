#pragma once

// Colour conversion between RGB and HLS (hue, luminance, saturation; the double-hexcone model) and the
// two shades of a raised bevel derived from one face colour. No Qt here: system colours come through
// a resolver the caller passes in.

#include <array>
#include <cstdint>
#include <functional>
#include <stdexcept>

namespace qm {

// A colour value: with the top bit clear an RGB reference (red in bits 0..7, green 8..15, blue
// 16..23; bits 24..30 play no part); with the top bit set a system colour whose low byte is its index.
using ColorValue = std::uint32_t;

inline constexpr ColorValue kSystemColorFlag = 0x80000000u;

constexpr ColorValue SystemColorValue(int index) { return kSystemColorFlag | (static_cast<ColorValue>(index) & 0xFFu); }

constexpr ColorValue RgbRef(int red, int green, int blue)
{
    return (static_cast<ColorValue>(red) & 0xFFu) | ((static_cast<ColorValue>(green) & 0xFFu) << 8)
           | ((static_cast<ColorValue>(blue) & 0xFFu) << 16);
}

// Yields the RGB reference of a system colour index.
using SysColorResolver = std::function<std::uint32_t(int index)>;

// The RGB reference a colour value stands for: system colours through the resolver, the unused top
// byte of an RGB reference dropped.
ColorValue ResolveColor(ColorValue color, const SysColorResolver& resolver);

// Red, Green, Blue or Hue, Luminance, Saturation, each in 0..1.
using ColorTriple = std::array<double, 3>;

class EColorConv final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws EColorConv naming the first component outside 0..1 (NaN included); writes nothing then.
// Input and output may be the same array.
void HLS2RGB(const ColorTriple& hls, ColorTriple& rgb);
void RGB2HLS(const ColorTriple& rgb, ColorTriple& hls);

// The bevel shades of a face colour: the highlight goes lightFactor of the way towards white (the
// arithmetic wraps modulo 256 outside 0..1), the shadow keeps darkFactor of the HLS luminance.
// highlight is written before the shadow is computed, so a darkFactor outside 0..1 leaves a new
// highlight and the old shadow behind its EColorConv. A lightFactor that is not a finite number
// throws EColorConv before anything is written.
void GetBevelColors(ColorValue color, ColorValue& highlight, ColorValue& shadow, float lightFactor, float darkFactor,
                    const SysColorResolver& resolver);

// The same with factors counted in tenths: lightTenths of the way to white (10 gives white), the
// luminance less darkTenths tenths (10 gives black).
void GetBevelColorsTenths(ColorValue color, ColorValue& highlight, ColorValue& shadow, std::int32_t lightTenths,
                          std::int32_t darkTenths, const SysColorResolver& resolver);

} // namespace qm
