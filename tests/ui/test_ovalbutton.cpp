#include "platform/syscolor.h"
#include "tests/ui/recordingcanvas.h"
#include "ui/tovalbutton.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

namespace qm {
namespace {

using test::RecordingCanvas;
using Kind = RecordingCanvas::Kind;

const ShiftState kNoShift{};
constexpr ColorValue kFace = RgbRef(212, 208, 200);
constexpr ColorValue kLight = RgbRef(233, 231, 227);
constexpr ColorValue kDark = RgbRef(139, 129, 108);

// Counts the paint events a widget receives.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return QObject::eventFilter(watched, event);
    }
};

// Delivers everything pending, the deferred repaints included.
void settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// A 64 x 31 button with bevel width 2 on a shown parent, as the About dialog has them.
struct AboutButton {
    QWidget parent;
    TOvalButton* button = new TOvalButton(&parent);

    AboutButton()
    {
        parent.resize(120, 60);
        button->setGeometry(10, 10, 64, 31);
        button->SetBevelWidth(2);
        button->SetColor(kFace);
    }
    void moveTo(int x, int y) { button->MouseMove(kNoShift, x, y); }
    void press(int x, int y) { button->MouseDown(Qt::LeftButton, kNoShift, x, y); }
    // A release as the toolkit delivers it: the click (inside the rectangle) before the release.
    void release(int x, int y)
    {
        if (button->rect().contains(x, y))
            button->Click();
        button->MouseUp(Qt::LeftButton, kNoShift, x, y);
    }
    void clickAt(int x, int y)
    {
        moveTo(x, y);
        press(x, y);
        release(x, y);
    }
    RecordingCanvas paint()
    {
        RecordingCanvas canvas;
        button->Paint(canvas);
        return canvas;
    }
};

TEST(OvalButton, NewButtonIsRaisedWithoutRingsAndTakesNoFocus)
{
    TOvalButton button;
    EXPECT_EQ(button.size(), QSize(100, 50));
    EXPECT_EQ(button.BevelState(), +1);
    EXPECT_EQ(button.BevelWidth(), 0);
    EXPECT_EQ(button.Color(), SystemColorValue(kColorBtnFace));
    EXPECT_EQ(button.focusPolicy(), Qt::NoFocus);
    EXPECT_FALSE(button.testAttribute(Qt::WA_NativeWindow));

    ColorValue light = 0;
    ColorValue dark = 0;
    GetBevelColorsTenths(SysColor(kColorBtnFace), light, dark, 5, 4, SysColor);
    EXPECT_EQ(button.HighlightColor(), light);
    EXPECT_EQ(button.ShadowColor(), dark);

    RecordingCanvas canvas;
    button.Paint(canvas);
    const auto ellipses = canvas.of(Kind::Ellipse);
    ASSERT_EQ(ellipses.size(), 1u);
    EXPECT_EQ(ellipses[0].box, (CanvasRect{0, 0, 99, 49}));
    EXPECT_EQ(ellipses[0].pen, (CanvasPen{CanvasStyle::Solid, RgbRef(0, 0, 0)}));
    EXPECT_EQ(ellipses[0].brush, (CanvasBrush{CanvasStyle::Solid, SysColor(kColorBtnFace)}));
    EXPECT_TRUE(canvas.of(Kind::Arc).empty());
}

