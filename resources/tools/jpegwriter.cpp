#include "resources/tools/jpegwriter.h"

#include <QFile>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <vector>

namespace qm::tools {
namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf resume;
};

void onError(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->resume, 1); }

// Compresses into a malloc'ed buffer; only trivially destructible objects live in this frame.
bool compress(const std::vector<unsigned char>& rgb, int width, int height, int quality, unsigned char** out,
              unsigned long* size)
{
    jpeg_compress_struct info{};
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    if (setjmp(errors.resume) != 0) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, out, size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info); // baseline: sequential, Huffman, 8-bit
    jpeg_set_quality(&info, quality, TRUE);
    info.optimize_coding = TRUE;
    for (int c = 0; c < 3; ++c) { // 4:4:4 keeps the thin coloured rules and the lettering clean
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<JSAMPROW>(rgb.data() + std::size_t{info.next_scanline} * width * 3);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

bool writeBaselineJpeg(const QImage& picture, const QString& path, int quality)
{
    const QImage rgbImage = picture.convertToFormat(QImage::Format_RGB888);
    std::vector<unsigned char> rgb(static_cast<std::size_t>(rgbImage.width()) * rgbImage.height() * 3);
    for (int y = 0; y < rgbImage.height(); ++y)
        std::copy_n(rgbImage.constScanLine(y), rgbImage.width() * 3,
                    rgb.data() + std::size_t{static_cast<unsigned>(y)} * rgbImage.width() * 3);

    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = compress(rgb, rgbImage.width(), rgbImage.height(), quality, &buffer, &size);
    bool written = false;
    if (ok) {
        QFile file(path);
        written = file.open(QIODevice::WriteOnly | QIODevice::Truncate)
                  && file.write(reinterpret_cast<const char*>(buffer), static_cast<qint64>(size))
                         == static_cast<qint64>(size);
    }
    std::free(buffer);
    return written;
}

} // namespace qm::tools
