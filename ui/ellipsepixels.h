#pragma once

// The pixels of elliptic outlines as a one-pixel aliased pen draws them, and arcs cut from those
// outlines between two radials, so that an arc covers exactly the pixels of the full outline that
// lie between its radials and concentric rings nest the way the outline does.

#include "ui/canvas.h"

#include <QRect>
#include <QRectF>
#include <vector>

namespace qm {

// Larger boxes than this are not worked out pixel by pixel (their masks would be large).
inline constexpr int kMaxPixelArcSide = 2048;

// The geometry a box's pixels stand for when stroked with a one-pixel aliased pen: the outline runs
// through the centres of the box's first and last pixel columns and rows.
QRectF EllipseStrokeRect(const CanvasRect& box);

// The pixels of box as a QRect.
QRect PixelRect(const CanvasRect& box);

// How far counter-clockwise an angle lies from start, both in degrees, in 0..360.
double SweepFrom(double start, double angle);

// The outline pixels of the ellipse inscribed in box from the radial through start counter-clockwise
// to the radial through end (the whole outline when both name the same radial), as horizontal runs
// one pixel high. Worked out once per box and radials and kept; box sides at most kMaxPixelArcSide.
std::vector<QRect> ArcRuns(const CanvasRect& box, QPoint start, QPoint end);

} // namespace qm
