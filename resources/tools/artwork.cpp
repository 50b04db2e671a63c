#include "resources/tools/artwork.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <vector>

namespace qm::tools {
namespace {

// Colours of the product: ink navy, quill cream, nib gold.
const QColor kNavyTop(0x2A, 0x3B, 0x66);
const QColor kNavyBottom(0x17, 0x21, 0x3A);
const QColor kBannerRight(0x2B, 0x4C, 0x6F);
const QColor kCreamLight(0xFB, 0xF6, 0xEA);
const QColor kCreamDark(0xE9, 0xDD, 0xC3);
const QColor kRachis(0xC7, 0xB2, 0x86);
const QColor kGold(0xE0, 0xA5, 0x26);
const QColor kGoldLight(0xF2, 0xC6, 0x5A);

// One shape of the application mark: a path filled with a colour or a top-to-bottom gradient, and an
// optional outline.
struct Shape {
    QPainterPath path;
    QColor fillTop;
    QColor fillBottom; // invalid: solid fill
    QColor stroke;     // invalid: no outline
    qreal strokeWidth = 0;
};

QPainterPath quillVane()
{
    QPainterPath p;
    p.moveTo(30, 74);
    p.cubicTo(26, 50, 48, 22, 84, 12);
    p.cubicTo(78, 36, 60, 62, 30, 74);
    // Two splits between the barbs make it a feather rather than a leaf.
    QPainterPath splits;
    splits.addPolygon(QPolygonF({QPointF(71, 49), QPointF(64, 52.5), QPointF(58.5, 44.5)}));
    splits.closeSubpath();
    splits.addPolygon(QPolygonF({QPointF(42.5, 30.5), QPointF(49.5, 26), QPointF(52.5, 36)}));
    splits.closeSubpath();
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

std::vector<Shape> markShapes()
{
    QPainterPath background;
    background.addRoundedRect(QRectF(4, 4, 92, 92), 20, 20);
    return {
        {background, kNavyTop, kNavyBottom, {}, 0},
        {inkStroke(), {}, {}, kGold, 4.5},
        {quillVane(), kCreamLight, kCreamDark, {}, 0},
        {quillRachis(), {}, {}, kRachis, 2.4},
        {quillNib(), kGoldLight, kGold, {}, 0},
    };
}

void drawShapes(QPainter& painter, const std::vector<Shape>& shapes)
{
    for (const Shape& s : shapes) {
        if (s.fillTop.isValid()) {
            if (s.fillBottom.isValid()) {
                QLinearGradient gradient(0, 0, 0, 1);
                gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
                gradient.setColorAt(0, s.fillTop);
                gradient.setColorAt(1, s.fillBottom);
                painter.fillPath(s.path, gradient);
            } else {
                painter.fillPath(s.path, s.fillTop);
            }
        }
        if (s.stroke.isValid())
            painter.strokePath(s.path, QPen(s.stroke, s.strokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
}

QString svgNumber(qreal v) { return QString::number(v, 'g', 6); }

QString svgPathData(const QPainterPath& path)
{
    QString d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QString point = svgNumber(e.x) + QLatin1Char(' ') + svgNumber(e.y);
        switch (e.type) {
        case QPainterPath::MoveToElement: d += QStringLiteral("M") + point + QLatin1Char(' '); break;
        case QPainterPath::LineToElement: d += QStringLiteral("L") + point + QLatin1Char(' '); break;
        case QPainterPath::CurveToElement: d += QStringLiteral("C") + point + QLatin1Char(' '); break;
        case QPainterPath::CurveToDataElement: d += point + QLatin1Char(' '); break;
        }
    }
    return d.trimmed();
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

// Text centred on x, standing on the baseline y.
void drawCentred(QPainter& painter, qreal x, qreal y, const QString& text)
{
    const qreal width = QFontMetricsF(painter.font()).horizontalAdvance(text);
    painter.drawText(QPointF(x - width / 2, y), text);
}

} // namespace

QImage applicationIcon(int size)
{
    QImage image = transparentCanvas(size, size);
    QPainter painter(&image);
    beginIcon(painter, 100, size);
    drawShapes(painter, markShapes());
    return image;
}

QString applicationIconSvg()
{
    QString svg = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"128\" height=\"128\" viewBox=\"0 0 100 100\">\n"
                                 "  <title>Quillmark</title>\n  <defs>\n");
    const std::vector<Shape> shapes = markShapes();
    QString body;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const Shape& s = shapes[i];
        QString fill = QStringLiteral("none");
        if (s.fillTop.isValid() && s.fillBottom.isValid()) {
            const QString id = QStringLiteral("g%1").arg(i);
            svg += QStringLiteral("    <linearGradient id=\"%1\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
                                  "<stop offset=\"0\" stop-color=\"%2\"/><stop offset=\"1\" stop-color=\"%3\"/>"
                                  "</linearGradient>\n")
                       .arg(id, s.fillTop.name(), s.fillBottom.name());
            fill = QStringLiteral("url(#%1)").arg(id);
        } else if (s.fillTop.isValid()) {
            fill = s.fillTop.name();
        }
        body += QStringLiteral("  <path d=\"%1\" fill=\"%2\"").arg(svgPathData(s.path), fill);
        if (s.stroke.isValid())
            body += QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\" stroke-linecap=\"round\" stroke-linejoin=\"round\"")
                        .arg(s.stroke.name(), svgNumber(s.strokeWidth));
        body += QStringLiteral("/>\n");
    }
    return svg + QStringLiteral("  </defs>\n") + body + QStringLiteral("</svg>\n");
}

QImage banner()
{
    QImage image(500, 65, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 500, 0);
    sky.setColorAt(0, kNavyBottom);
    sky.setColorAt(1, kBannerRight);
    painter.fillRect(image.rect(), sky);

    painter.save();
    painter.translate(7, 5);
    painter.scale(0.53, 0.53);
    drawShapes(painter, markShapes());
    painter.restore();

    painter.setPen(kCreamLight);
    painter.setFont(font("DejaVu Serif", 31, true));
    painter.drawText(QPointF(70, 37), QStringLiteral("Quillmark"));
    painter.setPen(kGoldLight);
    painter.setFont(font("DejaVu Sans", 12, false));
    painter.drawText(QPointF(72, 54), QStringLiteral("Headline ideas, gathered and kept"));

    // A small suggestion list, the program's own view of things: ticked and unticked headlines.
    const QRectF card(322, 9, 158, 46);
    painter.setPen(QPen(QColor(255, 255, 255, 60), 1));
    painter.setBrush(QColor(255, 255, 255, 22));
    painter.drawRoundedRect(card, 5, 5);
    const int widths[] = {108, 84, 96};
    const bool ticked[] = {true, false, true};
    for (int row = 0; row < 3; ++row) {
        const qreal y = card.top() + 8 + row * 12;
        const QRectF box(card.left() + 9, y, 8, 8);
        painter.setPen(QPen(kCreamDark, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(box, 1.5, 1.5);
        if (ticked[row]) {
            QPainterPath tick;
            tick.moveTo(box.left() + 1.5, box.top() + 4.2);
            tick.lineTo(box.left() + 3.6, box.top() + 6.4);
            tick.lineTo(box.right() + 1.5, box.top() - 1);
            painter.strokePath(tick, QPen(kGoldLight, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xF6, 0xEE, 0xDD, ticked[row] ? 190 : 110));
        painter.drawRoundedRect(QRectF(box.right() + 8, y + 2, widths[row], 4), 2, 2);
    }

    painter.fillRect(QRect(0, 62, 500, 3), kGold);
    return image;
}

QImage logo()
{
    QImage image(98, 130, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient paper(0, 0, 0, 130);
    paper.setColorAt(0, QColor(0xFB, 0xF7, 0xEE));
    paper.setColorAt(1, QColor(0xEF, 0xE5, 0xD0));
    painter.fillRect(image.rect(), paper);
    painter.setPen(QPen(QColor(0xC9, 0xB4, 0x8A), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(0.5, 0.5, 97, 129));

    // The quill stands in the inkwell, its nib dipped below the rim.
    painter.save();
    painter.translate(47, 69);
    painter.scale(0.66, 0.66);
    painter.translate(-17, -91);
    QLinearGradient vane(0, 12, 0, 74);
    vane.setColorAt(0, Qt::white);
    vane.setColorAt(1, QColor(0xE6, 0xD9, 0xBC));
    painter.fillPath(quillVane(), vane);
    painter.strokePath(quillVane(), QPen(QColor(0x8A, 0x76, 0x50), 1.6));
    painter.strokePath(quillRachis(), QPen(QColor(0xA8, 0x93, 0x6A), 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.fillPath(quillNib(), kGold);
    painter.restore();

    QLinearGradient ink(0, 62, 0, 96);
    ink.setColorAt(0, kNavyTop);
    ink.setColorAt(1, kNavyBottom);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawRoundedRect(QRectF(39, 64, 20, 10), 2, 2);
    painter.drawRoundedRect(QRectF(27, 72, 44, 25), 9, 9);
    painter.setBrush(QColor(0x3A, 0x4E, 0x80));
    painter.drawRoundedRect(QRectF(36, 61.5, 26, 4), 2, 2);
    painter.setBrush(QColor(255, 255, 255, 70));
    painter.drawEllipse(QRectF(32, 76, 8, 12));

    painter.setPen(QColor(0x1F, 0x2A, 0x44));
    painter.setFont(font("DejaVu Serif", 15, true));
    drawCentred(painter, 49, 113, QStringLiteral("Quillmark"));
    painter.fillRect(QRectF(24, 116, 50, 1.5), kGold);
    painter.setPen(QColor(0x6B, 0x62, 0x50));
    painter.setFont(font("DejaVu Sans", 8, false));
    drawCentred(painter, 49, 126, QStringLiteral("headline ideas"));
    return image;
}

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
        vane.setColorAt(1, kCreamDark);
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
        QPainterPath door;
        door.moveTo(1.5, 1.5);
        door.lineTo(6.5, 3);
        door.lineTo(6.5, 15.5);
        door.lineTo(1.5, 14.5);
        door.closeSubpath();
        p.setPen(QPen(QColor(0x5A, 0x36, 0x16), 1));
        p.setBrush(QColor(0x9C, 0x62, 0x2E));
        p.drawPath(door);
        p.setPen(Qt::NoPen);
        p.setBrush(kGoldLight);
        p.drawEllipse(QPointF(5.3, 9), 0.8, 0.8);
        QPainterPath arrow;
        arrow.moveTo(8.5, 7);
        arrow.lineTo(11.5, 7);
        arrow.lineTo(11.5, 4.5);
        arrow.lineTo(15.5, 8.5);
        arrow.lineTo(11.5, 12.5);
        arrow.lineTo(11.5, 10);
        arrow.lineTo(8.5, 10);
        arrow.closeSubpath();
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
        QPainterPath back;
        back.moveTo(1, 3);
        back.lineTo(5.5, 3);
        back.lineTo(7, 4.5);
        back.lineTo(13.5, 4.5);
        back.lineTo(13.5, 13.5);
        back.lineTo(1, 13.5);
        back.closeSubpath();
        p.setPen(QPen(QColor(0x8C, 0x5E, 0x08), 1));
        p.setBrush(QColor(0xD9, 0x9A, 0x1E));
        p.drawPath(back);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3, 5.5, 9, 4));
        QPainterPath flap;
        flap.moveTo(3.5, 7.5);
        flap.lineTo(15.5, 7.5);
        flap.lineTo(13, 13.5);
        flap.lineTo(1, 13.5);
        flap.closeSubpath();
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
