#include "ui/tovalbutton.h"

#include "platform/handlerguard.h"
#include "platform/syscolor.h"
#include "ui/canvas.h"
#include "ui/captionlayout.h"
#include "ui/qpaintercanvas.h"

#include <QAccessibleWidget>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace qm {
namespace {

// How many tenths of the way to white the highlight goes, and how many tenths of its luminance the
// shadow loses.
constexpr std::int32_t kLightTenths = 5;
constexpr std::int32_t kDarkTenths = 4;
// Coordinates are worked out in 64 bits and kept within this bound when drawn: far outside any
// control, small enough that the canvas's own arithmetic cannot overflow.
constexpr std::int64_t kCoordinateLimit = std::int64_t{1} << 26;

// Half of a placement difference, rounded down. Content larger than the control gives a negative
// difference, and the content then stays centred and overflows equally on both sides.
constexpr std::int64_t half(std::int64_t v) { return v >> 1; }

int coordinate(std::int64_t v) { return static_cast<int>(std::clamp(v, -kCoordinateLimit, kCoordinateLimit)); }

struct Box {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = 0;
    std::int64_t bottom = 0;
};

CanvasRect toCanvas(const Box& box)
{
    return {coordinate(box.left), coordinate(box.top), coordinate(box.right), coordinate(box.bottom)};
}

QPoint point(std::int64_t x, std::int64_t y) { return {coordinate(x), coordinate(y)}; }

char16_t foldUpper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

ShiftState shiftOf(const QMouseEvent* event, Qt::MouseButtons buttons) { return {event->modifiers(), buttons}; }

// What screen readers see of an oval button: a push button named by its caption (as shown, without
// the accelerator's "&") unless the window gave it a name of its own, with a press action that
// clicks it. Without this the button would be an anonymous pane to them.
class OvalButtonAccessible final : public QAccessibleWidget {
public:
    explicit OvalButtonAccessible(TOvalButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        QString value = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && value.isEmpty())
            value = CaptionLayout::Of(button()->Font(), button()->Caption()).Shown();
        return value;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = button()->BevelState() < 0;
        return state;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (button()->isEnabled())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& actionName) override
    {
        // A press by an assistive tool is a whole click: there is no pointer whose position could stop it.
        if (actionName == pressAction()) {
            if (button()->isEnabled())
                emit button()->OnClick();
            return;
        }
        QAccessibleWidget::doAction(actionName);
    }

private:
    TOvalButton* button() const { return static_cast<TOvalButton*>(widget()); }
};

QAccessibleInterface* ovalButtonFactory(const QString& /*className*/, QObject* object)
{
    auto* button = qobject_cast<TOvalButton*>(object);
    return button != nullptr ? new OvalButtonAccessible(button) : nullptr;
}

} // namespace

void installOvalButtonAccessibility() { QAccessible::installFactory(ovalButtonFactory); }

TOvalButton::TOvalButton(QWidget* owner)
    : QWidget(owner)
    , m_color(SystemColorValue(kColorBtnFace))
    , m_fontColor(SystemColorValue(kColorWindowText))
{
    resize(100, 50);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true); // moves without a button held drive the hover state
    GetBevelColorsTenths(m_color, m_highlightColor, m_shadowColor, kLightTenths, kDarkTenths, SysColor);
}

void TOvalButton::SetColor(ColorValue value)
{
    if (value == m_color)
        return;
    m_color = value;
    GetBevelColorsTenths(m_color, m_highlightColor, m_shadowColor, kLightTenths, kDarkTenths, SysColor);
    update();
}

void TOvalButton::updateBevelState() { m_bevelState = m_down ? -1 : (m_flat ? 0 : +1); }

void TOvalButton::setBevelFlag(bool& flag, bool value)
{
    if (value == flag)
        return;
    flag = value;
    updateBevelState();
    update();
}

void TOvalButton::SetDown(bool value) { setBevelFlag(m_down, value); }

void TOvalButton::SetFlat(bool value) { setBevelFlag(m_flat, value); }

void TOvalButton::SetFont(const QFont& font, ColorValue color)
{
    if (font == m_font && color == m_fontColor)
        return;
    m_font = font;
    m_fontColor = color;
    update();
}

