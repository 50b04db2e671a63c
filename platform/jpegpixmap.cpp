#include "platform/jpegpixmap.h"

#include "platform/jpegimage.h"

#include <QFile>
#include <QImage>
#include <algorithm>

namespace qm {
namespace {

// A picture file larger than this is not one of ours; it is not read at all.
constexpr qint64 kMaxJpegFileBytes = qint64{8} * 1024 * 1024;

} // namespace

QPixmap loadJpegPixmap(const QString& path)
{
    // Read through QFile so that Qt resources (":/images/...") work, but decode with libjpeg: Qt's
    // image plugins never see the bytes.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxJpegFileBytes)
        return {};
    const QByteArray bytes = file.read(kMaxJpegFileBytes + 1);
    if (bytes.size() > kMaxJpegFileBytes)
        return {};
    const JpegImage jpeg
        = JpegImage::decode(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (jpeg.isNull())
        return {};

    QImage image(jpeg.width(), jpeg.height(), QImage::Format_RGB888);
    if (image.isNull())
        return {};
    const std::size_t rowBytes = static_cast<std::size_t>(jpeg.width()) * 3;
    for (int y = 0; y < jpeg.height(); ++y)
        std::copy_n(jpeg.rgb().data() + static_cast<std::size_t>(y) * rowBytes, rowBytes, image.scanLine(y));
    return QPixmap::fromImage(std::move(image));
}

} // namespace qm
