#include "platform/syscolor.h"
#include "ui/captionlayout.h"
#include "ui/qpaintercanvas.h"
#include "ui/tovalbutton.h"

#include <QImage>
#include <QPainter>
#include <functional>
#include <gtest/gtest.h>

namespace qm {
namespace {

const QColor kBackground(255, 0, 255);
const QColor kBlack(0, 0, 0);
const QColor kFace(212, 208, 200);
const QColor kLight(233, 231, 227);
const QColor kDark(139, 129, 108);

QImage render(int width, int height, const std::function<void(Canvas&)>& draw)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    QPainterCanvas canvas(painter);
    draw(canvas);
    return image;
}

// A 64 x 31 button as the About dialog has them, rendered onto a magenta background.
QImage renderButton(const std::function<void(TOvalButton&)>& setup = {})
{
    TOvalButton button;
    button.resize(64, 31);
    button.SetBevelWidth(2);
    button.SetColor(refFromColor(kFace));
    button.SetCaption(QStringLiteral("Close"));
    button.SetFont(designFont(QStringLiteral("MS Sans Serif"), 11, true), RgbRef(0, 0, 0));
    if (setup)
        setup(button);
    return render(64, 31, [&button](Canvas& canvas) { button.Paint(canvas); });
}

struct Pixel {
    int x, y;
    QColor color;
    const char* what;
};

void expectPixels(const QImage& image, std::initializer_list<Pixel> pixels)
{
    for (const auto& p : pixels)
        EXPECT_EQ(image.pixelColor(p.x, p.y), p.color) << p.what << " at " << p.x << ',' << p.y;
}

int countPixels(const QImage& image, const QColor& color, QRect area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixelColor(x, y) == color ? 1 : 0;
    return n;
}

TEST(OvalButtonPaint, RaisedButtonPixels)
{
    const QImage image = renderButton();
    expectPixels(image, {
                            {0, 15, kBlack, "outline, left"},
                            {62, 15, kBlack, "outline, right (the box's right edge is excluded)"},
                            {31, 0, kBlack, "outline, top"},
                            {31, 29, kBlack, "outline, bottom"},
                            {63, 15, kBackground, "right of the outline"},
                            {31, 30, kBackground, "below the outline"},
                            {0, 0, kBackground, "corner"},
                            {1, 15, kLight, "outer ring, left"},
                            {2, 15, kLight, "inner ring, left"},
                            {31, 1, kLight, "outer ring, top"},
                            {31, 2, kLight, "inner ring, top"},
                            {61, 15, kDark, "outer ring, right"},
                            {60, 15, kDark, "inner ring, right"},
                            {31, 28, kDark, "outer ring, bottom"},
                            {31, 27, kDark, "inner ring, bottom"},
                            {8, 15, kFace, "face"},
                            {56, 15, kFace, "face"},
                        });
    // The caption is drawn in black in the middle.
    EXPECT_GT(countPixels(image, kBlack, QRect(12, 8, 40, 15)), 10);
}

TEST(OvalButtonPaint, SunkenButtonSwapsTheRings)
{
    const QImage image = renderButton([](TOvalButton& b) { b.SetDown(true); });
    expectPixels(image, {
                            {1, 15, kDark, "outer ring, left"},
                            {31, 1, kDark, "outer ring, top"},
                            {61, 15, kLight, "outer ring, right"},
                            {31, 28, kLight, "outer ring, bottom"},
                            {0, 15, kBlack, "outline"},
                        });
}

TEST(OvalButtonPaint, TransparentFlatAndDisabledVariants)
{
    const QImage transparent = renderButton([](TOvalButton& b) { b.SetTransparent(true); });
    expectPixels(transparent, {{8, 15, kBackground, "no face fill"}, {0, 15, kBlack, "outline"}});

    const QImage flat = renderButton([](TOvalButton& b) { b.SetFlat(true); });
    EXPECT_EQ(countPixels(flat, kBlack, QRect(0, 0, 64, 6)), 0) << "no outline";
    EXPECT_EQ(countPixels(flat, kLight, flat.rect()), 0) << "no rings";
    expectPixels(flat, {{8, 15, kFace, "face"}});

    const QImage disabled = renderButton([](TOvalButton& b) { b.setEnabled(false); });
    const QColor grey = colorFromRef(SysColor(kColorGrayText));
    EXPECT_EQ(countPixels(disabled, kBlack, QRect(12, 8, 40, 15)), 0) << "no black caption";
    EXPECT_GT(countPixels(disabled, grey, QRect(12, 8, 40, 15)), 10) << "grey caption";
}

TEST(QPainterCanvas, LinesAndRectanglesLeaveOutTheirEnd)
{
    const QImage image = render(16, 16, [](Canvas& c) {
        c.setPen({CanvasStyle::Solid, RgbRef(0, 0, 0)});
        c.moveTo({2, 2});
        c.lineTo({10, 2});
        c.lineTo({10, 6}); // starts on the pixel the previous line left out
        c.moveTo({2, 8});
        c.lineTo({6, 12});
        c.setBrush({CanvasStyle::Solid, RgbRef(0, 0, 255)});
        c.fillRect({12, 12, 14, 14});
    });
    expectPixels(image, {
                            {2, 2, kBlack, "first point"},
                            {9, 2, kBlack, "last point of the first line"},
                            {10, 2, kBlack, "start of the second line"},
                            {10, 5, kBlack, "last point of the second line"},
                            {10, 6, kBackground, "end point left out"},
                            {5, 11, kBlack, "diagonal"},
                            {6, 12, kBackground, "diagonal's end left out"},
                            {13, 13, QColor(0, 0, 255), "filled"},
                            {14, 13, kBackground, "right edge excluded"},
                            {13, 14, kBackground, "bottom edge excluded"},
                        });
}

TEST(QPainterCanvas, ArcBetweenTheSameRadialIsTheWholeOutline)
{
    const auto ring = [](QPoint start, QPoint end) {
        return render(40, 20, [&](Canvas& c) {
            c.setPen({CanvasStyle::Solid, RgbRef(0, 0, 0)});
            c.arc({0, 0, 40, 20}, start, end);
        });
    };
    const QImage whole = ring({39, 10}, {39, 10});
    const QImage upper = ring({39, 10}, {0, 10}); // counter-clockwise: over the top
    expectPixels(whole, {{20, 0, kBlack, "top"}, {20, 19, kBlack, "bottom"}});
    expectPixels(upper, {{20, 0, kBlack, "top"}, {20, 19, kBackground, "bottom"}});
    const QImage full = render(40, 20, [](Canvas& c) {
        c.setPen({CanvasStyle::Solid, RgbRef(0, 0, 0)});
        c.setBrush({CanvasStyle::Clear, 0});
        c.ellipse({0, 0, 40, 20});
    });
    EXPECT_EQ(whole, full) << "an arc covers exactly the outline's pixels";
}

TEST(QPainterCanvas, TransparentColourTakesTheBrush)
{
    QImage glyph(2, 1, QImage::Format_RGB32);
    glyph.setPixelColor(0, 0, QColor(255, 0, 0)); // the transparent colour
    glyph.setPixelColor(1, 0, QColor(0, 0, 255));
    const auto copy = [&glyph](CanvasStyle brush) {
        return render(4, 4, [&](Canvas& c) {
            c.setBrush({brush, RgbRef(0, 255, 0)});
            c.copyTransparent({1, 1, 3, 2}, glyph, {0, 0, 2, 1}, RgbRef(255, 0, 0));
        });
    };
    expectPixels(copy(CanvasStyle::Solid), {{1, 1, QColor(0, 255, 0), "brush"}, {2, 1, QColor(0, 0, 255), "copied"}});
    expectPixels(copy(CanvasStyle::Clear), {{1, 1, kBackground, "left alone"}, {2, 1, QColor(0, 0, 255), "copied"}});
}

TEST(CaptionLayout, AmpersandPrefixes)
{
    const QFont font = designFont(QStringLiteral("Arial"), 12);
    struct Case {
        const char* stored;
        const char* shown;
    };
    const Case cases[] = {
        {"&Close", "Close"}, {"Save && Exit", "Save & Exit"}, {"Trailing&", "Trailing"},
        {"&&&x", "&x"},      {"No prefix", "No prefix"},
    };
    for (const auto& c : cases) {
        const CaptionLayout& layout = CaptionLayout::Of(font, QString::fromLatin1(c.stored));
        EXPECT_EQ(layout.Shown(), QString::fromLatin1(c.shown)) << c.stored;
        EXPECT_LE(layout.ShownExtent().width(), layout.StoredExtent().width()) << c.stored;
    }

    // The prefixed character is underlined: the same text without the prefix draws fewer pixels.
    const auto drawn = [&font](const char* text) {
        return render(60, 20, [&](Canvas& c) {
            c.setFont(font, RgbRef(0, 0, 0));
            c.setBrush({CanvasStyle::Clear, 0});
            c.drawText(QString::fromLatin1(text), {0, 0, 60, 20});
        });
    };
    EXPECT_GT(countPixels(drawn("&Close"), kBlack, QRect(0, 0, 60, 20)),
              countPixels(drawn("Close"), kBlack, QRect(0, 0, 60, 20)));
}

} // namespace
} // namespace qm
