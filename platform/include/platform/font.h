// Text rasterising for bitmaps: faces found by name through fontconfig (so "Arial" finds
// its metric-compatible stand-in), sized in points at 96 dpi, rendered by FreeType as
// one-bit glyphs: text on a barcode picture stays crisp black, never grey.  A character
// the face lacks (a kanji in a Latin face) comes from the face fontconfig names for it,
// at the same size and on the same baseline.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace platform {

// The pixel size of a font of `points` points on a 96 dpi surface, rounded half up
// (9 pt is 12 px).
int pointsToPixels(int points);

// A stretch of ink along one row of a glyph's image.
struct InkRun {
    int x = 0;  // the first column
    int y = 0;  // the row
    int length = 0;
};

// One rendered glyph: a one-bit image, `rows` x `width`, as the runs of its ink.
struct Glyph {
    int left = 0;  // from the pen position to the image's first column
    int top = 0;   // from the baseline up to the image's first row
    int width = 0;
    int rows = 0;
    int advance = 0;           // whole pixels to the next pen position
    std::vector<InkRun> runs;  // row by row, left to right
};

class FontEngine;

class RasterFont {
public:
    // Pixel rows above the baseline (ascent) and below it (descent); their sum is the
    // height of a text cell.
    int ascent() const { return ascent_; }
    int descent() const { return descent_; }
    int height() const { return ascent_ + descent_; }
    // The family name of the face fontconfig picked.
    std::string familyName() const;

    // Sum of the advances of the text's characters (UTF-8; a byte that is no part of a
    // valid sequence counts as one unknown character).
    std::int64_t textWidth(std::string_view text);

    // Calls ink(x, y, length) for every run of ink pixels along a row, (x, y) its first,
    // of the text placed with its cell's top-left corner at (0, 0).
    template <typename Ink>
    void render(std::string_view text, Ink&& ink) {
        std::int64_t pen = 0;
        forEachCodePoint(text, [&](char32_t c) {
            const Glyph& g = glyph(c);
            for (const InkRun& run : g.runs)
                ink(pen + g.left + run.x, ascent_ - g.top + run.y, run.length);
            pen += g.advance;
        });
    }

    RasterFont(const RasterFont&) = delete;
    RasterFont& operator=(const RasterFont&) = delete;
    ~RasterFont();

private:
    friend class FontEngine;
    struct FaceHandle;
    RasterFont(FontEngine& engine, std::string family, int pixels, std::unique_ptr<FaceHandle> face,
               int ascent, int descent);

    template <typename F>
    static void forEachCodePoint(std::string_view text, F&& f) {
        std::size_t i = 0;
        while (i < text.size()) f(decodeUtf8(text, i));
    }
    // Decodes the sequence at `i` and moves `i` past it; invalid bytes give U+FFFD.
    static char32_t decodeUtf8(std::string_view text, std::size_t& i);
    const Glyph& glyph(char32_t c);

    FontEngine& engine_;
    std::string family_;
    int pixels_ = 0;
    std::unique_ptr<FaceHandle> face_;
    int ascent_ = 0;
    int descent_ = 0;
    std::unordered_map<char32_t, Glyph> glyphs_;
};

// Owns the FreeType library, the fontconfig configuration and every face opened, so
// a process that draws many pictures looks each font up once.
class FontEngine {
public:
    FontEngine();
    ~FontEngine();
    FontEngine(const FontEngine&) = delete;
    FontEngine& operator=(const FontEngine&) = delete;

    // The font that best matches `name` at `points`, or nullptr when the size is below
    // one pixel or no font file can be opened.
    RasterFont* font(std::string_view name, int points);

private:
    friend class RasterFont;
    struct Libraries;
    using FaceKey = std::pair<std::string, int>;  // a font file and a face in it
    // A face of `pixels` pixels that has character `c`, the closest to `family`
    // fontconfig knows; nullptr when none has it.  Opened once per engine.
    RasterFont::FaceHandle* fallbackFace(const std::string& family, char32_t c, int pixels);

    std::unique_ptr<Libraries> libs_;
    std::map<std::pair<std::string, int>, std::unique_ptr<RasterFont>> fonts_;
    std::map<std::pair<FaceKey, int>, std::unique_ptr<RasterFont::FaceHandle>> fallbacks_;
};

}  // namespace platform
