#pragma once

#include "ui/colorconv.h"

#include <QWidget>

namespace qm {

// A plain panel filled with one colour and framed by two one-pixel bevels: the outer one lowered,
// the inner one raised.
class BevelPanel final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BevelPanel)

public:
    BevelPanel(QWidget* parent, ColorValue color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ColorValue m_color;
};

} // namespace qm
