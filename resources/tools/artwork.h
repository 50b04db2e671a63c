#pragma once

// The program's pictures, drawn with QPainter. Shapes are laid out on a grid of their own (100 units
// for the application mark, 16 for menu icons) and scaled to the size asked for.

#include <QImage>
#include <QString>

namespace qm::tools {

QImage applicationIcon(int size);
// The same mark as SVG text, from the same shapes.
QString applicationIconSvg();

QImage banner();            // 500 x 65
QImage logo();              // 98 x 130
QImage menuIcon(int index); // 16 x 16: 0 quill, 1 exit, 2 save, 3 open, 4 list, 5 website, 6 about
QImage generateButton();    // 24 x 24, a light bulb
QImage researchButton();    // 22 x 23, a magnifier over a page
QImage cancelButton();      // 24 x 24

} // namespace qm::tools