void TOvalButton::SetGlyph(const QImage& image)
{
    m_glyph = image;
    if (!m_glyph.isNull() && m_glyph.height() > 0)
        m_transparentColor = refFromColor(m_glyph.pixelColor(0, m_glyph.height() - 1));
    update();
}

bool TOvalButton::InEllipse(int x, int y) const
{
    // A pixel belongs to the region when its centre lies inside the ellipse inscribed in
    // (0, 0, W, H); in integers: ((2x + 1 - W) / W)^2 + ((2y + 1 - H) / H)^2 <= 1.
    const std::int64_t w = width();
    const std::int64_t h = height();
    if (w <= 0 || h <= 0 || x < 0 || y < 0 || x >= w || y >= h)
        return false;
    const std::int64_t dx = 2 * std::int64_t{x} + 1 - w;
    const std::int64_t dy = 2 * std::int64_t{y} + 1 - h;
    return dx * dx * h * h + dy * dy * w * w <= w * w * h * h;
}

void TOvalButton::Paint(Canvas& canvas)
{
    canvas.setFont(m_font, ResolveColor(m_fontColor, SysColor));
    const ColorValue face = ResolveColor(m_color, SysColor);
    canvas.setBrush({m_transparent ? CanvasStyle::Clear : CanvasStyle::Solid, face});
    canvas.setPen({m_flat ? CanvasStyle::Clear : CanvasStyle::Solid, RgbRef(0, 0, 0)});
    canvas.ellipse({0, 0, width() - 1, height() - 1});
    PaintFace(canvas);
}

void TOvalButton::DrawBevel(Canvas& canvas)
{
    const std::int64_t w = width();
    const std::int64_t h = height();
    const QPoint upperRight = point(4 * (w / 5), h / 5);
    const QPoint lowerLeft = point(w / 5, 4 * (h / 5));
    // Without a bevel the rings are drawn with a clear pen that keeps its colour.
    const auto rings = [&](ColorValue color, QPoint start, QPoint end) {
        const bool none = m_bevelState == 0;
        canvas.setPen({none ? CanvasStyle::Clear : CanvasStyle::Solid, none ? canvas.pen().color : color});
        for (int i = 1; i <= m_bevelWidth; ++i)
            canvas.arc(toCanvas({i, i, w - i - 1, h - i - 1}), start, end);
    };
    rings(m_bevelState < 0 ? m_shadowColor : m_highlightColor, upperRight, lowerLeft);
    rings(m_bevelState < 0 ? m_highlightColor : m_shadowColor, lowerLeft, upperRight);
    canvas.setPenStyle(CanvasStyle::Solid);
}

