#include "ui/colorconv.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

namespace qm {
namespace {

// Every test of a value against zero, and of two values against each other, in RGB2HLS.
constexpr double kTolerance = 1e-8;

// The channel pairs tried, in order, when solving for saturation and luminance.
constexpr int kPairs[3][2] = {{1, 0}, {2, 1}, {2, 0}};

constexpr const char* kHlsNames[3] = {"Hue", "Luminance", "Saturation"};
constexpr const char* kRgbNames[3] = {"Red", "Green", "Blue"};

void checkRange(const ColorTriple& values, const char* function, const char* const (&names)[3])
{
    for (int k = 0; k < 3; ++k) {
        const double v = values[static_cast<std::size_t>(k)];
        if (!(v >= 0.0) || v > 1.0) // NaN fails the first test
            throw EColorConv(std::string(function) + ": 0 <= " + names[k] + " value <= 1 required");
    }
}

// A value that is not at least 0 becomes 0 (NaN included), one above 1 becomes 1.
double clampUnit(double v)
{
    if (!(v >= 0.0))
        return 0.0;
    return v > 1.0 ? 1.0 : v;
}

// Rounds to the nearest integer, ties to even, and keeps the low 8 bits. Exact for every finite
// double, however large or negative (fmod is exact).
std::uint32_t lowByteOfRounded(double v)
{
    double r = std::fmod(std::nearbyint(v), 256.0);
    if (r < 0)
        r += 256.0;
    return static_cast<std::uint32_t>(r);
}

// The six fully saturated corner colours of the centred cube (channels -1 or +1), one per hue sector:
// red, yellow, green, cyan, blue, magenta.
constexpr int HueCorners[6][3] = {
    {+1, -1, -1}, {+1, +1, -1}, {-1, +1, -1}, {-1, +1, +1}, {-1, -1, +1}, {+1, -1, +1},
};

// Channels i and j of the centred colour a and of its stretched form q.
struct ChannelPair {
    double ai, aj, qi, qj;
};

// The channels of the first pair of the list whose two values in v (a or q) differ by more than the
// tolerance.
std::optional<ChannelPair> firstDistinctPair(const ColorTriple& v, const ColorTriple& a, const ColorTriple& q)
{
    for (const auto& pair : kPairs) {
        const auto i = static_cast<std::size_t>(pair[0]);
        const auto j = static_cast<std::size_t>(pair[1]);
        if (std::fabs(v[i] - v[j]) > kTolerance)
            return ChannelPair{a[i], a[j], q[i], q[j]};
    }
    return std::nullopt;
}

// Hue (0..1) of a colour in the centred cube that has been stretched so its smallest channel is -1
// and its largest +1; x is the index of the darkest channel. A red whose green and blue are equal
// comes out as 1.0, not 0.0; both mean red.
double HueFromDarkest(int x, const ColorTriple& q)
{
    double h = 0.0;
    switch (x) {
    case 0: h = q[1] > q[2] ? 2.0 + (q[2] + 1.0) / 2.0 : 4.0 - (q[1] + 1.0) / 2.0; break;
    case 1: h = q[2] > q[0] ? 4.0 + (q[0] + 1.0) / 2.0 : 6.0 - (q[2] + 1.0) / 2.0; break;
    case 2: h = q[0] > q[1] ? (q[1] + 1.0) / 2.0 : 2.0 - (q[0] + 1.0) / 2.0; break;
    default: break;
    }
    return h / 6.0;
}

} // namespace

ColorValue ResolveColor(ColorValue color, const SysColorResolver& resolver)
{
    if ((color & kSystemColorFlag) != 0)
        color = resolver(static_cast<int>(color & 0xFFu));
    return color & 0x00FFFFFFu;
}

void HLS2RGB(const ColorTriple& hlsIn, ColorTriple& rgb)
{
    const ColorTriple hls = hlsIn; // the output may be the input
    checkRange(hls, "HLS2RGB", kHlsNames);
    const double hue = hls[0];
    const double lum = hls[1];
    const double sat = hls[2];

    const double t = hue * 6.0;
    const double whole = std::trunc(t);
    const auto n = static_cast<std::size_t>(static_cast<std::int64_t>(whole) % 6); // hue 1 is sector 0
    const std::size_t next = (n + 1) % 6;
    const double f = t - whole;

    ColorTriple c{};
    for (std::size_t k = 0; k < 3; ++k) {
        const int corner = HueCorners[n][k];
        c[k] = static_cast<double>(HueCorners[next][k] - corner) * f + corner;
        c[k] *= sat;
        c[k] = lum > 0.5 ? (1.0 - lum) * c[k] + lum : (c[k] + 1.0) * lum;
    }
    for (std::size_t k = 0; k < 3; ++k)
        rgb[k] = clampUnit(c[k]);
}

void RGB2HLS(const ColorTriple& rgbIn, ColorTriple& hls)
{
    const ColorTriple c = rgbIn; // the output may be the input
    checkRange(c, "RGB2HLS", kRgbNames);

    ColorTriple a{};
    for (std::size_t k = 0; k < 3; ++k)
        a[k] = 2.0 * c[k] - 1.0;

    // The first channel of largest deviation from mid-grey.
    const auto widest
        = std::max_element(a.begin(), a.end(), [](double u, double v) { return std::fabs(u) < std::fabs(v); });
    const double m = std::fabs(*widest);
    auto x = static_cast<int>(widest - a.begin());
    if (m < kTolerance) {
        hls = {0.0, 0.5, 0.0};
        return;
    }

    ColorTriple q{};
    const double scale = 1.0 / m;
    for (std::size_t k = 0; k < 3; ++k)
        q[k] = a[k] * scale;

    // Light colours (channel x at +1) are stretched down until the darkest channel reaches -1, dark
    // ones (channel x at -1) up until the lightest reaches +1; s is the side channel x stands on. The
    // two cases are mirror images: every formula below holds for both with s = +1 or -1.
    const double s = a[static_cast<std::size_t>(x)] > 0 ? 1.0 : -1.0;
    double p = 0.0;
    for (const double v : q)
        p = std::max(p, 1.0 - s * v);
    if (p < kTolerance) {
        hls = {0.0, c[0], 0.0};
        return;
    }
    const double g = 2.0 / p;
    for (double& v : q)
        v = (v - s) * g + s;
    if (s > 0) // the first darkest channel, which the stretch has taken to -1
        x = static_cast<int>(std::min_element(q.begin(), q.end()) - q.begin());
    double sat = 0.0;
    double lum = a[0] - s;
    if (const auto p = firstDistinctPair(a, a, q))
        sat = (p->ai - p->aj)
              / (s > 0 ? (p->ai - s) * p->qj - (p->aj - s) * p->qi : (p->aj - s) * p->qi - (p->ai - s) * p->qj);
    if (const auto p = firstDistinctPair(q, a, q))
        lum = ((p->aj - s) * p->qi - (p->ai - s) * p->qj) / (p->qi - p->qj);
    lum *= 0.5;
    if (s > 0)
        lum += 1.0;
    hls = {clampUnit(HueFromDarkest(x, q)), clampUnit(lum), clampUnit(sat)};
}

void GetBevelColors(ColorValue color, ColorValue& highlight, ColorValue& shadow, float lightFactor, float darkFactor,
                    const SysColorResolver& resolver)
{
    if (!std::isfinite(lightFactor))
        throw EColorConv("GetBevelColors: the light factor must be a finite number");

    const ColorValue rgb = ResolveColor(color, resolver);
    const std::uint32_t bytes[3] = {rgb & 0xFFu, (rgb >> 8) & 0xFFu, (rgb >> 16) & 0xFFu};

    // Each channel moves lightFactor of the way towards white; the product of a small integer and a
    // float is exact in double.
    std::uint32_t light[3] = {};
    for (int k = 0; k < 3; ++k) {
        const double w = static_cast<double>(256 - static_cast<int>(bytes[k])) * static_cast<double>(lightFactor);
        light[k] = (255u - lowByteOfRounded(w)) & 0xFFu;
    }
    highlight = light[0] | (light[1] << 8) | (light[2] << 16);

    ColorTriple hls{};
    RGB2HLS({bytes[0] / 255.0, bytes[1] / 255.0, bytes[2] / 255.0}, hls);
    hls[1] *= static_cast<double>(darkFactor);
    ColorTriple dark{};
    HLS2RGB(hls, dark);
    shadow = lowByteOfRounded(dark[0] * 255.0) | (lowByteOfRounded(dark[1] * 255.0) << 8)
             | (lowByteOfRounded(dark[2] * 255.0) << 16);
}

void GetBevelColorsTenths(ColorValue color, ColorValue& highlight, ColorValue& shadow, std::int32_t lightTenths,
                          std::int32_t darkTenths, const SysColorResolver& resolver)
{
    // The differences are taken in 64 bits: 10 minus the most negative 32-bit value does not fit 32.
    const auto lightFactor = static_cast<float>(static_cast<double>(10 - std::int64_t{lightTenths}) / 10.0);
    const auto darkFactor = static_cast<float>(static_cast<double>(10 - std::int64_t{darkTenths}) / 10.0);
    GetBevelColors(color, highlight, shadow, lightFactor, darkFactor, resolver);
}

} // namespace qm