TEST(OvalButton, AboutButtonGeometry)
{
    AboutButton b;
    EXPECT_EQ(b.button->HighlightColor(), kLight);
    EXPECT_EQ(b.button->ShadowColor(), kDark);

    const RecordingCanvas canvas = b.paint();
    EXPECT_EQ(canvas.of(Kind::Ellipse).at(0).box, (CanvasRect{0, 0, 63, 30}));
    const auto arcs = canvas.of(Kind::Arc);
    ASSERT_EQ(arcs.size(), 4u);
    const CanvasRect rings[] = {{1, 1, 62, 29}, {2, 2, 61, 28}};
    const QPoint upperRight(48, 6);
    const QPoint lowerLeft(12, 24);
    for (int i = 0; i < 2; ++i) {
        const auto& upperLeftHalf = arcs[static_cast<std::size_t>(i)];
        EXPECT_EQ(upperLeftHalf.box, rings[i]);
        EXPECT_EQ(upperLeftHalf.from, upperRight);
        EXPECT_EQ(upperLeftHalf.to, lowerLeft);
        EXPECT_EQ(upperLeftHalf.pen, (CanvasPen{CanvasStyle::Solid, kLight}));
        const auto& lowerRightHalf = arcs[static_cast<std::size_t>(i + 2)];
        EXPECT_EQ(lowerRightHalf.box, rings[i]);
        EXPECT_EQ(lowerRightHalf.from, lowerLeft);
        EXPECT_EQ(lowerRightHalf.to, upperRight);
        EXPECT_EQ(lowerRightHalf.pen, (CanvasPen{CanvasStyle::Solid, kDark}));
    }

    // The hit region is the ellipse in (0, 0, 64, 31), one pixel wider and higher than the outline.
    struct Hit {
        int x, y;
        bool inside;
    };
    const Hit hits[] = {
        {32, 15, true}, {0, 15, true},   {63, 15, true}, {64, 15, false}, {-1, 15, false}, {32, 0, true},
        {32, 30, true}, {32, 31, false}, {0, 0, false},  {63, 30, false}, {4, 4, false},   {8, 5, true},
    };
    for (const auto& h : hits)
        EXPECT_EQ(b.button->InEllipse(h.x, h.y), h.inside) << h.x << ',' << h.y;
}

TEST(OvalButton, PressInsideMoveOutReleaseOutsideGivesNoClickAndARaisedBevel)
{
    AboutButton b;
    QSignalSpy clicks(b.button, &TOvalButton::OnClick);
    QSignalSpy downs(b.button, &TOvalButton::OnMouseDown);
    QSignalSpy ups(b.button, &TOvalButton::OnMouseUp);

    b.moveTo(32, 15);
    EXPECT_TRUE(b.button->MouseInside());
    b.press(32, 15);
    EXPECT_EQ(b.button->BevelState(), -1);
    EXPECT_TRUE(b.button->Down());
    EXPECT_EQ(downs.count(), 1);

    b.moveTo(1, 1); // inside the rectangle, outside the ellipse
    EXPECT_EQ(b.button->BevelState(), +1);
    EXPECT_FALSE(b.button->Down());
    EXPECT_FALSE(b.button->MouseInside());

    b.release(1, 1);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(ups.count(), 0);
    EXPECT_EQ(b.button->BevelState(), +1);
    EXPECT_FALSE(b.button->Down());
    EXPECT_FALSE(b.button->MouseHeld());

    // Coming back over the ellipse while held sinks it again, and the release there clicks.
    b.moveTo(32, 15);
    b.press(32, 15);
    b.moveTo(70, 15); // outside the rectangle too: the press captured the pointer
    EXPECT_EQ(b.button->BevelState(), +1);
    b.moveTo(30, 14);
    EXPECT_EQ(b.button->BevelState(), -1);
    b.release(30, 14);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(b.button->BevelState(), +1);
}

TEST(OvalButton, PressAtACornerThenMoveInsideSinksIt)
{
    AboutButton b;
    QSignalSpy downs(b.button, &TOvalButton::OnMouseDown);
    b.press(0, 0);
    EXPECT_EQ(downs.count(), 0);
    EXPECT_EQ(b.button->BevelState(), +1);
    EXPECT_TRUE(b.button->MouseHeld());

    b.moveTo(32, 15);
    EXPECT_EQ(b.button->BevelState(), -1);
    EXPECT_TRUE(b.button->Down());
    EXPECT_TRUE(b.button->MouseInside());
}

