#include "platform/jpegpixmap.h"

#include "platform/jpegimage.h"

#include <QFile>
#include <QImage>

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
    // A view of the decoded rows; the pixmap makes its own copy of them.
    const QImage image(jpeg.rgb().data(), jpeg.width(), jpeg.height(), qsizetype{jpeg.width()} * 3,
                       QImage::Format_RGB888);
    return QPixmap::fromImage(image);
}

} // namespace qm
