#include "ui/bevelpanel.h"

#include "platform/syscolor.h"

#include <QPainter>

namespace qm {
namespace {

// One bevel ring inside rect: top and left edges in one colour, bottom and right in the other.
void frame(QPainter& painter, const QRect& rect, const QColor& topLeft, const QColor& bottomRight)
{
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), topLeft);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), topLeft);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), bottomRight);
}

} // namespace

BevelPanel::BevelPanel(QWidget* parent, ColorValue color)
    : QWidget(parent)
    , m_color(color)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BevelPanel::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), colorFromRef(ResolveColor(m_color, SysColor)));
    const QColor shadow = colorFromRef(SysColor(kColorBtnShadow));
    const QColor light = colorFromRef(SysColor(kColorBtnHighlight));
    if (width() < 4 || height() < 4)
        return;
    frame(painter, rect(), shadow, light);                          // lowered
    frame(painter, rect().adjusted(1, 1, -1, -1), light, shadow);   // raised
}

} // namespace qm
