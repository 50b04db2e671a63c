#include "ui/ellipsepixels.h"

#include <QImage>
#include <QPainter>
#include <cmath>
#include <map>
#include <numbers>
#include <tuple>
#include <utility>

namespace qm {
namespace {

// Degrees counter-clockwise from three o'clock, in 0..360, of the radial from centre through p.
double polarAngle(QPointF centre, QPointF p)
{
    const double degrees = std::atan2(centre.y() - p.y(), p.x() - centre.x()) * 180.0 / std::numbers::pi;
    return degrees < 0 ? degrees + 360.0 : degrees;
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

} // namespace

QRectF EllipseStrokeRect(const CanvasRect& box)
{
    return QRectF(box.left, box.top, box.right - box.left - 1, box.bottom - box.top - 1);
}

QRect PixelRect(const CanvasRect& box) { return QRect(box.left, box.top, box.right - box.left, box.bottom - box.top); }

double SweepFrom(double start, double angle)
{
    const double d = std::fmod(angle - start, 360.0);
    return d < 0 ? d + 360.0 : d;
}

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

} // namespace qm
