#include "platform/font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>

namespace platform {
namespace {

// Larger faces could not fit any picture the canvas may hold.
constexpr int kMaxPixelSize = 32767;
constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

int pointsToPixels(int points) {
    const std::int64_t px = (static_cast<std::int64_t>(points) * 96 + 36) / 72;
    if (px > kMaxPixelSize) return kMaxPixelSize + 1;
    if (px < 0) return 0;
    return static_cast<int>(px);
}

struct RasterFont::FaceHandle {
    FT_Face face = nullptr;
    ~FaceHandle() {
        if (face != nullptr) FT_Done_Face(face);
    }
};

struct FontEngine::Libraries {
    FT_Library freetype = nullptr;
    FcConfig* fontconfig = nullptr;
    ~Libraries() {
        if (fontconfig != nullptr) FcConfigDestroy(fontconfig);
        if (freetype != nullptr) FT_Done_FreeType(freetype);
    }
};

RasterFont::RasterFont(std::unique_ptr<FaceHandle> face, int ascent, int descent)
    : face_(std::move(face)), ascent_(ascent), descent_(descent) {}

RasterFont::~RasterFont() = default;

std::string RasterFont::familyName() const {
    const char* name = face_->face->family_name;
    return name == nullptr ? std::string() : std::string(name);
}

char32_t RasterFont::decodeUtf8(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    int extra = 0;
    char32_t c = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        c = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        c = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        c = lead & 0x07u;
    } else {
        ++i;
        return kReplacement;
    }
    if (text.size() - i <= static_cast<std::size_t>(extra)) {
        ++i;
        return kReplacement;
    }
    for (int k = 1; k <= extra; ++k) {
        const unsigned char b = byte(i + static_cast<std::size_t>(k));
        if ((b & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        c = (c << 6) | (b & 0x3Fu);
    }
    i += static_cast<std::size_t>(extra) + 1;
    constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (c < kMinimum[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kReplacement;
    return c;
}

const Glyph& RasterFont::glyph(char32_t c) {
    const auto found = glyphs_.find(c);
    if (found != glyphs_.end()) return found->second;

    Glyph g;
    FT_Face face = face_->face;
    if (FT_Load_Char(face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) == 0) {
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bm = slot->bitmap;
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
            g.width = static_cast<int>(bm.width);
            g.rows = static_cast<int>(bm.rows);
            // Text is drawn a run at a time, not a pixel at a time.
            for (int y = 0; y < g.rows; ++y) {
                const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
                const auto ink = [row](int x) {
                    return ((row[x >> 3] >> (7 - (x & 7))) & 1u) != 0;
                };
                for (int x = 0; x < g.width;) {
                    if (!ink(x)) {
                        ++x;
                        continue;
                    }
                    const int first = x;
                    while (x < g.width && ink(x)) ++x;
                    g.runs.push_back({first, y, x - first});
                }
            }
        }
    }
    return glyphs_.emplace(c, std::move(g)).first->second;
}

std::int64_t RasterFont::textWidth(std::string_view text) {
    std::int64_t width = 0;
    forEachCodePoint(text, [&](char32_t c) { width += glyph(c).advance; });
    return width;
}

FontEngine::FontEngine() : libs_(std::make_unique<Libraries>()) {
    if (FT_Init_FreeType(&libs_->freetype) != 0) libs_->freetype = nullptr;
    libs_->fontconfig = FcInitLoadConfigAndFonts();
}

FontEngine::~FontEngine() {
    fonts_.clear();  // faces before the library that made them
}

RasterFont* FontEngine::font(std::string_view name, int points) {
    const int pixels = pointsToPixels(points);
    if (pixels < 1 || pixels > kMaxPixelSize || libs_->freetype == nullptr ||
        libs_->fontconfig == nullptr)
        return nullptr;
    auto key = std::make_pair(std::string(name), pixels);
    const auto found = fonts_.find(key);
    if (found != fonts_.end()) return found->second.get();

    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(key.first.c_str()));
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(libs_->fontconfig, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(libs_->fontconfig, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return nullptr;

    FcChar8* file = nullptr;
    int index = 0;
    auto face = std::make_unique<RasterFont::FaceHandle>();
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        if (FT_New_Face(libs_->freetype, reinterpret_cast<const char*>(file), index, &face->face) !=
            0)
            face->face = nullptr;
    }
    FcPatternDestroy(match);
    if (face->face == nullptr ||
        FT_Set_Pixel_Sizes(face->face, 0, static_cast<FT_UInt>(pixels)) != 0)
        return nullptr;

    // The scaled metrics are already rounded outwards to whole pixels.
    const FT_Size_Metrics& m = face->face->size->metrics;
    const int ascent = static_cast<int>((m.ascender + 63) >> 6);
    const int descent = static_cast<int>((-m.descender + 63) >> 6);
    auto font = std::unique_ptr<RasterFont>(new RasterFont(std::move(face), ascent, descent));
    return fonts_.emplace(std::move(key), std::move(font)).first->second.get();
}

}  // namespace platform
