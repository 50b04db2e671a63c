#include "ui/qpaintercanvas.h"

#include "platform/syscolor.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <cmath>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>
#include <numbers>

namespace qm {
namespace {

// The geometry a box's pixels stand for when stroked with a one-pixel aliased pen: the outline runs
// through the centres of the first and last pixel columns and rows of the box.
QRectF strokeRect(const CanvasRect& box)
{
    return QRectF(box.left, box.top, box.right - box.left - 1, box.bottom - box.top - 1);
}

// Degrees counter-clockwise from three o'clock, in 0..360, of the radial from centre through p.
double polarAngle(QPointF centre, QPointF p)
{
    const double degrees = std::atan2(centre.y() - p.y(), p.x() - centre.x()) * 180.0 / std::numbers::pi;
    return degrees < 0 ? degrees + 360.0 : degrees;
}

// Arcs are drawn as the pixels of the full outline that lie between the two radials, so that an arc
// covers exactly the pixels the ellipse's own outline would. Larger boxes than this fall back to
// Qt's arc, whose pixels may differ by one from the outline's.
constexpr int kMaxPixelArcSide = 2048;
// Outlines kept for reuse, by box size; a button needs one per ring.
constexpr std::size_t kMaxCachedOutlines = 64;

struct OutlinePixel {
    QPoint offset; // from the box's top-left pixel
    double angle;
};

const std::vector<OutlinePixel>& outlinePixels(int width, int height)
{
    static std::map<std::pair<int, int>, std::vector<OutlinePixel>> cache;
    const auto key = std::make_pair(width, height);
    if (const auto found = cache.find(key); found != cache.end())
        return found->second;
    if (cache.size() >= kMaxCachedOutlines)
        cache.clear();

    QImage mask(width, height, QImage::Format_RGB32);
    mask.fill(Qt::white);
    {
        QPainter painter(&mask);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(strokeRect({0, 0, width, height}));
    }
    std::vector<OutlinePixel> pixels;
    const QPointF centre((width - 1) / 2.0, (height - 1) / 2.0);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < width; ++x)
            if ((row[x] & 0xFFFFFFu) == 0)
                pixels.push_back({QPoint(x, y), polarAngle(centre, QPointF(x, y))});
    }
    return cache.emplace(key, std::move(pixels)).first->second;
}

// Qt's arcs take the ellipse's parametric angle: the one at which the ellipse meets the radial
// through p, in 0..360.
double parametricAngle(const CanvasRect& box, QPointF centre, QPoint p)
{
    const double rx = (box.right - box.left - 1) / 2.0;
    const double ry = (box.bottom - box.top - 1) / 2.0;
    const double degrees = std::atan2((centre.y() - p.y()) / ry, (p.x() - centre.x()) / rx) * 180.0 / std::numbers::pi;
    return degrees < 0 ? degrees + 360.0 : degrees;
}

// How far counter-clockwise angle lies from start, in 0..360.
double sweepFrom(double start, double angle)
{
    const double d = std::fmod(angle - start, 360.0);
    return d < 0 ? d + 360.0 : d;
}

} // namespace

QPainterCanvas::QPainterCanvas(QPainter& painter)
    : m_painter(painter)
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
}

QSize QPainterCanvas::textExtent(const QString& text) const
{
    const QFontMetrics metrics(font(), m_painter.device());
    return {metrics.horizontalAdvance(text), metrics.height()};
}

void QPainterCanvas::applyPen()
{
    if (pen().style == CanvasStyle::Clear) {
        m_painter.setPen(Qt::NoPen);
        return;
    }
    QPen qpen(colorFromRef(pen().color));
    qpen.setWidth(1);
    m_painter.setPen(qpen);
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
    m_painter.drawEllipse(strokeRect(box));
}

void QPainterCanvas::arc(const CanvasRect& box, QPoint start, QPoint end)
{
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    if (pen().style == CanvasStyle::Clear || width < 2 || height < 2)
        return;
    // Boxes here are in pixel indexes: the outline's centre is halfway between its first and last
    // pixel.
    const QPointF centre(box.left + (width - 1) / 2.0, box.top + (height - 1) / 2.0);
    const double from = polarAngle(centre, start);
    double span = sweepFrom(from, polarAngle(centre, end));
    if (span == 0.0) // the same radial twice draws the whole ellipse
        span = 360.0;
    applyPen();
    m_painter.setBrush(Qt::NoBrush);

    if (width > kMaxPixelArcSide || height > kMaxPixelArcSide) {
        const double qtFrom = parametricAngle(box, centre, start);
        double qtSpan = sweepFrom(qtFrom, parametricAngle(box, centre, end));
        if (qtSpan == 0.0)
            qtSpan = 360.0;
        m_painter.drawArc(strokeRect(box), static_cast<int>(std::lround(qtFrom * 16)),
                          static_cast<int>(std::lround(qtSpan * 16)));
        return;
    }
    QPolygon points;
    for (const OutlinePixel& pixel : outlinePixels(width, height))
        if (sweepFrom(from, pixel.angle) <= span)
            points.append(pixel.offset + QPoint(box.left, box.top));
    m_painter.drawPoints(points);
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
    m_painter.fillRect(QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top),
                       colorFromRef(brush().color));
}

void QPainterCanvas::drawText(const QString& text, const CanvasRect& rect)
{
    if (text.isEmpty() || rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    const QRect bounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    constexpr int kFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic;
    m_painter.save();
    m_painter.setClipRect(bounds, Qt::IntersectClip);
    m_painter.setFont(font());
    if (brush().style == CanvasStyle::Solid) {
        const QFontMetrics metrics(font(), m_painter.device());
        const QSize cells = metrics.size(kFlags, text);
        m_painter.fillRect(QRect(bounds.topLeft(), cells), colorFromRef(brush().color));
    }
    m_painter.setPen(colorFromRef(fontColor()));
    m_painter.drawText(bounds, kFlags, text);
    m_painter.restore();
}

void QPainterCanvas::copyTransparent(const CanvasRect& dest, const QImage& image, const CanvasRect& src,
                                     ColorValue transparent)
{
    if (image.isNull() || src.right <= src.left || src.bottom <= src.top || dest.right <= dest.left
        || dest.bottom <= dest.top)
        return;
    QImage part = image.copy(QRect(src.left, src.top, src.right - src.left, src.bottom - src.top))
                      .convertToFormat(QImage::Format_ARGB32);
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
    m_painter.drawImage(QRect(dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top), part);
}

} // namespace qm
