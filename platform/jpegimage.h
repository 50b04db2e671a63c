#pragma once

// A picture decoded from JPEG data through libjpeg. The program ships its pictures as baseline JPEGs,
// so only sequential Huffman-coded images with 8-bit samples, grey or colour, are read. Anything else
// gives an empty picture: a damaged or truncated file (libjpeg's warnings about corrupt data count
// as failures, so a picture is never shown half grey), a progressive or arithmetic-coded one, or one
// larger than kMaxPixels. Decoding never ends the process and never allocates more than the bound.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace qm {

class JpegImage final {
public:
    // 4 megapixels, 12 MiB of RGB: far above the program's own pictures, far below what a hostile
    // header could ask for (up to 65500 x 65500).
    static constexpr std::size_t kMaxPixels = std::size_t{4} * 1024 * 1024;

    // The picture in the data, or an empty picture.
    static JpegImage decode(std::string_view data);

    bool isNull() const { return m_width == 0; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    // Colour components stored in the file: 1 (grey) or 3 (colour).
    int components() const { return m_components; }
    // Rows top to bottom, 3 bytes (red, green, blue) per pixel, no padding.
    const std::vector<std::uint8_t>& rgb() const { return m_rgb; }

private:
    // Fills out, or answers false (out then holds no picture worth keeping).
    static bool decodeInto(std::string_view data, JpegImage& out);

    int m_width = 0;
    int m_height = 0;
    int m_components = 0;
    std::vector<std::uint8_t> m_rgb;
};

} // namespace qm
