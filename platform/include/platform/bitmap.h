// The toolkit bitmap: a device-independent picture of 4, 8 or 24 bits per pixel with a
// palette for the indexed depths, exchanged with other code as a DIB (BMP) file image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace platform {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The 16 colours the toolkit gives a new 4-bit bitmap (the Windows VGA order).
std::vector<Rgb> standardPalette16();

class Bitmap {
public:
    Bitmap() = default;
    // A zero-filled picture.  Indexed depths start with a palette: the 16 standard colours
    // for 4 bits, a grey ramp for 8 bits.  Throws std::invalid_argument for another depth
    // or a negative size.
    Bitmap(int width, int height, int bitsPerPixel);

    int width() const { return width_; }
    int height() const { return height_; }
    int bitsPerPixel() const { return bitsPerPixel_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    // Bytes in one row, padded to a multiple of four as in a DIB.
    std::size_t stride() const { return stride_; }

    const std::vector<Rgb>& palette() const { return palette_; }
    // At most 2^bitsPerPixel entries for the indexed depths; ignored for 24 bits.
    void setPalette(std::vector<Rgb> palette);

    // Changes the size, keeping the pixels that stay inside; new pixels are 0.
    void resize(int width, int height);
    // Drops the picture: width, height and depth 0, no palette.
    void clear();

    // Row y counted from the top, stride() bytes, pixels packed as in a DIB row.
    std::span<std::uint8_t> row(int y);
    std::span<const std::uint8_t> row(int y) const;

    // A palette index for the indexed depths, 0x00RRGGBB for 24 bits.  x and y must lie
    // inside the picture (top-down coordinates).
    std::uint32_t pixel(int x, int y) const;
    void setPixel(int x, int y, std::uint32_t value);
    void fill(std::uint32_t value);

    // The picture as a BMP file image: file header, 40-byte info header, palette,
    // rows bottom-up.
    std::vector<std::uint8_t> saveToDib() const;
    // Reads an uncompressed BMP file image of 4, 8 or 24 bits (rows bottom-up or
    // top-down).  Returns false and leaves the bitmap unchanged for anything else.
    bool loadFromDib(std::span<const std::uint8_t> bytes);

    friend bool operator==(const Bitmap&, const Bitmap&) = default;

private:
    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 0;
    std::size_t stride_ = 0;
    std::vector<Rgb> palette_;
    std::vector<std::uint8_t> pixels_;  // top row first
};

}  // namespace platform