TEST(OvalButton, ClickNeedsTheLeftButtonAndThePointerSeenOverTheEllipse)
{
    AboutButton b;
    QSignalSpy clicks(b.button, &TOvalButton::OnClick);
    b.press(32, 15); // no move has put the pointer over the ellipse yet
    b.release(32, 15);
    EXPECT_EQ(clicks.count(), 0);

    b.moveTo(32, 15);
    b.button->MouseDown(Qt::RightButton, kNoShift, 32, 15);
    EXPECT_EQ(b.button->BevelState(), -1) << "any button presses it";
    b.button->MouseUp(Qt::RightButton, kNoShift, 32, 15);
    EXPECT_EQ(b.button->BevelState(), +1);
    EXPECT_EQ(clicks.count(), 0);
}

TEST(OvalButton, HidingAHeldButtonLetsGoOfThePress)
{
    AboutButton b;
    b.parent.show();
    b.moveTo(32, 15);
    b.press(32, 15);
    b.parent.hide(); // no release will ever reach a hidden control
    EXPECT_FALSE(b.button->MouseHeld());
    EXPECT_FALSE(b.button->MouseInside());
    EXPECT_FALSE(b.button->Down());
    EXPECT_EQ(b.button->BevelState(), +1);
}

TEST(OvalButton, FlatButtonShowsRingsOnlyWhileHovered)
{
    AboutButton b;
    b.button->SetFlat(true);
    EXPECT_EQ(b.button->BevelState(), 0);
    RecordingCanvas idle = b.paint();
    EXPECT_EQ(idle.of(Kind::Ellipse).at(0).pen.style, CanvasStyle::Clear);
    for (const auto& arc : idle.of(Kind::Arc))
        EXPECT_EQ(arc.pen.style, CanvasStyle::Clear);

    b.parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&b.parent));
    PaintCounter paints(b.button);
    b.moveTo(32, 15);
    EXPECT_EQ(b.button->BevelState(), +1);
    EXPECT_GE(paints.count, 1);
    for (const auto& arc : b.paint().of(Kind::Arc))
        EXPECT_EQ(arc.pen.style, CanvasStyle::Solid);

    paints.count = 0;
    b.moveTo(1, 1);
    EXPECT_EQ(b.button->BevelState(), 0);
    EXPECT_FALSE(b.button->MouseInside());
    settle();
    EXPECT_GE(paints.count, 1);

    // Leaving the control altogether drops the hover bevel too.
    b.moveTo(32, 15);
    b.button->MouseLeave();
    EXPECT_EQ(b.button->BevelState(), 0);
}

TEST(OvalButton, DownWithoutGroupIsRaisedByTheNextClick)
{
    AboutButton b;
    QSignalSpy clicks(b.button, &TOvalButton::OnClick);
    b.button->SetDown(true);
    EXPECT_EQ(b.button->BevelState(), -1);
    b.clickAt(32, 15);
    EXPECT_FALSE(b.button->Down());
    EXPECT_EQ(b.button->BevelState(), +1);
    EXPECT_EQ(clicks.count(), 1);
}

TEST(OvalButton, GroupedButtonTogglesWithEachClick)
{
    AboutButton b;
    b.button->SetGroupIndex(1);
    b.clickAt(32, 15);
    EXPECT_TRUE(b.button->Down());
    EXPECT_EQ(b.button->BevelState(), -1);
    b.clickAt(32, 15);
    EXPECT_FALSE(b.button->Down());
    EXPECT_EQ(b.button->BevelState(), +1);

    // A grouped button does not follow the pointer while held.
    b.moveTo(32, 15);
    b.press(32, 15);
    b.moveTo(1, 1);
    EXPECT_EQ(b.button->BevelState(), -1);
}

