#pragma once

#include <QImage>
#include <QString>

namespace qm::tools {

// Writes the picture as a baseline JPEG (sequential, Huffman-coded, 8-bit) with three YCbCr
// components and no chroma subsampling, through libjpeg's compression API. False when the file
// cannot be written.
bool writeBaselineJpeg(const QImage& picture, const QString& path, int quality);

} // namespace qm::tools
