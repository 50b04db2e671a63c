#pragma once

#include <QPixmap>
#include <QString>

namespace qm {

// A JPEG picture from a file or a Qt resource, decoded through libjpeg. An empty pixmap when the file
// is missing or the picture cannot be decoded.
QPixmap loadJpegPixmap(const QString& path);

} // namespace qm