TEST(OvalButton, SettingColorToItsOwnValueNeitherRecomputesNorRepaints)
{
    AboutButton b;
    b.button->SetColor(SystemColorValue(kColorBtnFace));
    const ColorValue light = b.button->HighlightColor();
    b.parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&b.parent));
    PaintCounter paints(b.button);

    // The system colour changes under the button; only a real change of Color picks it up.
    const QPalette original = QApplication::palette();
    QPalette changed = original;
    changed.setColor(QPalette::Button, QColor(0, 0, 0));
    QApplication::setPalette(changed);
    settle();
    paints.count = 0;

    b.button->SetColor(SystemColorValue(kColorBtnFace));
    settle();
    EXPECT_EQ(b.button->HighlightColor(), light);
    EXPECT_EQ(paints.count, 0);

    b.button->SetColor(kFace);
    b.button->SetColor(SystemColorValue(kColorBtnFace));
    settle();
    EXPECT_EQ(b.button->HighlightColor(), RgbRef(127, 127, 127));
    EXPECT_GE(paints.count, 1);
    QApplication::setPalette(original);
}

TEST(OvalButton, SetterRules)
{
    AboutButton b;
    b.button->SetDown(true);
    b.button->SetFlat(true);
    EXPECT_EQ(b.button->BevelState(), -1) << "down wins over flat";
    b.button->SetDown(false);
    EXPECT_EQ(b.button->BevelState(), 0);
    b.button->SetFlat(false);
    EXPECT_EQ(b.button->BevelState(), +1);

    QImage glyph(6, 3, QImage::Format_RGB32);
    glyph.fill(QColor(1, 2, 3));
    glyph.setPixelColor(0, 2, QColor(10, 20, 30));
    b.button->SetGlyph(glyph);
    EXPECT_EQ(b.button->TransparentColor(), RgbRef(10, 20, 30));
    EXPECT_EQ(b.button->NumGlyphs(), 0) << "only a design environment derives the image count";
    b.button->SetGlyph(QImage());
    EXPECT_EQ(b.button->TransparentColor(), RgbRef(10, 20, 30)) << "an empty image has no corner pixel";
}

QImage filledImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Glyph strip of three 10 x 8 images.
QImage glyphStrip() { return filledImage(30, 8); }

TEST(OvalButton, DisabledButtonDrawsGreyCaptionAndItsSecondImage)
{
    AboutButton b;
    b.button->SetCaption(QStringLiteral("Close"));
    b.button->SetGlyph(glyphStrip());
    b.button->SetNumGlyphs(3);

    struct Case {
        bool enabled;
        bool down;
        CanvasRect src;
    };
    const Case cases[] = {
        {true, false, {0, 0, 10, 8}},
        {false, false, {10, 0, 20, 8}},
        {true, true, {20, 0, 30, 8}},
        {false, true, {20, 0, 30, 8}}, // pressed wins, also when disabled
    };
    for (const auto& c : cases) {
        b.button->setEnabled(c.enabled);
        b.button->SetDown(c.down);
        const RecordingCanvas canvas = b.paint();
        EXPECT_EQ(canvas.of(Kind::Copy).at(0).src, c.src) << c.enabled << c.down;
        EXPECT_EQ(canvas.of(Kind::Text).at(0).fontColor,
                  c.enabled ? SysColor(kColorWindowText) : SysColor(kColorGrayText));
    }

    b.button->SetNumGlyphs(2); // no third image: pressed stays on the second when disabled
    b.button->setEnabled(false);
    b.button->SetDown(true);
    EXPECT_EQ(b.paint().of(Kind::Copy).at(0).src, (CanvasRect{15, 0, 30, 8}));
}

