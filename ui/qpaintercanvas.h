#pragma once

#include "ui/canvas.h"

class QPainter;

namespace qm {

// Draws on a QPainter (a widget, a QImage) with the pixel conventions of Canvas. Aliased, as the
// raster conventions are pixel-exact.
class QPainterCanvas final : public Canvas {
public:
    explicit QPainterCanvas(QPainter& painter);
    QPainterCanvas(const QPainterCanvas&) = delete;
    QPainterCanvas& operator=(const QPainterCanvas&) = delete;

    QSize textExtent(const QString& text) const override;
    void ellipse(const CanvasRect& box) override;
    void arc(const CanvasRect& box, QPoint start, QPoint end) override;
    void fillRect(const CanvasRect& rect) override;
    void drawText(const QString& text, const CanvasRect& rect) override;
    void copyTransparent(const CanvasRect& dest, const QImage& image, const CanvasRect& src,
                         ColorValue transparent) override;

protected:
    void line(QPoint from, QPoint to) override;

private:
    void applyPen();

    QPainter& m_painter;
};

} // namespace qm
