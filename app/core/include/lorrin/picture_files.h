// The file images of a picture: PNG and BMP from the drawn bitmap, and the forms the
// clipboard offers (the same two and the picture's SVG), which the keeper serves after
// the program has ended.  lorrin-cli writes them to files.
#pragma once

#include "platform/bitmap.h"
#include "platform/services.h"

#include <array>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct z_stream_s;

namespace lorrin {

// The resolution of the screen the pictures are measured for: 96 pixels a inch.
inline constexpr int kScreenDpi = 96;

// Pixels per metre for a resolution in dots per inch (25.4 mm), rounded to the nearest:
// what PNG's pHYs chunk and a DIB's resolution fields hold.
constexpr std::int64_t pixelsPerMetre(std::int64_t dpi) { return (dpi * 10000 + 127) / 254; }

// Both formats hold at most 2^31 - 1 pixels per metre; this is the largest resolution
// that stays within it.
inline constexpr int kMaxDpi = 54546084;
static_assert(pixelsPerMetre(kMaxDpi) <= INT32_MAX && pixelsPerMetre(kMaxDpi + 1) > INT32_MAX);

// Makes PNG file images one after another with one deflate stream and the same buffers,
// so a batch's pictures pay for neither but once.  One per thread.
class PngEncoder {
public:
    PngEncoder();  // throws std::bad_alloc
    ~PngEncoder();
    PngEncoder(const PngEncoder&) = delete;
    PngEncoder& operator=(const PngEncoder&) = delete;

    // The PNG file image of the picture into `image`: an indexed picture becomes a palette
    // PNG (4 bits when the palette has at most 16 entries), a 24-bit one an RGB PNG; `dpi`
    // goes into the pHYs chunk (1 to kMaxDpi).  False, with `image` empty, when memory
    // runs out or deflate fails.
    bool encode(const platform::Bitmap& picture, int dpi, std::vector<std::uint8_t>& image);

private:
    struct EndStream {
        void operator()(z_stream_s* stream) const;
    };
    // The rows as PNG scanlines of `depth` bits a sample, each after its filter byte.
    void fillScanlines(const platform::Bitmap& picture, int depth);
    // The scanlines deflated into `compressed_`: their length, none when deflate fails.
    std::optional<std::size_t> compress();
    // The chunks between the header and the image, the same for a batch's pictures, and
    // what they were made for.
    struct CommonChunks {
        bool indexed;
        int dpi;
        std::vector<platform::Rgb> palette;  // of an indexed picture
        std::vector<std::uint8_t> bytes;
    };
    static CommonChunks makeCommonChunks(const platform::Bitmap& picture, int dpi);

    std::unique_ptr<z_stream_s, EndStream> stream_;
    std::vector<std::uint8_t> scanlines_;
    std::vector<std::uint8_t> compressed_;
    std::optional<CommonChunks> commonChunks_;
};

// The picture's PNG file image, as PngEncoder::encode makes it; empty when memory runs out.
std::vector<std::uint8_t> pngImage(const platform::Bitmap& picture, int dpi);

// The picture's DIB file image with `dpi` (1 to kMaxDpi) in its resolution fields.
std::vector<std::uint8_t> bmpImage(const platform::Bitmap& picture, int dpi);

// One form of a picture on the clipboard: its MIME type and its file image, at the
// picture's resolution.
struct ClipboardForm {
    std::string_view mimeType;
    std::vector<std::uint8_t> (*image)(const platform::Picture& picture);
};

// Every form the clipboard offers a picture in, the most faithful raster first.
extern const std::array<ClipboardForm, 3> kClipboardForms;

// Hands the picture in every clipboard form to the keeper program at `keeper`,
// which serves it on the clipboard from now on, also after this program ends, until
// another program takes the clipboard.  "" when the keeper holds it, else why not.
std::string keepOnClipboard(const platform::Picture& picture, const std::filesystem::path& keeper);

}  // namespace lorrin
