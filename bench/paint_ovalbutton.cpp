// Painting one 64 x 31 oval button against painting a push button of the same size, both into a
// QImage in the same run: once as the bare drawing (our Paint on a canvas, the style's push-button
// drawing) and once through each widget's whole paint path (QWidget::render).
#include "platform/syscolor.h"
#include "ui/qpaintercanvas.h"
#include "ui/tovalbutton.h"

#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <benchmark/benchmark.h>

namespace {

constexpr QSize kButtonSize(64, 31);

void setUpOval(qm::TOvalButton& button)
{
    button.resize(kButtonSize);
    button.SetBevelWidth(2);
    button.SetCaption(QStringLiteral("Close"));
    button.SetFont(qm::designFont(QStringLiteral("MS Sans Serif"), 11, true),
                   qm::SystemColorValue(qm::kColorWindowText));
}

void setUpPush(QPushButton& button)
{
    button.resize(kButtonSize);
    button.setFont(qm::designFont(QStringLiteral("MS Sans Serif"), 11, true));
}

void BM_OvalButtonPaint(benchmark::State& state)
{
    qm::TOvalButton button;
    setUpOval(button);
    QImage image(kButtonSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        qm::QPainterCanvas canvas(painter);
        button.Paint(canvas);
    }
    benchmark::DoNotOptimize(image.constBits());
}
BENCHMARK(BM_OvalButtonPaint);

void BM_PushButtonStyleDraw(benchmark::State& state)
{
    QPushButton button(QStringLiteral("Close"));
    setUpPush(button);
    QImage image(kButtonSize, QImage::Format_ARGB32_Premultiplied);
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    option.rect = QRect(QPoint(0, 0), kButtonSize);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setFont(button.font());
        button.style()->drawControl(QStyle::CE_PushButton, &option, &painter, &button);
    }
    benchmark::DoNotOptimize(image.constBits());
}
BENCHMARK(BM_PushButtonStyleDraw);

void BM_OvalButtonRender(benchmark::State& state)
{
    qm::TOvalButton button;
    setUpOval(button);
    QImage image(kButtonSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state)
        button.render(&image);
    benchmark::DoNotOptimize(image.constBits());
}
BENCHMARK(BM_OvalButtonRender);

void BM_PushButtonRender(benchmark::State& state)
{
    QPushButton button(QStringLiteral("Close"));
    setUpPush(button);
    QImage image(kButtonSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state)
        button.render(&image);
    benchmark::DoNotOptimize(image.constBits());
}
BENCHMARK(BM_PushButtonRender);

} // namespace
