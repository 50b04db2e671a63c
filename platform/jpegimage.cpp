#include "platform/jpegimage.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE
#include <jpeglib.h>
#include <new>
#include <utility>

namespace qm {
namespace {

// libjpeg's own error handler prints and ends the process. This one jumps back to the decoder, which
// gives up on the picture; warnings (corrupt data, a premature end) are counted and fail it too.
struct ErrorManager {
    jpeg_error_mgr base; // first, so libjpeg's pointer to it is a pointer to the whole
    std::jmp_buf resume;
    int warnings = 0;
};

void onError(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->resume, 1); }

void onMessage(j_common_ptr cinfo, int level)
{
    if (level < 0)
        ++reinterpret_cast<ErrorManager*>(cinfo->err)->warnings;
}

void onOutput(j_common_ptr) {} // nothing is printed

bool acceptable(const jpeg_decompress_struct& info)
{
    const bool colour = info.num_components == 3
                        && (info.jpeg_color_space == JCS_YCbCr || info.jpeg_color_space == JCS_RGB);
    const bool grey = info.num_components == 1 && info.jpeg_color_space == JCS_GRAYSCALE;
    return (colour || grey) && !info.progressive_mode && !info.arith_code && info.data_precision == 8
           && info.image_width > 0 && info.image_height > 0
           && std::size_t{info.image_width} * info.image_height <= JpegImage::kMaxPixels;
}

} // namespace

// Only trivially destructible objects live in this frame: a longjmp back into it skips no destructor.
// The picture belongs to the caller.
bool JpegImage::decodeInto(std::string_view data, JpegImage& out)
{
    jpeg_decompress_struct info{};
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.emit_message = onMessage;
    errors.base.output_message = onOutput;
    if (setjmp(errors.resume) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.data()), static_cast<unsigned long>(data.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || errors.warnings != 0 || !acceptable(info)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    info.scale_num = 1;
    info.scale_denom = 1;
    try {
        out.m_rgb.resize(std::size_t{info.image_width} * info.image_height * 3);
    } catch (const std::bad_alloc&) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    const std::size_t stride = std::size_t{info.output_width} * 3;
    while (info.output_scanline < info.output_height && errors.warnings == 0) {
        JSAMPROW row = out.m_rgb.data() + std::size_t{info.output_scanline} * stride;
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            break;
    }
    const bool complete = info.output_scanline == info.output_height && errors.warnings == 0;
    if (complete)
        jpeg_finish_decompress(&info); // reads up to the end marker, which may still warn
    out.m_width = static_cast<int>(info.output_width);
    out.m_height = static_cast<int>(info.output_height);
    out.m_components = info.num_components;
    jpeg_destroy_decompress(&info);
    return complete && errors.warnings == 0;
}

JpegImage JpegImage::decode(std::string_view data)
{
    JpegImage image;
    return decodeInto(data, image) ? std::move(image) : JpegImage();
}

} // namespace qm
