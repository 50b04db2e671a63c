#include "platform/jpegimage.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <random>

namespace qm {
namespace {

const std::string kBannerPath = QUILLMARK_SOURCE_DIR "/resources/images/banner.jpg";
const std::string kLogoPath = QUILLMARK_SOURCE_DIR "/resources/images/logo.jpg";

std::array<int, 3> pixel(const JpegImage& image, int x, int y)
{
    const std::size_t at = (static_cast<std::size_t>(y) * image.width() + x) * 3;
    return {image.rgb()[at], image.rgb()[at + 1], image.rgb()[at + 2]};
}

// JPEG is lossy: a decoded colour is within a few steps of the colour drawn.
void expectNear(const std::array<int, 3>& actual, const std::array<int, 3>& expected, const char* where)
{
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(actual[c], expected[c], 12) << where << " channel " << c;
}

TEST(JpegImage, DecodesTheBannerAtItsSizeWithItsColours)
{
    const JpegImage banner = JpegImage::decode(test::readFileBytes(kBannerPath));
    ASSERT_FALSE(banner.isNull());
    EXPECT_EQ(banner.width(), 500);
    EXPECT_EQ(banner.height(), 65);
    EXPECT_EQ(banner.components(), 3);
    ASSERT_EQ(banner.rgb().size(), 500u * 65 * 3);
    expectNear(pixel(banner, 1, 1), {0x17, 0x21, 0x3A}, "ink navy at the left edge");
    expectNear(pixel(banner, 498, 30), {0x2B, 0x4C, 0x6F}, "lighter blue at the right edge");
    expectNear(pixel(banner, 250, 63), {0xE0, 0xA5, 0x26}, "gold rule along the bottom");
}

TEST(JpegImage, DecodesTheLogoAndAGreyPicture)
{
    const JpegImage logo = JpegImage::decode(test::readFileBytes(kLogoPath));
    EXPECT_EQ(logo.width(), 98);
    EXPECT_EQ(logo.height(), 130);
    EXPECT_EQ(logo.components(), 3);

    const JpegImage grey = JpegImage::decode(test::readFileBytes(QUILLMARK_TEST_DATA_DIR "/jpeg/grey16.jpg"));
    ASSERT_FALSE(grey.isNull());
    EXPECT_EQ(grey.components(), 1);
    const auto top = pixel(grey, 8, 0);
    const auto bottom = pixel(grey, 8, 15);
    EXPECT_EQ(top[0], top[1]); // grey comes out as equal red, green and blue
    EXPECT_EQ(top[1], top[2]);
    EXPECT_GT(top[0], 200);
    EXPECT_LT(bottom[0], 55);
}

TEST(JpegImage, EveryTruncatedBannerGivesAnEmptyPicture)
{
    const std::string banner = test::readFileBytes(kBannerPath);
    // Every cut through the headers, then a spread of cuts through the image data, and the last bytes
    // (a missing end marker alone must fail too).
    std::vector<std::size_t> cuts;
    for (std::size_t n = 0; n < 700; ++n)
        cuts.push_back(n);
    for (std::size_t n = 700; n < banner.size(); n += 131)
        cuts.push_back(n);
    for (std::size_t n = banner.size() - 3; n < banner.size(); ++n)
        cuts.push_back(n);
    for (const std::size_t n : cuts)
        ASSERT_TRUE(JpegImage::decode(std::string_view(banner).substr(0, n)).isNull()) << "cut at " << n;
}

TEST(JpegImage, GarbageAndPicturesItDoesNotReadGiveAnEmptyPicture)
{
    std::string noise(4096, '\0');
    std::mt19937 random(7);
    for (char& c : noise)
        c = static_cast<char>(random());
    std::string banner = test::readFileBytes(kBannerPath);
    std::string corrupted = banner;
    for (std::size_t i = 2000; i < 2400; ++i) // scrambled entropy-coded data
        corrupted[i] = static_cast<char>(random());

    const struct {
        const char* what;
        std::string data;
    } cases[] = {
        {"nothing", ""},
        {"random bytes", noise},
        {"random bytes after a JPEG start marker", std::string("\xFF\xD8\xFF", 3) + noise},
        {"text", "<html>not a picture</html>"},
        {"a PNG file", test::readFileBytes(QUILLMARK_SOURCE_DIR "/resources/images/menu1.png")},
        {"a progressive JPEG", test::readFileBytes(QUILLMARK_TEST_DATA_DIR "/jpeg/progressive.jpg")},
        {"scrambled image data", corrupted},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(JpegImage::decode(c.data).isNull()) << c.what;
}

TEST(JpegImage, AHeaderAskingForAHugePictureIsRefusedBeforeAllocating)
{
    std::string banner = test::readFileBytes(kBannerPath);
    // The baseline frame header: FF C0, length (2), precision (1), height (2), width (2).
    const std::size_t sof = banner.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    for (const std::size_t at : {sof + 5, sof + 7}) { // 60000 rows, 60000 columns
        banner[at] = static_cast<char>(0xEA);
        banner[at + 1] = static_cast<char>(0x60);
    }
    EXPECT_TRUE(JpegImage::decode(banner).isNull());
}

} // namespace
} // namespace qm
