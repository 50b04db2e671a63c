#include "resources/tools/artwork.h"
#include "resources/tools/shapes.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <vector>

namespace qm::tools {
namespace {

// One shape of the application mark: a path filled with a colour or a top-to-bottom gradient, and an
// optional outline.
struct Shape {
    QPainterPath path;
    QColor fillTop;
    QColor fillBottom; // invalid: solid fill
    QColor stroke;     // invalid: no outline
    qreal strokeWidth = 0;
};

std::vector<Shape> markShapes()
{
    QPainterPath background;
    background.addRoundedRect(QRectF(4, 4, 92, 92), 20, 20);
    return {
        {background, kNavyTop, kNavyBottom, {}, 0},    {inkStroke(), {}, {}, kGold, 4.5},
        {quillVane(), kCreamLight, kCreamDark, {}, 0}, {quillRachis(), {}, {}, kRachis, 2.4},
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
    QString svg = QStringLiteral(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"128\" height=\"128\" viewBox=\"0 0 100 100\">\n"
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
            body += QStringLiteral(
                        " stroke=\"%1\" stroke-width=\"%2\" stroke-linecap=\"round\" stroke-linejoin=\"round\"")
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

} // namespace qm::tools
