#include "ui/qpaintercanvas.h"

#include "platform/syscolor.h"
#include "ui/captionlayout.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <cmath>
#include <cstdlib>
#include <map>
#include <numbers>
#include <tuple>
#include <utility>
#include <vector>

namespace qm {
namespace {

// Larger boxes than this are not worked out pixel by pixel (their masks would be large).
constexpr int kMaxPixelArcSide = 2048;

// Degrees counter-clockwise from three o'clock, in 0..360, of the radial from centre through p.
double polarAngle(QPointF centre, QPointF p)
{
    const double degrees = std::atan2(centre.y() - p.y(), p.x() - centre.x()) * 180.0 / std::numbers::pi;
    return degrees < 0 ? degrees + 360.0 : degrees;
}

// Qt's arcs take the ellipse's parametric angle: the one at which the ellipse meets the radial
// through p, in 0..360.
double parametricAngle(const CanvasRect& box, QPointF centre, QPoint p)
{
    const double rx = (box.right - box.left - 1) / 2.0;
    const double ry = (box.bottom - box.top - 1) / 2.0;
    return polarAngle({}, {(p.x() - centre.x()) / rx, (p.y() - centre.y()) / ry});
}

// The geometry a box's pixels stand for when stroked with a one-pixel aliased pen: the outline runs
// through the centres of the box's first and last pixel columns and rows.
QRectF EllipseStrokeRect(const CanvasRect& box)
{
    return QRectF(box.left, box.top, box.right - box.left - 1, box.bottom - box.top - 1);
}

QRect PixelRect(const CanvasRect& box) { return QRect(box.left, box.top, box.right - box.left, box.bottom - box.top); }

// How far counter-clockwise an angle lies from start, both in degrees, in 0..360.
double SweepFrom(double start, double angle)
{
    const double d = std::fmod(angle - start, 360.0);
    return d < 0 ? d + 360.0 : d;
}

// Outlines kept for reuse, by box size; a button needs one per ring.
constexpr std::size_t kMaxCachedOutlines = 64;
// Arcs kept for reuse: a button paints the same arcs on every paint, four with the About dialog's
// bevel, so the pixels of an arc are worked out once.
constexpr std::size_t kMaxCachedArcs = 256;

struct OutlinePixel {
    QPoint offset; // from the box's top-left pixel
    double angle;
};

// A copy of the kept outline: a reference would dangle once the cache is cleared.
std::vector<OutlinePixel> outlinePixels(int width, int height)
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
        painter.drawEllipse(EllipseStrokeRect({0, 0, width, height}));
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

struct ArcKey {
    CanvasRect box;
    QPoint start;
    QPoint end;

    bool operator<(const ArcKey& other) const
    {
        const auto tie = [](const ArcKey& k) {
            return std::make_tuple(k.box.left, k.box.top, k.box.right, k.box.bottom, k.start.x(), k.start.y(),
                                   k.end.x(), k.end.y());
        };
        return tie(*this) < tie(other);
    }
};

// The outline pixels of the ellipse inscribed in box from the radial through start counter-clockwise
// to the radial through end (the whole outline when both name the same radial), as horizontal runs
// one pixel high: an arc covers exactly the pixels of the full outline between its radials, so
// concentric rings nest the way the outline does. Worked out once per box and radials and kept.
std::vector<QRect> ArcRuns(const CanvasRect& box, QPoint start, QPoint end)
{
    const ArcKey key{box, start, end};
    static std::map<ArcKey, std::vector<QRect>> cache;
    if (const auto found = cache.find(key); found != cache.end())
        return found->second;
    if (cache.size() >= kMaxCachedArcs)
        cache.clear();

    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    // Boxes here are in pixel indexes: the outline's centre is halfway between its first and last
    // pixel.
    const QPointF centre(box.left + (width - 1) / 2.0, box.top + (height - 1) / 2.0);
    const double from = polarAngle(centre, start);
    double span = SweepFrom(from, polarAngle(centre, end));
    if (span == 0.0) // the same radial twice draws the whole ellipse
        span = 360.0;
    // Outline pixels come row by row, left to right, so neighbours in a row are neighbours here.
    std::vector<QRect> runs;
    for (const OutlinePixel& pixel : outlinePixels(width, height)) {
        if (SweepFrom(from, pixel.angle) > span)
            continue;
        const QPoint at = pixel.offset + QPoint(box.left, box.top);
        if (!runs.empty() && runs.back().top() == at.y() && runs.back().left() + runs.back().width() == at.x())
            runs.back().setWidth(runs.back().width() + 1);
        else
            runs.emplace_back(at, QSize(1, 1));
    }
    return cache.emplace(key, std::move(runs)).first->second;
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
