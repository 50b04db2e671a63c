#include "resources/tools/shapes.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>

namespace qm::tools {

QPainterPath quillVane()
{
    QPainterPath p;
    p.moveTo(30, 74);
    p.cubicTo(26, 50, 48, 22, 84, 12);
    p.cubicTo(78, 36, 60, 62, 30, 74);
    // Two splits between the barbs make it a feather rather than a leaf.
    QPainterPath splits = closedPolygon({{71, 49}, {64, 52.5}, {58.5, 44.5}});
    splits.addPath(closedPolygon({{42.5, 30.5}, {49.5, 26}, {52.5, 36}}));
    return p.subtracted(splits);
}

QPainterPath quillRachis()
{
    QPainterPath p;
    p.moveTo(24, 80);
    p.quadTo(50, 50, 82, 15);
    return p;
}

QPainterPath quillNib()
{
    QPainterPath p;
    p.moveTo(27, 71);
    p.lineTo(34, 77);
    p.lineTo(16, 92);
    p.closeSubpath();
    return p;
}

QPainterPath inkStroke()
{
    QPainterPath p;
    p.moveTo(18, 91);
    p.cubicTo(38, 85, 60, 94, 86, 85);
    return p;
}

QPainterPath closedPolygon(const QPolygonF& points)
{
    QPainterPath path;
    path.addPolygon(points);
    path.closeSubpath();
    return path;
}

QImage transparentCanvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void beginIcon(QPainter& painter, qreal grid, int size)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / grid, size / grid);
}

QFont font(const char* family, int pixelSize, bool bold)
{
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

void drawCentred(QPainter& painter, qreal x, qreal y, const QString& text)
{
    const qreal width = QFontMetricsF(painter.font()).horizontalAdvance(text);
    painter.drawText(QPointF(x - width / 2, y), text);
}

} // namespace qm::tools
