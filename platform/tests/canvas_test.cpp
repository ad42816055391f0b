#include "platform/canvas.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string_view>
#include <vector>

namespace platform {
namespace {

constexpr std::uint32_t kBlackIndex = 0;  // standard 16-colour palette
constexpr std::uint32_t kWhiteIndex = 15;

TEST(FontEngine, PointsAreSizedAt96Dpi) {
    struct Row {
        int points, pixels;
    };
    // pixels = points x 96 / 72, rounded half up.
    constexpr std::array<Row, 6> kRows = {{{9, 12}, {8, 11}, {10, 13}, {12, 16}, {0, 0}, {-4, 0}}};
    for (std::size_t i = 0; i < kRows.size(); ++i)
        EXPECT_EQ(pointsToPixels(kRows[i].points), kRows[i].pixels) << "row " << i;
}

TEST(FontEngine, ArialResolvesToAMetricCompatibleFace) {
    FontEngine fonts;
    RasterFont* font = fonts.font("Arial", 9);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->familyName(), "Liberation Sans");
    // Same request, same face: looked up once.
    EXPECT_EQ(fonts.font("Arial", 9), font);
    EXPECT_EQ(fonts.font("Arial", 0), nullptr);
    EXPECT_EQ(fonts.font("Arial", 100000), nullptr);
}

// The ink of `text` as (x, y, length) runs.
std::vector<std::array<std::int64_t, 3>> inkOf(RasterFont& font, std::string_view text) {
    std::vector<std::array<std::int64_t, 3>> runs;
    font.render(text, [&](std::int64_t x, std::int64_t y, int length) {
        runs.push_back({x, y, length});
    });
    return runs;
}

TEST(FontEngine, CharactersTheFaceLacksComeFromAFaceThatHasThem) {
    FontEngine fonts;
    RasterFont* font = fonts.font("Arial", 9);
    ASSERT_NE(font, nullptr);
    // Liberation Sans has none of these; with no other face each would be its empty box,
    // every one alike.  A Japanese face gives each its own shape, inside the line's cell.
    const std::array<std::string_view, 5> kTexts = {"品", "番", "ア", "ﾛ", "ｯ"};
    std::vector<std::vector<std::array<std::int64_t, 3>>> shapes;
    for (const std::string_view text : kTexts) {
        const auto ink = inkOf(*font, text);
        ASSERT_FALSE(ink.empty()) << text;
        for (const auto& [x, y, length] : ink) {
            EXPECT_GE(x, 0) << text;
            EXPECT_LE(x + length, font->textWidth(text)) << text;
            EXPECT_GE(y, 0) << text;
            EXPECT_LT(y, font->height()) << text;
        }
        for (const auto& other : shapes) EXPECT_NE(ink, other) << text;
        shapes.push_back(ink);
    }
    // Full-width characters are wider than a digit, half-width ones are not.
    EXPECT_GT(font->textWidth("品"), font->textWidth("0"));
    EXPECT_LE(font->textWidth("ﾛ"), font->textWidth("0"));
    // A character no face has, and control characters, are measured and drawn as ever.
    EXPECT_GE(font->textWidth("\U0010FFFD\n\t"), 0);
    (void)inkOf(*font, "\U0010FFFD\n\t");
}

TEST(Canvas, TextIsBlackOnAnOpaqueWhiteBoxWithoutGreys) {
    FontEngine fonts;
    Bitmap picture(120, 30, 4);
    picture.fill(4);  // dark blue, so the box shows
    Canvas canvas(picture, fonts);
    canvas.font = {"Arial", 9, kBlack};
    const std::string text = "4901234567894";
    const int width = static_cast<int>(canvas.textWidth(text));
    const int height = canvas.textHeight(text);
    // Liberation Sans, like Arial, has digits of one width.
    EXPECT_EQ(width, 13 * canvas.textWidth("0"));
    ASSERT_LT(width + 2, picture.width());
    ASSERT_LT(height + 2, picture.height());
    canvas.textOut(2, 3, text);

    int ink = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const bool inBox = x >= 2 && x < 2 + width && y >= 3 && y < 3 + height;
            const std::uint32_t p = picture.pixel(x, y);
            if (!inBox) {
                ASSERT_EQ(p, 4u) << x << "," << y;
            } else {
                ASSERT_TRUE(p == kBlackIndex || p == kWhiteIndex) << x << "," << y << ": " << p;
                ink += p == kBlackIndex;
            }
        }
    }
    EXPECT_GT(ink, 13 * 10);  // every digit leaves some ink
}

TEST(Canvas, LinesStopBeforeTheirEndAndClipAtTheEdges) {
    FontEngine fonts;
    Bitmap picture(10, 10, 4);
    Canvas canvas(picture, fonts);
    canvas.brush.color = kWhite;
    canvas.fillRect({-5, -5, 50, 50});
    canvas.moveTo(3, 5);
    canvas.lineTo(3, 9);
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ(picture.pixel(3, y), (y >= 5 && y < 9) ? kBlackIndex : kWhiteIndex) << y;
    // Lines far outside the picture leave it alone and do not fault.
    canvas.moveTo(-100000, -3);
    canvas.lineTo(100000, -3);
    canvas.moveTo(2, 20);
    canvas.lineTo(2, 1000);
    for (int x = 0; x < 10; ++x) EXPECT_EQ(picture.pixel(x, 0), kWhiteIndex) << x;
    // A line from far outside across the picture covers the whole row.
    canvas.moveTo(std::numeric_limits<int>::min(), 1);
    canvas.lineTo(std::numeric_limits<int>::max(), 1);
    for (int x = 0; x < 10; ++x) EXPECT_EQ(picture.pixel(x, 1), kBlackIndex) << x;
    // Diagonals stop before their end too; a wide pen is centred on the line.
    canvas.moveTo(5, 2);
    canvas.lineTo(8, 5);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(picture.pixel(5 + k, 2 + k), k < 3 ? kBlackIndex : kWhiteIndex) << k;
    canvas.pen.width = 3;
    canvas.moveTo(8, 6);
    canvas.lineTo(8, 8);
    for (int x = 5; x < 10; ++x)
        EXPECT_EQ(picture.pixel(x, 6), (x >= 7 && x <= 9) ? kBlackIndex : kWhiteIndex) << x;
}

}  // namespace
}  // namespace platform
