#pragma once

#include "ui/colorconv.h"

#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <optional>

namespace qm {

class Canvas;

// Where the glyph stands relative to the caption.
enum TButtonLayout : int { blGlyphBottom, blGlyphLeft, blGlyphRight, blGlyphTop };

// The modifier keys and mouse buttons held during a pointer event.
struct ShiftState {
    Qt::KeyboardModifiers keys;
    Qt::MouseButtons buttons;
};

// A push button shaped as the ellipse that fills its rectangle: a black outline, a face in its own
// colour, bevel rings shaded light upper-left and dark lower-right (the reverse while pressed), an
// optional glyph strip and a caption. Only points inside the ellipse count for the mouse. It takes no
// keyboard focus and has no native window of its own; it paints over its parent's background.
//
// Every property setter compares, stores only a different value and then asks for a repaint. The
// pointer handlers (MouseDown ... DialogChar) are public so the state machine can be driven without
// a window system; the Qt events are translated into them.
class TOvalButton final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TOvalButton)

public:
    explicit TOvalButton(QWidget* owner = nullptr);

    std::uint8_t BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(std::uint8_t value) { assign(m_bevelWidth, value); }
    ColorValue Color() const { return m_color; }
    void SetColor(ColorValue value); // recomputes the bevel shades
    bool Down() const { return m_down; }
    void SetDown(bool value);
    void SetFlat(bool value);
    const QFont& Font() const { return m_font; }
    void SetFont(const QFont& font, ColorValue color);
    // Also takes the bottom-left pixel's colour as TransparentColor (an empty image leaves it alone).
    void SetGlyph(const QImage& image);
    void SetGroupIndex(std::int32_t value) { m_groupIndex = value; } // non-zero: a toggle; no repaint
    void SetLayout(TButtonLayout value) { assign(m_layout, value); }
    void SetMargin(std::int32_t value) { assign(m_margin, value); }
    std::uint8_t NumGlyphs() const { return m_numGlyphs; }
    void SetNumGlyphs(std::uint8_t value) { assign(m_numGlyphs, value); }
    void SetSpacing(std::int32_t value) { assign(m_spacing, value); }
    void SetTransparent(bool value) { assign(m_transparent, value); }
    ColorValue TransparentColor() const { return m_transparentColor; }
    void SetTransparentColor(ColorValue value) { assign(m_transparentColor, value); }
    const QString& Caption() const { return m_caption; }
    void SetCaption(const QString& caption) { assign(m_caption, caption); }

    ColorValue HighlightColor() const { return m_highlightColor; }
    ColorValue ShadowColor() const { return m_shadowColor; }
    // -1 sunken, 0 no bevel (flat, pointer elsewhere), +1 raised.
    int BevelState() const { return m_bevelState; }
    bool MouseHeld() const { return m_mouseHeld; }
    bool MouseInside() const { return m_mouseInside; }

    // Hit test against the ellipse inscribed in (0, 0, width, height).
    bool InEllipse(int x, int y) const;

    void Paint(Canvas& canvas);
    void PaintFace(Canvas& canvas);
    void DrawBevel(Canvas& canvas);

    void MouseDown(Qt::MouseButton button, ShiftState shift, int x, int y);
    void MouseUp(Qt::MouseButton button, ShiftState shift, int x, int y);
    void MouseMove(ShiftState shift, int x, int y);
    void MouseEnter();
    void MouseLeave();
    void Click();
    void DblClick();
    // A typed character offered as a possible accelerator; true when this button took it.
    bool DialogChar(int code);

    // True when the character after the caption's first "&" is the character whose code is the low
    // byte of code, the letters a to z folded to upper case.
    static bool MatchesAccelerator(int code, const QString& caption);
    // Offers a typed character to the oval buttons inside window, in creation order, until one takes
    // it. Windows call this from their key handling.
    static bool OfferDialogChar(QWidget* window, int code);

signals:
    void OnClick();
    void OnDblClick();
    void OnMouseDown(Qt::MouseButton button, qm::ShiftState shift, int x, int y);
    void OnMouseMove(qm::ShiftState shift, int x, int y);
    void OnMouseUp(Qt::MouseButton button, qm::ShiftState shift, int x, int y);
    void OnMouseEnter();
    void OnMouseExit();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // What every plain property setter does: store a different value and ask for a repaint.
    template <typename T> void assign(T& member, const T& value)
    {
        if (member == value)
            return;
        member = value;
        update();
    }
    void updateBevelState();
    void setBevelFlag(bool& flag, bool value); // m_down or m_flat
    // Face drawing for quick feedback from the pointer handlers: an immediate repaint (a deferred
    // one when transparent, as the parent's background must come first).
    void drawFaceNow();
    void pressFromEvent(QMouseEvent* event, bool doublePress);

    std::uint8_t m_bevelWidth = 0;
    ColorValue m_color;
    bool m_down = false;
    bool m_flat = false;
    QFont m_font;
    ColorValue m_fontColor;
    QImage m_glyph;
    std::int32_t m_groupIndex = 0;
    TButtonLayout m_layout = blGlyphBottom;
    std::int32_t m_margin = 0;
    std::uint8_t m_numGlyphs = 0;
    std::int32_t m_spacing = 4;
    bool m_transparent = false;
    ColorValue m_transparentColor = 0;
    QString m_caption;

    ColorValue m_highlightColor = 0;
    ColorValue m_shadowColor = 0;
    int m_bevelState = +1;
    bool m_downAtPress = false;
    bool m_mouseHeld = false;
    bool m_mouseInside = false;

    // A left press (not a double press) began on the control and its release may click.
    bool m_leftClickArmed = false;
    // Where the last pointer move was seen; a press elsewhere is preceded by a move to it.
    std::optional<QPoint> m_lastPointer;
};

// Makes the accessibility framework describe every oval button as a push button named by its
// caption, with a press action that clicks it. Once is enough; later calls change nothing.
void installOvalButtonAccessibility();

} // namespace qm
