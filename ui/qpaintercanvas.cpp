#include "ui/qpaintercanvas.h"

#include "platform/syscolor.h"
#include "ui/captionlayout.h"
#include "ui/ellipsepixels.h"

#include <QPainter>
#include <QPolygon>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace qm {
namespace {

// Qt's arcs take the ellipse's parametric angle: the one at which the ellipse meets the radial
// through p, in 0..360.
double parametricAngle(const CanvasRect& box, QPointF centre, QPoint p)
{
    const double rx = (box.right - box.left - 1) / 2.0;
    const double ry = (box.bottom - box.top - 1) / 2.0;
    const double degrees = std::atan2((centre.y() - p.y()) / ry, (p.x() - centre.x()) / rx) * 180.0 / std::numbers::pi;
    return degrees < 0 ? degrees + 360.0 : degrees;
}

} // namespace

QPainterCanvas::QPainterCanvas(QPainter& painter) : m_painter(painter)
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
}

QSize QPainterCanvas::textExtent(const QString& text) const { return CaptionLayout::Of(font(), text).StoredExtent(); }

void QPainterCanvas::applyPen()
{
    if (pen().style == CanvasStyle::Clear) {
        m_painter.setPen(Qt::NoPen);
        return;
    }
    m_painter.setPen(QPen(colorFromRef(pen().color))); // one pixel wide
}

void QPainterCanvas::ellipse(const CanvasRect& box)
{
    if (box.right - box.left < 2 || box.bottom - box.top < 2)
        return;
    applyPen();
    if (brush().style == CanvasStyle::Clear)
        m_painter.setBrush(Qt::NoBrush);
    else
        m_painter.setBrush(colorFromRef(brush().color));
    m_painter.drawEllipse(EllipseStrokeRect(box));
}

void QPainterCanvas::arc(const CanvasRect& box, QPoint start, QPoint end)
{
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    if (pen().style == CanvasStyle::Clear || width < 2 || height < 2)
        return;
    if (width <= kMaxPixelArcSide && height <= kMaxPixelArcSide) {
        const std::vector<QRect>& runs = ArcRuns(box, start, end);
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(colorFromRef(pen().color));
        m_painter.drawRects(runs.data(), static_cast<int>(runs.size()));
        return;
    }
    applyPen();
    m_painter.setBrush(Qt::NoBrush);
    const QPointF centre(box.left + (width - 1) / 2.0, box.top + (height - 1) / 2.0);
    const double from = parametricAngle(box, centre, start);
    double span = SweepFrom(from, parametricAngle(box, centre, end));
    if (span == 0.0)
        span = 360.0;
    m_painter.drawArc(EllipseStrokeRect(box), static_cast<int>(std::lround(from * 16)),
                      static_cast<int>(std::lround(span * 16)));
}

void QPainterCanvas::line(QPoint from, QPoint to)
{
    if (pen().style == CanvasStyle::Clear || from == to)
        return;
    // Bresenham's walk, stopping one pixel short of the end point.
    QPolygon points;
    int x = from.x();
    int y = from.y();
    const int dx = std::abs(to.x() - x);
    const int dy = -std::abs(to.y() - y);
    const int sx = x < to.x() ? 1 : -1;
    const int sy = y < to.y() ? 1 : -1;
    int error = dx + dy;
    while (x != to.x() || y != to.y()) {
        points.append(QPoint(x, y));
        const int e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            x += sx;
        }
        if (e2 <= dx) {
            error += dx;
            y += sy;
        }
    }
    applyPen();
    m_painter.drawPoints(points);
}

void QPainterCanvas::fillRect(const CanvasRect& rect)
{
    if (brush().style == CanvasStyle::Clear || rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    m_painter.fillRect(PixelRect(rect), colorFromRef(brush().color));
}

void QPainterCanvas::drawText(const QString& text, const CanvasRect& rect)
{
    if (text.isEmpty() || rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    const QRect bounds = PixelRect(rect);
    const CaptionLayout& layout = CaptionLayout::Of(font(), text);
    const QRect cells(bounds.topLeft(), layout.ShownExtent());
    // The shown text is no wider than the stored one the rectangle was measured from, so clipping is
    // rarely needed, and it is dear enough to skip when it is not.
    const bool clip = !bounds.contains(cells);
    if (clip) {
        m_painter.save();
        m_painter.setClipRect(bounds, Qt::IntersectClip);
    }
    if (brush().style == CanvasStyle::Solid)
        m_painter.fillRect(cells, colorFromRef(brush().color));
    layout.Draw(m_painter, bounds.topLeft(), colorFromRef(fontColor()));
    if (clip)
        m_painter.restore();
}

void QPainterCanvas::copyTransparent(const CanvasRect& dest, const QImage& image, const CanvasRect& src,
                                     ColorValue transparent)
{
    if (image.isNull() || src.right <= src.left || src.bottom <= src.top || dest.right <= dest.left
        || dest.bottom <= dest.top)
        return;
    QImage part = image.copy(PixelRect(src)).convertToFormat(QImage::Format_ARGB32);
    const QRgb key = colorFromRef(transparent).rgb() & 0xFFFFFFu;
    const bool solid = brush().style == CanvasStyle::Solid;
    const QRgb fill = colorFromRef(brush().color).rgb();
    for (int y = 0; y < part.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(part.scanLine(y));
        for (int x = 0; x < part.width(); ++x) {
            if ((row[x] & 0xFFFFFFu) == key)
                row[x] = solid ? fill : 0u;
        }
    }
    m_painter.drawImage(PixelRect(dest), part);
}

} // namespace qm
