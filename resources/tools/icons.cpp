#include "resources/tools/artwork.h"
#include "resources/tools/shapes.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QRadialGradient>

namespace qm::tools {

QImage menuIcon(int index)
{
    QImage image = transparentCanvas(16, 16);
    QPainter p(&image);
    beginIcon(p, 16, 16);
    const QPen outline(QColor(0x40, 0x40, 0x48), 1);
    switch (index) {
    case 0: { // a quill
        p.scale(0.16, 0.16);
        p.translate(0, 4);
        QLinearGradient vane(0, 12, 0, 74);
        vane.setColorAt(0, Qt::white);
        vane.setColorAt(1, QColor(0xD9, 0xC7, 0x9E));
        p.fillPath(quillVane(), vane);
        p.strokePath(quillVane(), QPen(QColor(0x8A, 0x76, 0x50), 4));
        p.strokePath(quillRachis(), QPen(QColor(0x7A, 0x66, 0x40), 5, Qt::SolidLine, Qt::RoundCap));
        p.fillPath(quillNib(), kNavyTop);
        break;
    }
    case 1: { // exit: an open door and an arrow leaving through it
        p.setPen(outline);
        p.setBrush(QColor(0xD8, 0xD8, 0xDC));
        p.drawRect(QRectF(1.5, 1.5, 8, 13));
        const QPainterPath door = closedPolygon({{1.5, 1.5}, {6.5, 3}, {6.5, 15.5}, {1.5, 14.5}});
        p.setPen(QPen(QColor(0x5A, 0x36, 0x16), 1));
        p.setBrush(QColor(0x9C, 0x62, 0x2E));
        p.drawPath(door);
        p.setPen(Qt::NoPen);
        p.setBrush(kGoldLight);
        p.drawEllipse(QPointF(5.3, 9), 0.8, 0.8);
        const QPainterPath arrow
            = closedPolygon({{8.5, 7}, {11.5, 7}, {11.5, 4.5}, {15.5, 8.5}, {11.5, 12.5}, {11.5, 10}, {8.5, 10}});
        p.setPen(QPen(QColor(0x1E, 0x6E, 0x2E), 1));
        p.setBrush(QColor(0x3C, 0xB0, 0x52));
        p.drawPath(arrow);
        break;
    }
    case 2: { // save: a disk
        QPainterPath body;
        body.moveTo(1.5, 2.5);
        body.quadTo(1.5, 1.5, 2.5, 1.5);
        body.lineTo(12.5, 1.5);
        body.lineTo(14.5, 3.5);
        body.lineTo(14.5, 13.5);
        body.quadTo(14.5, 14.5, 13.5, 14.5);
        body.lineTo(2.5, 14.5);
        body.quadTo(1.5, 14.5, 1.5, 13.5);
        body.closeSubpath();
        QLinearGradient blue(0, 1, 0, 15);
        blue.setColorAt(0, QColor(0x4A, 0x7F, 0xC8));
        blue.setColorAt(1, QColor(0x27, 0x51, 0x95));
        p.setPen(QPen(QColor(0x1A, 0x35, 0x66), 1));
        p.setBrush(blue);
        p.drawPath(body);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xDD, 0xE2, 0xEA));
        p.drawRect(QRectF(4.5, 2, 7, 4.5));
        p.setBrush(QColor(0x33, 0x3A, 0x48));
        p.drawRect(QRectF(9, 2.7, 1.6, 3));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(3.5, 8.5, 9, 5.5), 0.8, 0.8);
        p.setPen(QPen(QColor(0x9A, 0xA4, 0xB4), 0.8));
        p.drawLine(QPointF(5, 10.3), QPointF(11, 10.3));
        p.drawLine(QPointF(5, 12.2), QPointF(11, 12.2));
        break;
    }
    case 3: { // open: a folder with its flap open
        const QPainterPath back = closedPolygon({{1, 3}, {5.5, 3}, {7, 4.5}, {13.5, 4.5}, {13.5, 13.5}, {1, 13.5}});
        p.setPen(QPen(QColor(0x8C, 0x5E, 0x08), 1));
        p.setBrush(QColor(0xD9, 0x9A, 0x1E));
        p.drawPath(back);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3, 5.5, 9, 4));
        const QPainterPath flap = closedPolygon({{3.5, 7.5}, {15.5, 7.5}, {13, 13.5}, {1, 13.5}});
        QLinearGradient yellow(0, 7, 0, 14);
        yellow.setColorAt(0, QColor(0xFF, 0xD8, 0x66));
        yellow.setColorAt(1, QColor(0xF0, 0xB4, 0x2E));
        p.setPen(QPen(QColor(0x8C, 0x5E, 0x08), 1));
        p.setBrush(yellow);
        p.drawPath(flap);
        break;
    }
    case 4: { // a list
        p.setPen(outline);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 1.5, 11, 13));
        for (int row = 0; row < 3; ++row) {
            const qreal y = 4.8 + row * 3.4;
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x2F, 0x74, 0xC0));
            p.drawEllipse(QPointF(5, y), 1, 1);
            p.setPen(QPen(QColor(0x70, 0x76, 0x80), 1.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(7, y), QPointF(row == 1 ? 10.5 : 11.5, y));
        }
        break;
    }
    case 5: { // website: a globe
        QRadialGradient sea(QPointF(6, 5.5), 8);
        sea.setColorAt(0, QColor(0x7C, 0xC0, 0xF5));
        sea.setColorAt(1, QColor(0x1F, 0x5F, 0xA8));
        p.setPen(QPen(QColor(0x17, 0x46, 0x80), 1));
        p.setBrush(sea);
        p.drawEllipse(QPointF(8, 8), 6.6, 6.6);
        p.setPen(QPen(QColor(0xD6, 0xEC, 0xFF), 0.8));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(8, 8), 2.8, 6.6);
        p.drawLine(QPointF(1.4, 8), QPointF(14.6, 8));
        p.drawArc(QRectF(2, -3, 12, 11), 200 * 16, 140 * 16);
        p.drawArc(QRectF(2, 8, 12, 11), 20 * 16, 140 * 16);
        break;
    }
    case 6: { // about: an information sign
        QRadialGradient blue(QPointF(6, 5), 9);
        blue.setColorAt(0, QColor(0x6A, 0xA8, 0xEE));
        blue.setColorAt(1, QColor(0x1F, 0x5A, 0xAA));
        p.setPen(QPen(QColor(0x16, 0x42, 0x80), 1));
        p.setBrush(blue);
        p.drawEllipse(QPointF(8, 8), 7, 7);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(8, 4.6), 1.3, 1.3);
        p.drawRoundedRect(QRectF(6.9, 6.9, 2.2, 5.8), 0.6, 0.6);
        p.drawRect(QRectF(6, 11.6, 4, 1.1));
        break;
    }
    default: break;
    }
    return image;
}

