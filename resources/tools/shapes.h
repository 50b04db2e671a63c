#pragma once

// What the pictures share: the product's colours, the quill, and small drawing helpers.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>

class QPainter;

namespace qm::tools {

// Ink navy, quill cream, nib gold.
inline const QColor kNavyTop(0x2A, 0x3B, 0x66);
inline const QColor kNavyBottom(0x17, 0x21, 0x3A);
inline const QColor kBannerRight(0x2B, 0x4C, 0x6F);
inline const QColor kCreamLight(0xFB, 0xF6, 0xEA);
inline const QColor kCreamDark(0xE9, 0xDD, 0xC3);
inline const QColor kRachis(0xC7, 0xB2, 0x86);
inline const QColor kGold(0xE0, 0xA5, 0x26);
inline const QColor kGoldLight(0xF2, 0xC6, 0x5A);

// The quill on a 100-unit grid: the nib at the lower left, the tip at the upper right.
QPainterPath quillVane();
QPainterPath quillRachis();
QPainterPath quillNib();
QPainterPath inkStroke();

// The outline through points, closed back to the first.
QPainterPath closedPolygon(const QPolygonF& points);

QImage transparentCanvas(int width, int height);
// Antialiased drawing on a grid of the given size scaled to size pixels.
void beginIcon(QPainter& painter, qreal grid, int size);
QFont font(const char* family, int pixelSize, bool bold);
// Text centred on x, standing on the baseline y.
void drawCentred(QPainter& painter, qreal x, qreal y, const QString& text);

} // namespace qm::tools
