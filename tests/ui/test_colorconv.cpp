#include "ui/colorconv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace qm {
namespace {

constexpr double kExact = 1e-12;

const SysColorResolver kNoSystemColors = [](int) -> std::uint32_t {
    ADD_FAILURE() << "no system colour expected";
    return 0;
};

struct ConversionCase {
    const char* what;
    ColorTriple in;
    ColorTriple out;
};

void expectTriple(const ColorTriple& actual, const ColorTriple& expected, double tolerance, const char* what)
{
    for (std::size_t k = 0; k < 3; ++k)
        EXPECT_NEAR(actual[k], expected[k], tolerance) << what << ", component " << k;
}

TEST(RGB2HLS, KnownColours)
{
    const ConversionCase cases[] = {
        {"pure red comes out with hue 1, not 0", {1, 0, 0}, {1, 0.5, 1}},
        {"dark red, hue 1 too", {0.5, 0, 0}, {1, 0.25, 1}},
        {"red towards yellow", {1, 0.2, 0}, {1.0 / 30, 0.5, 1}},
        {"red towards magenta", {1, 0, 0.2}, {29.0 / 30, 0.5, 1}},
        {"green", {0, 1, 0}, {1.0 / 3, 0.5, 1}},
        {"blue", {0, 0, 1}, {2.0 / 3, 0.5, 1}},
        {"yellow", {1, 1, 0}, {1.0 / 6, 0.5, 1}},
        {"cyan", {0, 1, 1}, {0.5, 0.5, 1}},
        {"magenta", {1, 0, 1}, {5.0 / 6, 0.5, 1}},
        {"mid-grey by the near-grey exit", {0.5, 0.5, 0.5}, {0, 0.5, 0}},
        {"within 5e-9 of mid-grey is mid-grey", {0.5 + 4e-9, 0.5, 0.5 - 4e-9}, {0, 0.5, 0}},
        {"dark grey keeps its red as luminance", {0.3, 0.3, 0.3}, {0, 0.3, 0}},
        {"white", {1, 1, 1}, {0, 1, 0}},
        {"black", {0, 0, 0}, {0, 0, 0}},
        {"dark branch", {0.2, 0.4, 0.6}, {7.0 / 12, 0.4, 0.5}},
        {"light branch", {0.9, 0.6, 0.3}, {1.0 / 12, 0.6, 0.75}},
    };
    for (const auto& c : cases) {
        ColorTriple hls{};
        RGB2HLS(c.in, hls);
        expectTriple(hls, c.out, kExact, c.what);
    }
}

TEST(HLS2RGB, KnownColours)
{
    const ConversionCase cases[] = {
        {"hue 1 is red", {1, 0.5, 1}, {1, 0, 0}},
        {"hue 0 is red", {0, 0.5, 1}, {1, 0, 0}},
        {"dark desaturated green", {1.0 / 3, 0.25, 0.5}, {0.125, 0.375, 0.125}},
        {"light desaturated cyan", {0.5, 0.75, 0.5}, {0.625, 0.875, 0.875}},
        {"no saturation is grey", {0.7, 0.3, 0}, {0.3, 0.3, 0.3}},
    };
    for (const auto& c : cases) {
        ColorTriple rgb{};
        HLS2RGB(c.in, rgb);
        expectTriple(rgb, c.out, kExact, c.what);
    }
}

TEST(ColorConversion, OutOfRangeInputNamesTheFirstBadComponentAndWritesNothing)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        bool toHls;
        ColorTriple in;
        const char* message;
    };
    const Case cases[] = {
        {true, {0.5, 1.5, -1}, "RGB2HLS: 0 <= Green value <= 1 required"},
        {true, {-0.01, 0.5, 0.5}, "RGB2HLS: 0 <= Red value <= 1 required"},
        {true, {0.5, 0.5, nan}, "RGB2HLS: 0 <= Blue value <= 1 required"},
        {false, {0.2, 0.5, 1.01}, "HLS2RGB: 0 <= Saturation value <= 1 required"},
        {false, {0.2, 1.2, 0.5}, "HLS2RGB: 0 <= Luminance value <= 1 required"},
        {false, {nan, 0.5, 0.5}, "HLS2RGB: 0 <= Hue value <= 1 required"},
    };
    for (const auto& c : cases) {
        ColorTriple out{7, 7, 7};
        try {
            if (c.toHls)
                RGB2HLS(c.in, out);
            else
                HLS2RGB(c.in, out);
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const EColorConv& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_EQ(out, (ColorTriple{7, 7, 7})) << c.message;
    }
}

TEST(ColorConversion, SameArrayForInputAndOutputGivesTheSameResult)
{
    ColorTriple inPlace{0.9, 0.6, 0.3};
    RGB2HLS(inPlace, inPlace);
    expectTriple(inPlace, {1.0 / 12, 0.6, 0.75}, kExact, "RGB2HLS in place");
    HLS2RGB(inPlace, inPlace);
    expectTriple(inPlace, {0.9, 0.6, 0.3}, 1e-9, "HLS2RGB in place");
}