QImage generateButton()
{
    QImage image = transparentCanvas(24, 24);
    QPainter p(&image);
    beginIcon(p, 24, 24);
    // Rays of an idea.
    p.setPen(QPen(kGold, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 0.8), QPointF(12, 2.2));
    p.drawLine(QPointF(3.6, 4.2), QPointF(4.7, 5.2));
    p.drawLine(QPointF(20.4, 4.2), QPointF(19.3, 5.2));
    p.drawLine(QPointF(1.2, 10.5), QPointF(2.7, 10.5));
    p.drawLine(QPointF(22.8, 10.5), QPointF(21.3, 10.5));
    // The bulb.
    QPainterPath glass;
    glass.moveTo(9, 17);
    glass.cubicTo(9, 14.5, 5.2, 13.5, 5.2, 9.8);
    glass.cubicTo(5.2, 6, 8.2, 3.4, 12, 3.4);
    glass.cubicTo(15.8, 3.4, 18.8, 6, 18.8, 9.8);
    glass.cubicTo(18.8, 13.5, 15, 14.5, 15, 17);
    glass.closeSubpath();
    QRadialGradient light(QPointF(10.5, 8), 9);
    light.setColorAt(0, QColor(0xFF, 0xFB, 0xD6));
    light.setColorAt(0.55, QColor(0xFF, 0xDF, 0x5C));
    light.setColorAt(1, QColor(0xF0, 0xAE, 0x10));
    p.setPen(QPen(QColor(0xA8, 0x74, 0x00), 1));
    p.setBrush(light);
    p.drawPath(glass);
    p.setPen(QPen(QColor(0xC0, 0x84, 0x00), 0.9));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(10.2, 16.6), QPointF(10.2, 12.5), QPointF(11.1, 11.2), QPointF(12, 12.5),
                              QPointF(12.9, 11.2), QPointF(13.8, 12.5), QPointF(13.8, 16.6)}));
    // The screw base.
    QLinearGradient metal(8, 0, 16, 0);
    metal.setColorAt(0, QColor(0x7C, 0x82, 0x8E));
    metal.setColorAt(0.45, QColor(0xE4, 0xE7, 0xEC));
    metal.setColorAt(1, QColor(0x6C, 0x72, 0x7E));
    p.setPen(QPen(QColor(0x4A, 0x50, 0x5A), 0.8));
    p.setBrush(metal);
    p.drawRoundedRect(QRectF(8.8, 17, 6.4, 2.4), 0.8, 0.8);
    p.drawRoundedRect(QRectF(9.2, 19.2, 5.6, 2.2), 0.8, 0.8);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x4A, 0x50, 0x5A));
    p.drawRoundedRect(QRectF(10.4, 21.3, 3.2, 1.6), 0.8, 0.8);
    return image;
}

