#pragma once

#include <QObject>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace qm {

enum Anchor : unsigned { AnchorLeft = 1, AnchorTop = 2, AnchorRight = 4, AnchorBottom = 8, AnchorAll = 15 };

// Keeps children at their designed distance from the anchored edges of their parent as it resizes:
// anchored to both left and right (or top and bottom), a child grows with its parent; anchored to one
// side only, it keeps its distance to that side.
class AnchorLayout final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AnchorLayout)

public:
    // designSize: the parent's size for which the children's rectangles were designed.
    AnchorLayout(QWidget* parent, QSize designSize);

    // Places the child at its designed rectangle and keeps it anchored from now on.
    void add(QWidget* child, QRect designRect, unsigned anchors);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        QWidget* child;
        QRect designRect;
        unsigned anchors;
    };
    void apply(QSize parentSize);

    QWidget* m_parent;
    QSize m_designSize;
    std::vector<Entry> m_entries;
};

} // namespace qm
