#include "platform/jpegpixmap.h"

namespace qm {

QPixmap loadJpegPixmap(const QString& /*path*/) { return {}; }

} // namespace qm