std::vector<double> gridValues(int steps)
{
    std::vector<double> values;
    for (int i = 0; i < steps; ++i)
        values.push_back(static_cast<double>(i) / (steps - 1));
    return values;
}

TEST(ColorConversion, RoundTripReproducesEveryGridColour)
{
    const auto values = gridValues(20);
    for (const double r : values)
        for (const double g : values)
            for (const double b : values) {
                ColorTriple hls{};
                ColorTriple back{};
                RGB2HLS({r, g, b}, hls);
                HLS2RGB(hls, back);
                expectTriple(back, {r, g, b}, 1e-9, "round trip");
            }
}

// The double-hexcone model written the usual way, from the largest and smallest channel.
ColorTriple textbookHls(const ColorTriple& c)
{
    const double hi = *std::max_element(c.begin(), c.end());
    const double lo = *std::min_element(c.begin(), c.end());
    const double l = (hi + lo) / 2;
    if (hi == lo)
        return {0, l, 0};
    const double d = hi - lo;
    const double s = l <= 0.5 ? d / (hi + lo) : d / (2 - hi - lo);
    double h = 0;
    if (c[0] == hi)
        h = (c[1] - c[2]) / d;
    else if (c[1] == hi)
        h = 2 + (c[2] - c[0]) / d;
    else
        h = 4 + (c[0] - c[1]) / d;
    if (h < 0)
        h += 6;
    return {h / 6, l, s};
}

ColorTriple textbookRgb(const ColorTriple& hls)
{
    const double h = hls[0], l = hls[1], s = hls[2];
    const double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
    const double m1 = 2 * l - m2;
    const auto channel = [&](double hue) {
        hue -= std::floor(hue);
        if (hue < 1.0 / 6)
            return m1 + (m2 - m1) * hue * 6;
        if (hue < 0.5)
            return m2;
        if (hue < 2.0 / 3)
            return m1 + (m2 - m1) * (2.0 / 3 - hue) * 6;
        return m1;
    };
    return {channel(h + 1.0 / 3), channel(h), channel(h - 1.0 / 3)};
}

TEST(ColorConversion, AgreesWithTheTextbookFormulasOnTheGrid)
{
    const auto values = gridValues(20);
    for (const double r : values)
        for (const double g : values)
            for (const double b : values) {
                const ColorTriple rgb{r, g, b};
                ColorTriple hls{};
                RGB2HLS(rgb, hls);
                ColorTriple expected = textbookHls(rgb);
                // Reds whose green and blue are equal come out with hue 1 where the textbook says 0.
                if (r > g && g == b && expected[0] == 0)
                    expected[0] = 1;
                expectTriple(hls, expected, 1e-9, "RGB2HLS against the textbook");

                expectTriple(
                    [&] {
                        ColorTriple out{};
                        HLS2RGB(rgb, out);
                        return out;
                    }(),
                    textbookRgb(rgb), 1e-9, "HLS2RGB against the textbook");
            }
}

TEST(RGB2HLS, NearTiesAndNearGreysStayFiniteAndInRange)
{
    // Values that put channels within the tolerance of each other or of mid-grey, where the pair
    // solutions divide by small differences.
    const double values[] = {0,   1e-9,       3e-9,       0.3, 0.3 + 6e-9, 0.5 - 6e-9, 0.5 - 4e-9,
                             0.5, 0.5 + 4e-9, 0.5 + 6e-9, 0.7, 1 - 3e-9,   1 - 1e-9,   1};
    for (const double r : values)
        for (const double g : values)
            for (const double b : values) {
                ColorTriple hls{};
                RGB2HLS({r, g, b}, hls);
                for (const double v : hls)
                    ASSERT_TRUE(v >= 0 && v <= 1) << r << ' ' << g << ' ' << b;
                ColorTriple back{};
                HLS2RGB(hls, back);
                for (std::size_t k = 0; k < 3; ++k)
                    EXPECT_NEAR(back[k], (ColorTriple{r, g, b})[k], 1e-7) << r << ' ' << g << ' ' << b;
            }
}

struct BevelCase {
    ColorValue base;
    ColorValue highlight;
    ColorValue shadow;
};

