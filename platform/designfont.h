#pragma once

#include <QFont>
#include <QString>

namespace qm {

// The font a window was designed with, at its character height in pixels. Where the family is not
// installed, the closest sans-serif face stands in at the same height, so the layout still fits.
QFont designFont(const QString& family, int pixelHeight, bool bold = false);

} // namespace qm
