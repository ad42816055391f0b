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

namespace {

using FaceKey = std::pair<std::string, int>;  // a font file and a face in it

// The file and face of fontconfig's best match for `pattern` (which it takes); an empty
// file name when there is none or `accept(match)` turns it down.
template <typename Accept>
FaceKey bestMatch(FcConfig* config, FcPattern* pattern, Accept accept) {
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    FaceKey key;
    FcChar8* file = nullptr;
    if (match != nullptr && accept(match) &&
        FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        key.first = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(match, FC_INDEX, 0, &key.second);
    }
    if (match != nullptr) FcPatternDestroy(match);
    return key;
}

// The face opened at `pixels`; nullptr when it cannot be.
FT_Face openFace(FT_Library freetype, const FaceKey& key, int pixels) {
    FT_Face face = nullptr;
    if (key.first.empty() || FT_New_Face(freetype, key.first.c_str(), key.second, &face) != 0)
        return nullptr;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels)) != 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    return face;
}

FcPattern* familyPattern(const std::string& family) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    return pattern;
}

}  // namespace

RasterFont::RasterFont(FontEngine& engine, std::string family, int pixels,
                       std::unique_ptr<FaceHandle> face, int ascent, int descent)
    : engine_(engine),
      family_(std::move(family)),
      pixels_(pixels),
      face_(std::move(face)),
      ascent_(ascent),
      descent_(descent) {}

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
    if (FT_Get_Char_Index(face, c) == 0 && c >= 0x20) {
        if (FaceHandle* other = engine_.fallbackFace(family_, c, pixels_)) face = other->face;
    }
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

    auto face = std::make_unique<RasterFont::FaceHandle>();
    face->face = openFace(
        libs_->freetype,
        bestMatch(libs_->fontconfig, familyPattern(key.first), [](FcPattern*) { return true; }),
        pixels);
    if (face->face == nullptr) return nullptr;

    // The scaled metrics are already rounded outwards to whole pixels.
    const FT_Size_Metrics& m = face->face->size->metrics;
    const int ascent = static_cast<int>((m.ascender + 63) >> 6);
    const int descent = static_cast<int>((-m.descender + 63) >> 6);
    auto font = std::unique_ptr<RasterFont>(
        new RasterFont(*this, key.first, pixels, std::move(face), ascent, descent));
    return fonts_.emplace(std::move(key), std::move(font)).first->second.get();
}

RasterFont::FaceHandle* FontEngine::fallbackFace(const std::string& family, char32_t c,
                                                 int pixels) {
    FcPattern* pattern = familyPattern(family);
    FcCharSet* wanted = FcCharSetCreate();
    FcCharSetAddChar(wanted, c);
    FcPatternAddCharSet(pattern, FC_CHARSET, wanted);
    FcCharSetDestroy(wanted);
    const auto hasIt = [c](FcPattern* match) {
        FcCharSet* has = nullptr;
        return FcPatternGetCharSet(match, FC_CHARSET, 0, &has) == FcResultMatch &&
               FcCharSetHasChar(has, c);
    };
    FaceKey file = bestMatch(libs_->fontconfig, pattern, hasIt);
    if (file.first.empty()) return nullptr;
    // One face per file and size, whichever characters lead to it.
    auto& kept = fallbacks_[{file, pixels}];
    if (kept == nullptr) {
        kept = std::make_unique<RasterFont::FaceHandle>();
        kept->face = openFace(libs_->freetype, file, pixels);
    }
    if (kept->face == nullptr) return nullptr;
    return kept.get();
}

}  // namespace platform