void TOvalButton::PaintFace(Canvas& canvas)
{
    const std::int64_t w = width();
    const std::int64_t h = height();
    const std::int64_t glyphWidth = m_glyph.width();
    const std::int64_t glyphHeight = m_glyph.height();
    const ColorValue face = ResolveColor(m_color, SysColor);
    const QSize extent = m_caption.isEmpty() ? QSize() : canvas.textExtent(m_caption);
    const std::int64_t tw = extent.width();
    const std::int64_t th = extent.height();
    const bool sunken = m_bevelState == -1;

    Box src{0, 0, glyphWidth, glyphHeight};
    const std::int64_t cell = m_numGlyphs > 0 ? glyphWidth / m_numGlyphs : 0;
    if (m_numGlyphs > 0)
        src.right = cell; // the first image of the strip

    DrawBevel(canvas);

    std::int64_t gw = 0;
    std::int64_t gh = 0;
    Box dest;
    if (m_numGlyphs > 0) {
        if (!isEnabled() && m_numGlyphs > 1)
            src = {cell, src.top, 2 * cell, src.bottom};
        gw = src.right - src.left;
        gh = src.bottom - src.top;

        if (m_caption.isEmpty()) {
            dest.left = half(w - gw);
            dest.top = half(h - gh);
        } else {
            switch (m_layout) {
            case blGlyphLeft:
                dest.left = half(w - (tw + m_spacing + gw)) - m_margin;
                dest.top = half(h - gh);
                break;
            case blGlyphRight:
                dest.left = half(tw + m_spacing + gw + w) - gw + m_margin;
                dest.top = half(h - gh);
                break;
            case blGlyphTop:
                dest.left = half(w - gw);
                dest.top = half(h - (th + gh + m_spacing)) - m_margin;
                break;
            case blGlyphBottom:
                dest.left = half(w - gw);
                dest.top = half(th + gh + m_spacing + h) - gh + m_margin;
                break;
            }
        }
        dest.right = dest.left + gw;
        dest.bottom = dest.top + gh;

        // Strokes in the face colour cover the strip the glyph occupied in the other state.
        canvas.setPen(
            {m_transparent ? CanvasStyle::Clear : CanvasStyle::Solid, m_transparent ? canvas.pen().color : face});
        if (sunken) {
            dest = {dest.left + 1, dest.top + 1, dest.right + 1, dest.bottom + 1};
            canvas.moveTo(point(dest.left - 1, dest.bottom));
            canvas.lineTo(point(dest.left - 1, dest.top - 1));
            canvas.lineTo(point(dest.right, dest.top - 1));
        } else {
            canvas.moveTo(point(dest.right, dest.top));
            canvas.lineTo(point(dest.right, dest.bottom));
            canvas.lineTo(point(dest.left, dest.bottom));
        }
        canvas.setPenStyle(CanvasStyle::Solid);

        if (sunken && m_numGlyphs > 2)
            src = {2 * cell, src.top, 3 * cell, src.bottom};
        canvas.setBrush({m_transparent ? CanvasStyle::Clear : CanvasStyle::Solid, face});
        canvas.copyTransparent(toCanvas(dest), m_glyph, toCanvas(src), ResolveColor(m_transparentColor, SysColor));
    }

    if (m_caption.isEmpty())
        return;
    std::int64_t tx = half(w - tw);
    if (m_numGlyphs > 0 && m_layout == blGlyphRight)
        tx = dest.left - tw - m_spacing;
    if (m_numGlyphs > 0 && m_layout == blGlyphLeft)
        tx = gw + dest.left + m_spacing;
    std::int64_t ty = half(h - th);
    if (m_numGlyphs > 0 && m_layout == blGlyphTop)
        ty = dest.top + gh + m_spacing;
    if (m_numGlyphs > 0 && m_layout == blGlyphBottom)
        ty = dest.top - th - m_spacing;
    if (sunken) {
        ++tx;
        ++ty;
    }
    canvas.setBrush({m_transparent ? CanvasStyle::Clear : CanvasStyle::Solid, face});
    const Box textBox{tx, ty, tx + tw, ty + th};
    canvas.fillRect(sunken ? toCanvas(textBox) : toCanvas({tx + 1, ty + 1, tx + 1 + tw, ty + 1 + th}));
    if (!isEnabled())
        canvas.setFontColor(SysColor(kColorGrayText));
    // The whole caption is drawn, however long: no fixed-size buffer stands in between.
    canvas.drawText(m_caption, toCanvas(textBox));
}

void TOvalButton::drawFaceNow()
{
    if (m_transparent)
        update();
    else
        repaint();
}

void TOvalButton::MouseDown(Qt::MouseButton button, ShiftState shift, int x, int y)
{
    if (isEnabled() && InEllipse(x, y)) {
        m_downAtPress = m_down;
        m_down = true;
        m_bevelState = -1;
        drawFaceNow();
        emit OnMouseDown(button, shift, x, y);
    }
    m_mouseHeld = true;
}

void TOvalButton::MouseUp(Qt::MouseButton button, ShiftState shift, int x, int y)
{
    if (isEnabled() && InEllipse(x, y)) {
        if (m_groupIndex == 0) {
            m_down = false;
            m_bevelState = +1;
            drawFaceNow();
        } else {
            SetDown(!m_downAtPress);
        }
        emit OnMouseUp(button, shift, x, y);
    }
    m_mouseHeld = false;
}

void TOvalButton::MouseMove(ShiftState shift, int x, int y)
{
    const bool inside = InEllipse(x, y);
    if (m_mouseHeld) {
        if (!inside) {
            if (m_bevelState == -1 && m_groupIndex == 0 && m_mouseInside) {
                m_down = false;
                m_bevelState = +1;
                repaint();
            }
            m_mouseInside = false;
        } else if (m_bevelState == +1 && m_groupIndex == 0) {
            m_mouseInside = true;
            m_down = true;
            m_bevelState = -1;
            repaint();
        }
    } else if (m_flat && !m_down) {
        if (inside) {
            m_mouseInside = true;
            m_bevelState = +1;
            repaint();
        } else if (m_mouseInside) {
            m_mouseInside = false;
            m_bevelState = 0;
            update();
        }
    } else {
        m_mouseInside = inside;
    }
    if (m_mouseInside)
        emit OnMouseMove(shift, x, y);
}