QImage researchButton()
{
    QImage image = transparentCanvas(22, 23);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A page of headlines behind the glass.
    p.setPen(QPen(QColor(0x70, 0x76, 0x80), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 1.5, 13, 16));
    p.setPen(QPen(QColor(0xA8, 0xAE, 0xB8), 1.1));
    for (int row = 0; row < 4; ++row)
        p.drawLine(QPointF(3.5, 4.5 + row * 3), QPointF(row % 2 ? 10 : 12.5, 4.5 + row * 3));
    // The magnifier.
    p.setPen(QPen(QColor(0x5A, 0x3A, 0x1C), 3.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15.2, 15.6), QPointF(20, 20.8));
    p.setPen(QPen(QColor(0x9C, 0x62, 0x2E), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15.6, 16), QPointF(19.6, 20.4));
    QRadialGradient lens(QPointF(10, 9.5), 6);
    lens.setColorAt(0, QColor(0xE8, 0xF4, 0xFF, 200));
    lens.setColorAt(1, QColor(0x9C, 0xCB, 0xF2, 200));
    p.setPen(QPen(kNavyTop, 2));
    p.setBrush(lens);
    p.drawEllipse(QPointF(11.5, 11.5), 5.2, 5.2);
    p.setPen(QPen(QColor(255, 255, 255, 220), 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(8.3, 8.3, 6.4, 6.4), 100 * 16, 70 * 16);
    return image;
}

QImage cancelButton()
{
    QImage image = transparentCanvas(24, 24);
    QPainter p(&image);
    beginIcon(p, 24, 24);
    QRadialGradient red(QPointF(9, 8), 13);
    red.setColorAt(0, QColor(0xF2, 0x6B, 0x6F));
    red.setColorAt(1, QColor(0xB0, 0x1F, 0x27));
    p.setPen(QPen(QColor(0x86, 0x18, 0x1E), 1));
    p.setBrush(red);
    p.drawEllipse(QPointF(12, 12), 10, 10);
    p.setPen(QPen(Qt::white, 2.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(16, 16));
    p.drawLine(QPointF(16, 8), QPointF(8, 16));
    return image;
}

} // namespace qm::tools