TEST(OvalButton, GlyphAndCaptionPlacement)
{
    // W 100, H 50, caption "Abc" measures 18 x 13, glyph 10 x 8, spacing 4.
    struct Case {
        const char* what;
        TButtonLayout layout;
        const char* caption;
        int margin;
        bool down;
        CanvasRect glyph;
        CanvasRect text;
    };
    const Case cases[] = {
        {"caption above the glyph", blGlyphBottom, "Abc", 0, false, {45, 29, 55, 37}, {41, 12, 59, 25}},
        {"caption below the glyph", blGlyphTop, "Abc", 0, false, {45, 12, 55, 20}, {41, 24, 59, 37}},
        {"caption right of the glyph", blGlyphLeft, "Abc", 0, false, {34, 21, 44, 29}, {48, 18, 66, 31}},
        {"caption left of the glyph", blGlyphRight, "Abc", 0, false, {56, 21, 66, 29}, {34, 18, 52, 31}},
        {"margin moves the glyph out", blGlyphLeft, "Abc", 3, false, {31, 21, 41, 29}, {45, 18, 63, 31}},
        {"margin moves the glyph down", blGlyphBottom, "Abc", 3, false, {45, 32, 55, 40}, {41, 15, 59, 28}},
        {"no caption: glyph centred", blGlyphLeft, "", 0, false, {45, 21, 55, 29}, {}},
        // Pressed: the glyph moves one pixel right and down, the caption two along the layout.
        {"pressed, caption above", blGlyphBottom, "Abc", 0, true, {46, 30, 56, 38}, {42, 14, 60, 27}},
        {"pressed, caption right", blGlyphLeft, "Abc", 0, true, {35, 22, 45, 30}, {50, 19, 68, 32}},
    };
    for (const auto& c : cases) {
        TOvalButton button;
        button.SetGlyph(filledImage(10, 8));
        button.SetNumGlyphs(1);
        button.SetLayout(c.layout);
        button.SetCaption(QString::fromLatin1(c.caption));
        button.SetMargin(c.margin);
        button.SetDown(c.down);
        button.SetColor(kFace);
        RecordingCanvas canvas;
        button.Paint(canvas);

        const auto copy = canvas.of(Kind::Copy).at(0);
        EXPECT_EQ(copy.box, c.glyph) << c.what;
        EXPECT_EQ(copy.brush, (CanvasBrush{CanvasStyle::Solid, kFace})) << c.what;
        // The face-coloured strokes that cover where the glyph stood in the other state.
        const auto lines = canvas.of(Kind::Line);
        ASSERT_EQ(lines.size(), 2u) << c.what;
        const CanvasRect& g = c.glyph;
        if (c.down) {
            EXPECT_EQ(lines[0].from, QPoint(g.left - 1, g.bottom)) << c.what;
            EXPECT_EQ(lines[0].to, QPoint(g.left - 1, g.top - 1)) << c.what;
            EXPECT_EQ(lines[1].to, QPoint(g.right, g.top - 1)) << c.what;
        } else {
            EXPECT_EQ(lines[0].from, QPoint(g.right, g.top)) << c.what;
            EXPECT_EQ(lines[0].to, QPoint(g.right, g.bottom)) << c.what;
            EXPECT_EQ(lines[1].to, QPoint(g.left, g.bottom)) << c.what;
        }
        EXPECT_EQ(lines[0].pen, (CanvasPen{CanvasStyle::Solid, kFace})) << c.what;

        const auto texts = canvas.of(Kind::Text);
        if (c.caption[0] == '\0') {
            EXPECT_TRUE(texts.empty()) << c.what;
            continue;
        }
        ASSERT_EQ(texts.size(), 1u) << c.what;
        EXPECT_EQ(texts[0].box, c.text) << c.what;
        const CanvasRect& t = c.text;
        const CanvasRect fill = c.down ? t : CanvasRect{t.left + 1, t.top + 1, t.right + 1, t.bottom + 1};
        EXPECT_EQ(canvas.of(Kind::FillRect).at(0).box, fill) << c.what;
    }
}