void TOvalButton::MouseEnter() { emit OnMouseEnter(); }

void TOvalButton::MouseLeave()
{
    if (m_mouseInside && isEnabled()) {
        m_mouseInside = false;
        if (m_flat && !m_down) {
            m_bevelState = 0;
            update();
        }
    }
    emit OnMouseExit();
}

void TOvalButton::Click()
{
    if (isEnabled() && m_mouseInside)
        emit OnClick();
}

void TOvalButton::DblClick()
{
    if (isEnabled() && m_mouseInside)
        emit OnDblClick();
}

bool TOvalButton::DialogChar(int code)
{
    if (!MatchesAccelerator(code, m_caption))
        return false;
    if (isEnabled())
        Click();
    return true;
}

bool TOvalButton::MatchesAccelerator(int code, const QString& caption)
{
    const qsizetype p = caption.indexOf(u'&');
    if (p < 0 || p + 1 >= caption.size())
        return false;
    const auto typed = static_cast<char16_t>(static_cast<unsigned>(code) & 0xFFu);
    return foldUpper(caption.at(p + 1).unicode()) == foldUpper(typed);
}

bool TOvalButton::OfferDialogChar(QWidget* window, int code)
{
    if (window == nullptr)
        return false;
    const auto buttons = window->findChildren<TOvalButton*>();
    return std::any_of(buttons.begin(), buttons.end(),
                       [code](TOvalButton* button) { return button->DialogChar(code); });
}

void TOvalButton::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    QPainterCanvas canvas(painter);
    Paint(canvas);
}

void TOvalButton::pressFromEvent(QMouseEvent* event, bool doublePress)
{
    const QPoint at = event->position().toPoint();
    // The pointer may arrive without a move of its own (a window shown under it, a touch): the press
    // is then the first sighting, and the hover state is brought up to date before it.
    if (!m_mouseHeld && m_lastPointer != at) {
        m_lastPointer = at;
        MouseMove(shiftOf(event, event->buttons() & ~event->button()), at.x(), at.y());
    }
    if (event->button() == Qt::LeftButton) {
        if (doublePress)
            DblClick();
        m_leftClickArmed = !doublePress;
    }
    MouseDown(event->button(), shiftOf(event, event->buttons()), at.x(), at.y());
}

void TOvalButton::mousePressEvent(QMouseEvent* event)
{
    guarded([this, event] { pressFromEvent(event, false); });
}

void TOvalButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    guarded([this, event] { pressFromEvent(event, true); });
}

void TOvalButton::mouseReleaseEvent(QMouseEvent* event)
{
    guarded([this, event] {
        const QPoint at = event->position().toPoint();
        if (event->button() == Qt::LeftButton && m_leftClickArmed) {
            m_leftClickArmed = false;
            if (rect().contains(at))
                Click();
        }
        MouseUp(event->button(), shiftOf(event, event->buttons()), at.x(), at.y());
    });
}

void TOvalButton::mouseMoveEvent(QMouseEvent* event)
{
    guarded([this, event] {
        const QPoint at = event->position().toPoint();
        m_lastPointer = at;
        MouseMove(shiftOf(event, event->buttons()), at.x(), at.y());
    });
}

void TOvalButton::enterEvent(QEnterEvent* /*event*/)
{
    guarded([this] { MouseEnter(); });
}

void TOvalButton::leaveEvent(QEvent* /*event*/)
{
    guarded([this] {
        m_lastPointer.reset();
        MouseLeave();
    });
}

void TOvalButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        update();
    QWidget::changeEvent(event);
}

void TOvalButton::hideEvent(QHideEvent* event)
{
    // A hidden control sees no more pointer events: a press still held would never be released.
    if (m_mouseHeld && m_groupIndex == 0) {
        m_down = false;
        updateBevelState();
    }
    m_mouseHeld = false;
    m_mouseInside = false;
    m_leftClickArmed = false;
    m_lastPointer.reset();
    QWidget::hideEvent(event);
}

} // namespace qm
