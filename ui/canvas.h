#pragma once

// The small drawing surface the oval button paints on: a pen, a brush and a font as current state,
// and a handful of drawing calls with the classic raster conventions: rectangles exclude their right
// and bottom edges, an ellipse fills its bounding box's pixels, arcs run counter-clockwise from the
// radial through one point to the radial through another, and lines leave out their end point.
// Colours are RGB references (red in the low byte); resolving system colours is the caller's work.

#include "ui/colorconv.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

namespace qm {

// Left and top inclusive, right and bottom exclusive.
struct CanvasRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    friend bool operator==(const CanvasRect&, const CanvasRect&) = default;
};

enum class CanvasStyle { Solid, Clear };

// Always one pixel wide.
struct CanvasPen {
    CanvasStyle style = CanvasStyle::Solid;
    ColorValue color = 0;

    friend bool operator==(const CanvasPen&, const CanvasPen&) = default;
};

struct CanvasBrush {
    CanvasStyle style = CanvasStyle::Solid;
    ColorValue color = 0xFFFFFF;

    friend bool operator==(const CanvasBrush&, const CanvasBrush&) = default;
};

class Canvas {
public:
    Canvas() = default;
    virtual ~Canvas() = default;

    void setPen(CanvasPen pen) { m_pen = pen; }
    void setPenStyle(CanvasStyle style) { m_pen.style = style; }
    const CanvasPen& pen() const { return m_pen; }
    void setBrush(CanvasBrush brush) { m_brush = brush; }
    const CanvasBrush& brush() const { return m_brush; }
    void setFont(const QFont& font, ColorValue color)
    {
        m_font = font;
        m_fontColor = color;
    }
    void setFontColor(ColorValue color) { m_fontColor = color; }
    const QFont& font() const { return m_font; }
    ColorValue fontColor() const { return m_fontColor; }

    // Width and height of the text in the current font, every character counted as it is stored
    // (an "&" too).
    virtual QSize textExtent(const QString& text) const = 0;

    // The ellipse inscribed in box: its outline in the pen, its inside in the brush.
    virtual void ellipse(const CanvasRect& box) = 0;
    // In the pen, the part of the outline of the ellipse inscribed in box that runs counter-clockwise
    // from the radial through start to the radial through end.
    virtual void arc(const CanvasRect& box, QPoint start, QPoint end) = 0;
    // Lines in the pen from the current position, without their end point.
    void moveTo(QPoint to) { m_position = to; }
    void lineTo(QPoint to)
    {
        line(m_position, to);
        m_position = to;
    }
    // The rectangle in the brush (nothing with a clear brush).
    virtual void fillRect(const CanvasRect& rect) = 0;
    // One line of text at the top left of rect, clipped to it, in the font and its colour; "&"
    // underlines the character after it and "&&" shows one "&". With a solid brush the text cells
    // are drawn opaque in the brush colour.
    virtual void drawText(const QString& text, const CanvasRect& rect) = 0;
    // The src part of image copied into dest; its pixels of the transparent colour are painted with
    // the brush instead (and left alone with a clear brush).
    virtual void copyTransparent(const CanvasRect& dest, const QImage& image, const CanvasRect& src,
                                 ColorValue transparent)
        = 0;

protected:
    // Copying is for implementations that are plain records; a canvas on a device is not copied.
    Canvas(const Canvas&) = default;
    Canvas& operator=(const Canvas&) = default;

    virtual void line(QPoint from, QPoint to) = 0;

private:
    CanvasPen m_pen;
    CanvasBrush m_brush;
    QFont m_font;
    ColorValue m_fontColor = 0;
    QPoint m_position;
};

} // namespace qm
