#include "platform/anchorlayout.h"

#include <QEvent>
#include <QWidget>

namespace qm {
namespace {

// One axis: the child's start and length for a parent of the given length.
std::pair<int, int> placeAxis(int start, int length, int designParent, int parent, bool nearAnchor, bool farAnchor)
{
    const int delta = parent - designParent;
    if (nearAnchor && farAnchor)
        return {start, std::max(0, length + delta)};
    if (farAnchor)
        return {start + delta, length};
    if (!nearAnchor)
        return {start + delta / 2, length}; // no anchor on either side: stay centred
    return {start, length};
}

} // namespace

AnchorLayout::AnchorLayout(QWidget* parent, QSize designSize)
    : QObject(parent)
    , m_parent(parent)
    , m_designSize(designSize)
{
    parent->installEventFilter(this);
}

void AnchorLayout::add(QWidget* child, QRect designRect, unsigned anchors)
{
    m_entries.push_back({child, designRect, anchors});
    child->setGeometry(designRect);
    if (m_parent->size() != m_designSize && m_parent->testAttribute(Qt::WA_Resized))
        apply(m_parent->size());
}

bool AnchorLayout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_parent && event->type() == QEvent::Resize)
        apply(m_parent->size());
    return QObject::eventFilter(watched, event);
}

void AnchorLayout::apply(QSize parentSize)
{
    for (const Entry& e : m_entries) {
        const auto [x, w] = placeAxis(e.designRect.x(), e.designRect.width(), m_designSize.width(), parentSize.width(),
                                      e.anchors & AnchorLeft, e.anchors & AnchorRight);
        const auto [y, h] = placeAxis(e.designRect.y(), e.designRect.height(), m_designSize.height(),
                                      parentSize.height(), e.anchors & AnchorTop, e.anchors & AnchorBottom);
        e.child->setGeometry(x, y, w, h);
    }
}

} // namespace qm