TEST(GetBevelColorsTenths, ShadesOfTheButtonFace)
{
    const BevelCase cases[] = {
        {RgbRef(212, 208, 200), RgbRef(233, 231, 227), RgbRef(139, 129, 108)},
        {RgbRef(240, 240, 240), RgbRef(247, 247, 247), RgbRef(144, 144, 144)},
        {RgbRef(192, 192, 192), RgbRef(223, 223, 223), RgbRef(115, 115, 115)},
        {RgbRef(255, 255, 255), RgbRef(255, 255, 255), RgbRef(153, 153, 153)},
        {RgbRef(0, 0, 0), RgbRef(127, 127, 127), RgbRef(0, 0, 0)},
        {RgbRef(255, 0, 0), RgbRef(255, 127, 127), RgbRef(153, 0, 0)},
        // 2.5 and 1.5 round to even; the near-white shadow keeps its saturation and turns blue.
        {RgbRef(251, 252, 253), RgbRef(253, 253, 253), RgbRef(117, 151, 186)},
        // The unused top byte of an RGB reference plays no part.
        {0x7F000000u | RgbRef(192, 192, 192), RgbRef(223, 223, 223), RgbRef(115, 115, 115)},
    };
    for (const auto& c : cases) {
        ColorValue highlight = 1;
        ColorValue shadow = 1;
        GetBevelColorsTenths(c.base, highlight, shadow, 5, 4, kNoSystemColors);
        EXPECT_EQ(highlight, c.highlight) << std::hex << c.base;
        EXPECT_EQ(shadow, c.shadow) << std::hex << c.base;
    }
}

TEST(GetBevelColors, SystemColourComesThroughTheResolver)
{
    std::vector<int> asked;
    const SysColorResolver resolver = [&asked](int index) {
        asked.push_back(index);
        return RgbRef(212, 208, 200) | 0xAB000000u; // stray top bits must not leak into the result
    };
    ColorValue highlight = 0;
    ColorValue shadow = 0;
    GetBevelColorsTenths(SystemColorValue(15), highlight, shadow, 5, 4, resolver);
    EXPECT_EQ(asked, std::vector<int>{15});
    EXPECT_EQ(highlight, RgbRef(233, 231, 227));
    EXPECT_EQ(shadow, RgbRef(139, 129, 108));
}

TEST(GetBevelColors, DarkFactorOutOfRangeLeavesNewHighlightAndOldShadow)
{
    struct Case {
        ColorValue base;
        std::int32_t darkTenths;
        ColorValue highlight;
    };
    const Case cases[] = {
        {RgbRef(212, 208, 200), 11, RgbRef(233, 231, 227)}, // luminance turns negative
        {RgbRef(255, 255, 255), -1, RgbRef(255, 255, 255)}, // white's luminance grows past 1
    };
    for (const auto& c : cases) {
        const std::int32_t darkTenths = c.darkTenths;
        ColorValue highlight = 0x123456;
        ColorValue shadow = 0x654321;
        try {
            GetBevelColorsTenths(c.base, highlight, shadow, 5, darkTenths, kNoSystemColors);
            ADD_FAILURE() << "no error for darkTenths " << darkTenths;
        } catch (const EColorConv& e) {
            EXPECT_STREQ(e.what(), "HLS2RGB: 0 <= Luminance value <= 1 required");
        }
        EXPECT_EQ(highlight, c.highlight);
        EXPECT_EQ(shadow, 0x654321u);
    }
}

TEST(GetBevelColors, LightFactorOutsideZeroToOneWrapsModulo256)
{
    ColorValue highlight = 0;
    ColorValue shadow = 0;
    // Factor 2: channel 0 gives 512 -> byte 0 -> 255; 200 gives 112 -> 143; 255 gives 2 -> 253.
    GetBevelColorsTenths(RgbRef(0, 200, 255), highlight, shadow, -10, 0, kNoSystemColors);
    EXPECT_EQ(highlight, RgbRef(255, 143, 253));
    // Factor -1: 0 gives -256 -> byte 0 -> 255; 200 gives -56 -> 200 -> 55; 255 gives -1 -> 255 -> 0.
    GetBevelColorsTenths(RgbRef(0, 200, 255), highlight, shadow, 20, 0, kNoSystemColors);
    EXPECT_EQ(highlight, RgbRef(255, 55, 0));
    // Extreme tenths neither overflow nor throw.
    EXPECT_NO_THROW(GetBevelColorsTenths(RgbRef(1, 2, 3), highlight, shadow, std::numeric_limits<std::int32_t>::min(),
                                         0, kNoSystemColors));
    EXPECT_NO_THROW(GetBevelColorsTenths(RgbRef(1, 2, 3), highlight, shadow, std::numeric_limits<std::int32_t>::max(),
                                         0, kNoSystemColors));
}

TEST(GetBevelColors, NonFiniteLightFactorIsRejectedBeforeAnythingIsWritten)
{
    for (const float factor : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        ColorValue highlight = 0x111111;
        ColorValue shadow = 0x222222;
        EXPECT_THROW(GetBevelColors(RgbRef(10, 20, 30), highlight, shadow, factor, 0.5f, kNoSystemColors), EColorConv);
        EXPECT_EQ(highlight, 0x111111u);
        EXPECT_EQ(shadow, 0x222222u);
    }
}

} // namespace
} // namespace qm
