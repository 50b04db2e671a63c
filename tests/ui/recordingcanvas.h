#pragma once

#include "ui/canvas.h"

#include <vector>

namespace qm::test {

// A canvas that draws nothing and records every drawing call with the pen, brush and font colour in
// force at the time. Text measures kCharWidth per character and kLineHeight high, so placement
// can be checked without depending on the fonts installed.
class RecordingCanvas final : public Canvas {
public:
    static constexpr int kCharWidth = 6;
    static constexpr int kLineHeight = 13;

    enum class Kind { Ellipse, Arc, Line, FillRect, Text, Copy };

    struct Call {
        Kind kind;
        CanvasRect box; // ellipse and arc box, fill and text rectangle, copy destination
        QPoint from;    // arc start radial point, line start
        QPoint to;      // arc end radial point, line end
        CanvasPen pen;
        CanvasBrush brush;
        ColorValue fontColor = 0;
        QString text;
        CanvasRect src; // copy source
        ColorValue transparent = 0;
    };

    QSize textExtent(const QString& text) const override;
    void ellipse(const CanvasRect& box) override;
    void arc(const CanvasRect& box, QPoint start, QPoint end) override;
    void fillRect(const CanvasRect& rect) override;
    void drawText(const QString& text, const CanvasRect& rect) override;
    void copyTransparent(const CanvasRect& dest, const QImage& image, const CanvasRect& src,
                         ColorValue transparent) override;

    const std::vector<Call>& calls() const { return m_calls; }
    std::vector<Call> of(Kind kind) const;

protected:
    void line(QPoint from, QPoint to) override;

private:
    Call make(Kind kind) const;

    std::vector<Call> m_calls;
};

} // namespace qm::test
