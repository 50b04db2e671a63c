// The program's pictures as the windows load them: from the compiled-in resources, the JPEGs through
// the libjpeg loader.
#include "platform/jpegpixmap.h"
#include "tests/support/tempdir.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

namespace qm {
namespace {

QString toQString(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

TEST(Pictures, TheBannerAndTheLogoLoadFromTheResources)
{
    const QImage banner = loadJpegPixmap(QStringLiteral(":/images/banner.jpg")).toImage();
    ASSERT_EQ(banner.size(), QSize(500, 65));
    const QColor gold = banner.pixelColor(250, 63);
    EXPECT_NEAR(gold.red(), 0xE0, 12);
    EXPECT_NEAR(gold.green(), 0xA5, 12);
    EXPECT_NEAR(gold.blue(), 0x26, 12);
    EXPECT_EQ(loadJpegPixmap(QStringLiteral(":/images/logo.jpg")).size(), QSize(98, 130));
}

TEST(Pictures, AMissingOrBrokenJpegGivesAnEmptyPixmap)
{
    test::TempDir dir;
    const std::string banner = test::readFileBytes(QUILLMARK_SOURCE_DIR "/resources/images/banner.jpg");
    test::writeFileBytes(dir.file("cut.jpg"), std::string_view(banner).substr(0, banner.size() / 2));
    test::writeFileBytes(dir.file("garbage.jpg"), "GIF89a and then nothing useful");
    EXPECT_TRUE(loadJpegPixmap(toQString(dir.file("missing.jpg"))).isNull());
    EXPECT_TRUE(loadJpegPixmap(toQString(dir.file("cut.jpg"))).isNull());
    EXPECT_TRUE(loadJpegPixmap(toQString(dir.file("garbage.jpg"))).isNull());
    EXPECT_TRUE(loadJpegPixmap(toQString(dir.path())).isNull()); // a folder
}

TEST(Pictures, ButtonPicturesAndMenuIconsHaveTheirSizesAndClearBackgrounds)
{
    const struct {
        const char* path;
        QSize size;
    } pictures[] = {
        {":/images/generate.png", {24, 24}}, {":/images/research.png", {22, 23}}, {":/images/cancel.png", {24, 24}},
        {":/images/menu0.png", {16, 16}},    {":/images/menu1.png", {16, 16}},    {":/images/menu2.png", {16, 16}},
        {":/images/menu3.png", {16, 16}},    {":/images/menu4.png", {16, 16}},    {":/images/menu5.png", {16, 16}},
        {":/images/menu6.png", {16, 16}},
    };
    for (const auto& p : pictures) {
        const QImage image(QString::fromLatin1(p.path));
        ASSERT_FALSE(image.isNull()) << p.path;
        EXPECT_EQ(image.size(), p.size) << p.path;
        EXPECT_TRUE(image.hasAlphaChannel()) << p.path;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << p.path << ": the corner shows the menu behind it";
    }
}

} // namespace
} // namespace qm