TEST(OvalButton, ContentLargerThanTheControlStaysCentredAndCaptionsAreDrawnWhole)
{
    TOvalButton button;
    button.resize(64, 31);
    const QString longCaption(100, QLatin1Char('W')); // 600 pixels in the recording font
    button.SetCaption(longCaption);
    button.SetGlyph(filledImage(200, 100));
    button.SetNumGlyphs(1);
    button.SetLayout(blGlyphLeft);
    RecordingCanvas canvas;
    button.Paint(canvas);

    // Glyph and caption together are 804 wide: centred, they overflow 370 pixels on each side.
    EXPECT_EQ(canvas.of(Kind::Copy).at(0).box, (CanvasRect{-370, -35, -170, 65}));
    const auto text = canvas.of(Kind::Text).at(0);
    EXPECT_EQ(text.text, longCaption);
    EXPECT_EQ(text.box, (CanvasRect{-166, 9, 434, 22}));

    // Extreme spacing and margin values neither overflow nor reach huge coordinates.
    button.SetSpacing(std::numeric_limits<std::int32_t>::max());
    button.SetMargin(std::numeric_limits<std::int32_t>::min());
    RecordingCanvas extreme;
    button.Paint(extreme);
    for (const auto& call : extreme.calls()) {
        EXPECT_LE(std::abs(call.box.left), 1 << 26);
        EXPECT_LE(std::abs(call.box.right), 1 << 26);
    }
}

TEST(OvalButton, AcceleratorMatching)
{
    struct Case {
        const char* caption;
        int code;
        bool matches;
    };
    const Case cases[] = {
        {"&Close", 'c', true},
        {"&Close", 'C', true},
        {"&Close", 'l', false},
        {"Cl&ose", 'O', true},
        {"Close&", 'c', false}, // an ampersand as the last character names nothing
        {"Close", 'c', false},
        {"", 'c', false},
        {"&&Close", '&', true},        // the second ampersand is the
                                       // accelerator character
        {"&Close", 0x100 + 'c', true}, // only the low byte of the code counts
        {"&\xe9t\xe9", 0xC9, false},   // only a to z are folded
    };
    for (const auto& c : cases)
        EXPECT_EQ(TOvalButton::MatchesAccelerator(c.code, QString::fromLatin1(c.caption)), c.matches)
            << c.caption << ' ' << c.code;
}

TEST(OvalButton, DialogCharClicksOnlyUnderTheClicksOwnConditions)
{
    AboutButton b;
    b.button->SetCaption(QStringLiteral("&Close"));
    QSignalSpy clicks(b.button, &TOvalButton::OnClick);

    EXPECT_FALSE(b.button->DialogChar('x'));
    EXPECT_TRUE(b.button->DialogChar('c'));
    EXPECT_EQ(clicks.count(), 0) << "the pointer is not over the button";

    b.moveTo(32, 15);
    EXPECT_TRUE(b.button->DialogChar('C'));
    EXPECT_EQ(clicks.count(), 1);

    b.button->setEnabled(false);
    EXPECT_TRUE(b.button->DialogChar('c')) << "handled, though nothing happens";
    EXPECT_EQ(clicks.count(), 1);
}

TEST(OvalButton, RealPointerEventsClickOnceAndDoubleClickOnce)
{
    AboutButton b;
    b.parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&b.parent));
    QSignalSpy clicks(b.button, &TOvalButton::OnClick);
    QSignalSpy doubles(b.button, &TOvalButton::OnDblClick);
    const QPoint centre(32, 15);

    QTest::mouseClick(b.button, Qt::LeftButton, {}, centre);
    EXPECT_EQ(clicks.count(), 1) << "a press without a move of its own still counts";
    EXPECT_EQ(b.button->BevelState(), +1);
    EXPECT_FALSE(b.button->MouseHeld());

    // A double click reaches a widget as press, release, double press, release.
    QSignalSpy downs(b.button, &TOvalButton::OnMouseDown);
    QTest::mouseClick(b.button, Qt::LeftButton, {}, centre);
    QTest::mouseDClick(b.button, Qt::LeftButton, {}, centre);
    EXPECT_EQ(doubles.count(), 1);
    EXPECT_EQ(downs.count(), 2);
    QTest::mouseRelease(b.button, Qt::LeftButton, {}, centre);
    EXPECT_EQ(clicks.count(), 2) << "the double press's release is no click";
    EXPECT_FALSE(b.button->MouseHeld());

    QTest::mouseClick(b.button, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_EQ(clicks.count(), 2) << "a corner of the rectangle is outside the ellipse";
}

} // namespace
} // namespace qm
