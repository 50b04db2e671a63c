// The JPEG decoder over arbitrary bytes: never crashes, never allocates past its bound, and a picture
// it returns is whole.
#include "platform/jpegimage.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const qm::JpegImage image = qm::JpegImage::decode(std::string_view(reinterpret_cast<const char*>(data), size));
    if (image.isNull())
        return 0;
    const std::size_t pixels = static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.height());
    if (image.width() <= 0 || image.height() <= 0 || pixels > qm::JpegImage::kMaxPixels
        || image.rgb().size() != pixels * 3 || (image.components() != 1 && image.components() != 3))
        __builtin_trap();
    return 0;
}
