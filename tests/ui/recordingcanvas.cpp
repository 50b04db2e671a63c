#include "tests/ui/recordingcanvas.h"

namespace qm::test {

QSize RecordingCanvas::textExtent(const QString& text) const
{
    return {static_cast<int>(text.size()) * kCharWidth, kLineHeight};
}

RecordingCanvas::Call RecordingCanvas::make(Kind kind) const
{
    Call call{};
    call.kind = kind;
    call.pen = pen();
    call.brush = brush();
    call.fontColor = fontColor();
    return call;
}

void RecordingCanvas::ellipse(const CanvasRect& box)
{
    Call call = make(Kind::Ellipse);
    call.box = box;
    m_calls.push_back(call);
}

void RecordingCanvas::arc(const CanvasRect& box, QPoint start, QPoint end)
{
    Call call = make(Kind::Arc);
    call.box = box;
    call.from = start;
    call.to = end;
    m_calls.push_back(call);
}

void RecordingCanvas::line(QPoint from, QPoint to)
{
    Call call = make(Kind::Line);
    call.from = from;
    call.to = to;
    m_calls.push_back(call);
}

void RecordingCanvas::fillRect(const CanvasRect& rect)
{
    Call call = make(Kind::FillRect);
    call.box = rect;
    m_calls.push_back(call);
}

void RecordingCanvas::drawText(const QString& text, const CanvasRect& rect)
{
    Call call = make(Kind::Text);
    call.box = rect;
    call.text = text;
    m_calls.push_back(call);
}

void RecordingCanvas::copyTransparent(const CanvasRect& dest, const QImage& /*image*/, const CanvasRect& src,
                                      ColorValue transparent)
{
    Call call = make(Kind::Copy);
    call.box = dest;
    call.src = src;
    call.transparent = transparent;
    m_calls.push_back(call);
}

std::vector<RecordingCanvas::Call> RecordingCanvas::of(Kind kind) const
{
    std::vector<Call> found;
    for (const Call& call : m_calls)
        if (call.kind == kind)
            found.push_back(call);
    return found;
}

} // namespace qm::test
