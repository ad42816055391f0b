#include "lorrin/choices.h"
#include "lorrin/draw.h"
#include "lorrin/status.h"
#include "lorrin/test/draw_fixture.h"
#include "lorrin/test/fakes.h"

#include <gtest/gtest.h>

#include <array>

namespace lorrin {
namespace {

using test::Grey;

using Draw = test::DrawTest;

// First and last dark row of a column, -1 when it has none.
std::pair<int, int> darkRows(const Grey& g, int x, int fromRow = 0, int toRow = -1) {
    int first = -1;
    int last = -1;
    for (int y = fromRow; y < (toRow < 0 ? g.height : toRow); ++y) {
        if (!g.dark(x, y)) continue;
        if (first < 0) first = y;
        last = y;
    }
    return {first, last};
}

TEST_F(Draw, Ean13AtTheDefaultsHasTheDocumentedGeometry) {
    ASSERT_EQ(draw(0, "490123456789"), 50);
    EXPECT_EQ(view.status, "JAN(13)/UPC-A");
    EXPECT_EQ(view.code, "4901234567894");
    EXPECT_TRUE(view.codeSelected);
    ASSERT_EQ(clipboard.pictures.size(), 1u);
    EXPECT_EQ(clipboard.pictures[0].bitmap.bitsPerPixel(), 4);
    EXPECT_EQ(clipboard.pictures[0].bitmap.palette(), platform::standardPalette16());
    EXPECT_EQ(sound.played, std::vector<std::string>{""});  // empty path: the default sound

    const Grey g = picture();
    const int lineHeight = fonts.font("Arial", 9)->height();
    // 95 modules and two quiet zones of 20; 5 white rows, 50 bar rows, 5 guard rows, the
    // line, 5 white rows.
    EXPECT_EQ(g.width, 135);
    EXPECT_EQ(g.height, lineHeight + 65);
    for (int x = 0; x < 20; ++x) EXPECT_EQ(darkRows(g, x).first, -1) << "column " << x;
    // Start guard: bar, space, bar at columns 20-22, down to row 59.
    EXPECT_EQ(darkRows(g, 20, 0), std::make_pair(5, 59));
    EXPECT_EQ(darkRows(g, 21, 0).first, -1);
    EXPECT_EQ(darkRows(g, 22, 0), std::make_pair(5, 59));
    // The first digit's bars end at row 54, and nothing but the line lies below them.
    int bars = 0;
    for (int x = 23; x < 23 + 42; ++x) {
        const auto rows = darkRows(g, x, 0, 60);
        if (rows.first < 0) continue;
        ++bars;
        EXPECT_EQ(rows, std::make_pair(5, 54)) << "column " << x;
    }
    EXPECT_GT(bars, 0);
    int textTop = g.height;
    for (int x = 0; x < g.width; ++x) {
        const int first = darkRows(g, x, 60).first;
        if (first >= 0) textTop = std::min(textTop, first);
    }
    EXPECT_GE(textTop, 60);
    EXPECT_LT(textTop, 60 + lineHeight);
    EXPECT_EQ(test::scan(g), "EAN-13:4901234567894\n");
}

TEST_F(Draw, WithoutTheLineThePictureIsTheSymbolAndItsMargins) {
    settings.ocrDisp = 0;
    struct Row {
        std::string_view code;
        int width, height;  // n x (ModuleCount + 40), h + g + 10
        std::string_view scanned;
    };
    constexpr std::array<Row, 3> kRows = {{
        /* 0 EAN-13 */ {"490123456789", 135, 65, "EAN-13:4901234567894\n"},
        /* 1 EAN-8 */ {"4901234", 107, 65, "EAN-8:49012347\n"},
        /* 2 UPC-E */ {"123456", 91, 65, "UPC-E:01234565\n"},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        ASSERT_GT(draw(0, kRows[i].code), 0) << "row " << i;
        const Grey g = picture();
        EXPECT_EQ(g.width, kRows[i].width) << "row " << i;
        EXPECT_EQ(g.height, kRows[i].height) << "row " << i;
        EXPECT_EQ(test::scan(g), kRows[i].scanned) << "row " << i;
    }
}

TEST_F(Draw, NarrowWidthTwoDoublesEveryModule) {
    settings.narrowWidth = 2;
    ASSERT_EQ(draw(0, "490123456789"), 50);
    const Grey g = picture();
    EXPECT_EQ(g.width, 270);
    for (int x = 0; x < 40; ++x) EXPECT_EQ(darkRows(g, x).first, -1) << "column " << x;
    EXPECT_EQ(darkRows(g, 40).first, 5);
    EXPECT_EQ(darkRows(g, 41).first, 5);
    EXPECT_EQ(darkRows(g, 42).first, -1);
    EXPECT_EQ(test::scan(g), "EAN-13:4901234567894\n");
}

TEST_F(Draw, AWideLineWidensThePictureAndCentresTheBars) {
    settings.fontSize = 40;
    ASSERT_EQ(draw(0, "4901234"), 51);
    const Grey g = picture();
    const auto tw = fonts.font("Arial", 40)->textWidth("49012347");
    ASSERT_GT(tw, 67 + 40);  // wider than n x (M + 40)
    EXPECT_EQ(g.width, 40 + tw);
    int leftBar = -1;
    int rightBar = -1;
    for (int x = 0; x < g.width; ++x) {
        if (g.dark(x, 10)) {
            if (leftBar < 0) leftBar = x;
            rightBar = x;
        }
    }
    EXPECT_EQ(rightBar - leftBar + 1, 67);
    EXPECT_LE(std::abs(leftBar - (g.width - 1 - rightBar)), 1);
    // The line starts in the quiet zone's place: nothing dark left of column 20.
    for (int x = 0; x < 20; ++x) EXPECT_EQ(darkRows(g, x).first, -1) << "column " << x;
    EXPECT_EQ(test::scan(g), "EAN-8:49012347\n");
}

// Every pixel from the line's top row down is the font's own ink for the line at its
// documented place, or white: no glyph shifted, clipped or left out.
TEST_F(Draw, TheLinesInkIsWhereTheFontPutsIt) {
    struct Row {
        int type;
        std::string_view code;
        int fontSize;
        std::string_view line;  // the readable line
        int modules;            // ModuleCount
        bool lineWider;         // than the bars with their quiet zones
    };
    constexpr std::array<Row, 4> kRows = {{
        /* 0 EAN-13 */ {kJanUpc, "490123456789", 9, "4901234567894", 95, false},
        /* 1 Code39, typed text */ {kCode39, "ABC123", 9, "ABC123", 151, false},
        /* 2 */ {kJanUpc, "4901234", 40, "49012347", 67, true},
        /* 3 */ {kCode39, "AB", 100, "AB", 83, true},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Row& r = kRows[i];
        settings.fontSize = r.fontSize;
        ASSERT_GT(draw(r.type, r.code), 0) << "row " << i;
        const Grey g = picture();
        platform::RasterFont* font = fonts.font(settings.fontName, r.fontSize);
        ASSERT_NE(font, nullptr);
        const std::int64_t tw = font->textWidth(r.line);
        const std::int64_t baseWidth = r.modules + 40;  // one pixel a module
        ASSERT_EQ(tw >= baseWidth, r.lineWider) << "row " << i;
        const std::int64_t textX = r.lineWider ? 20 : (baseWidth - tw) / 2;
        const int textY = settings.barHeight + 5 + (r.type == kJanUpc ? settings.guardExtra : 0);
        ASSERT_EQ(g.width, std::max(baseWidth, 40 + tw)) << "row " << i;

        std::vector<bool> ink(g.pixels.size(), false);
        int inked = 0;
        font->render(r.line, [&](std::int64_t first, int y, int length) {
            for (std::int64_t x = first; x < first + length; ++x) {
                ASSERT_LT(textX + x, g.width);
                ASSERT_LT(textY + y, g.height);
                ink[static_cast<std::size_t>((textY + y) * g.width + textX + x)] = true;
                ++inked;
            }
        });
        EXPECT_GT(inked, 0) << "row " << i;
        int mismatches = 0;
        for (int y = textY; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x)
                mismatches += g.dark(x, y) != ink[static_cast<std::size_t>(y * g.width + x)];
        EXPECT_EQ(mismatches, 0) << "row " << i;
    }
}

TEST_F(Draw, TurnedPicturesAreExactRightAngleTurns) {
    ASSERT_GT(draw(0, "490123456789"), 0);
    const Grey upright = picture();
    const int w = upright.width;
    const int h = upright.height;
    struct Row {
        int angle;
        int width, height;
    };
    // -1 (no selection) turns like 270 degrees.
    const std::array<Row, 4> rows = {{{1, h, w}, {2, w, h}, {3, h, w}, {-1, h, w}}};
    for (const Row& r : rows) {
        ASSERT_GT(draw(0, "490123456789", r.angle), 0) << "angle " << r.angle;
        const Grey g = picture();
        ASSERT_EQ(g.width, r.width) << "angle " << r.angle;
        ASSERT_EQ(g.height, r.height) << "angle " << r.angle;
        int mismatches = 0;
        for (int y = 0; y < g.height; ++y) {
            for (int x = 0; x < g.width; ++x) {
                // Clockwise: the top row of a quarter turn is the left column read upwards.
                int sx = x, sy = y;
                if (r.angle == 1) sx = y, sy = h - 1 - x;
                if (r.angle == 2) sx = w - 1 - x, sy = h - 1 - y;
                if (r.angle == 3 || r.angle == -1) sx = w - 1 - y, sy = x;
                mismatches += g.dark(x, y) != upright.dark(sx, sy);
            }
        }
        EXPECT_EQ(mismatches, 0) << "angle " << r.angle;
        EXPECT_EQ(test::scan(g), "EAN-13:4901234567894\n") << "angle " << r.angle;
        // The clipboard's SVG is turned the same way.
        const std::string size =
            "viewBox=\"0 0 " + std::to_string(r.width) + " " + std::to_string(r.height) + "\"";
        EXPECT_NE(clipboard.pictures.back().svg.find(size), std::string::npos)
            << "angle " << r.angle;
    }
}

TEST_F(Draw, TheEditBoxKeepsTypedTextOnlyForNw7Code39AndItf) {
    struct Row {
        int type;
        std::string_view code;
        std::string_view editBox;  // after the draw
    };
    constexpr std::array<Row, 6> kRows = {{
        /* 0 */ {1, "A1234B", "A1234B"},
        /* 1 */ {2, "ABC", "ABC"},
        /* 2 */ {3, "1234", "1234"},
        /* 3 */ {4, "Hello", "Hello"},
        /* 4 */ {6, "CODE93", "CODE93"},
        /* 5 */ {0, "4901234", "49012347"},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        ASSERT_GT(draw(kRows[i].type, kRows[i].code), 0) << "row " << i;
        EXPECT_EQ(view.code, kRows[i].editBox) << "row " << i;
    }
}

TEST_F(Draw, TheLineShowsTypedTextUnlessAskedForReadableText) {
    const std::string typed = "ABC";
    settings.addSum = 0;
    const Composition plain = composeBarcode(settings, 2, typed, fonts);
    settings.addSum = 1;
    const Composition full = composeBarcode(settings, 2, typed, fonts);
    ASSERT_TRUE(plain.ok());
    EXPECT_EQ(plain.layout.text, "ABC");
    EXPECT_EQ(full.layout.text, full.readableText);
    EXPECT_NE(full.readableText, typed);  // start/stop characters and the check character
    // JAN/UPC lines sit under the guard bars, others directly under the bars.
    EXPECT_EQ(plain.layout.textY, settings.barHeight + 5);
    EXPECT_EQ(composeBarcode(settings, 0, "4901234", fonts).layout.textY,
              settings.barHeight + settings.guardExtra + 5);
}

TEST_F(Draw, RefusalsShowTheirTextAndLeaveEverythingElse) {
    clipboard.pictures.clear();
    settings.soundNg = "ng.wav";
    struct Row {
        int type;
        std::string_view code;
        std::string_view status;
    };
    constexpr std::array<Row, 8> kRows = {{
        /* 0 */ {0, "49012345678a", "UPC系 ｴﾝｺｰﾄﾞｴﾗｰ"},
        /* 1 */ {0, "12", "UPC系ﾀｲﾌﾟ判別不能"},
        /* 2 */ {3, "12a", "ITF ｴﾗｰ"},
        /* 3 */ {1, "12%", "NW7 ｴﾗｰ"},
        /* 4 */ {2, "AB#", "CODE39 ｴﾝｺｰﾄﾞｴﾗｰ"},
        /* 5 */ {4, "\xC3\xA9", "CODE128(ASCII) ｴﾗｰ"},
        /* 6 */ {5, "D12", "CODE128(Binary) ｴﾗｰ"},
        /* 7 */ {-1, "123", "未定義ｴﾗｰ"},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        sound.played.clear();
        EXPECT_LT(draw(kRows[i].type, kRows[i].code), 0) << "row " << i;
        EXPECT_EQ(view.status, kRows[i].status) << "row " << i;
        EXPECT_EQ(view.code, kRows[i].code) << "row " << i;
        EXPECT_EQ(sound.played, std::vector<std::string>{"ng.wav"}) << "row " << i;
    }
    EXPECT_TRUE(clipboard.pictures.empty());
}

TEST_F(Draw, SettingsThatCannotMakeAPictureFailLikeARefusal) {
    struct Row {
        std::int32_t narrow, height, guard, fontSize, ocr;
        std::string_view code;
    };
    constexpr std::array<Row, 7> kRows = {{
        /* 0 narrow 0 */ {0, 50, 5, 9, 1, "490123456789"},
        /* 1 narrow < 0 */ {-2, 50, 5, 9, 1, "490123456789"},
        /* 2 height 0 */ {1, 0, 5, 9, 1, "490123456789"},
        /* 3 font 0 */ {1, 50, 5, 0, 1, "490123456789"},
        /* 4 too tall */ {1, 40000, 5, 9, 0, "490123456789"},
        /* 5 too wide */ {300, 50, 5, 9, 0, "490123456789"},
        /* 6 too many pixels */ {150, 20000, 5, 9, 0, "4901234"},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Row& r = kRows[i];
        settings.narrowWidth = r.narrow;
        settings.barHeight = r.height;
        settings.guardExtra = r.guard;
        settings.fontSize = r.fontSize;
        settings.ocrDisp = r.ocr;
        view.status = "before";
        EXPECT_EQ(draw(0, r.code), kUnusableSettings) << "row " << i;
        EXPECT_EQ(view.status, "未定義ｴﾗｰ") << "row " << i;
        EXPECT_EQ(view.code, r.code) << "row " << i;
    }
    EXPECT_TRUE(clipboard.pictures.empty());
    // A font size of 0 is no obstacle when no line is drawn.
    settings = Settings{};
    settings.fontSize = 0;
    settings.ocrDisp = 0;
    EXPECT_EQ(draw(0, "490123456789"), 50);
}

TEST_F(Draw, LongCodesAreDrawnWithoutALengthLimit) {
    settings.ocrDisp = 0;
    const std::string code(300, 'x');
    ASSERT_EQ(draw(4, code), 4);
    EXPECT_EQ(view.code, code);
    EXPECT_EQ(picture().width, 11 * 300 + 35 + 40);  // Code 128: 11 modules a character
}

TEST_F(Draw, SoundsFollowTheSwitch) {
    settings.soundOk = "ok.wav";
    settings.soundNg = "ng.wav";
    settings.soundOn = 0;
    draw(0, "490123456789");
    draw(0, "x");
    EXPECT_TRUE(sound.played.empty());
    settings.soundOn = 1;
    draw(0, "490123456789");
    draw(0, "x");
    EXPECT_EQ(sound.played, (std::vector<std::string>{"ok.wav", "ng.wav"}));
}

TEST(Status, TextsForEveryKindOfResult) {
    struct Row {
        int result;
        std::string_view text;
    };
    constexpr std::array<Row, 10> kRows = {{
        /* 0 */ {50, "JAN(13)/UPC-A"},
        /* 1 */ {53, "UPC-E+ｱﾄﾞｵﾝ(2)"},
        /* 2 */ {58, "JAN(13)/UPC-A+ｱﾄﾞｵﾝ(5)"},
        /* 3 */ {63, "UPC-D Version-5"},
        /* 4 */ {-17, "CODE93 ｴﾗｰ"},
        /* 5 */ {1, "NW-7"},
        /* 6 */ {6, "Code93"},
        /* 7 */ {-1, "未定義ｴﾗｰ"},
        /* 8 */ {-61, "未定義ｴﾗｰ"},
        /* 9 */ {kUnusableSettings, "未定義ｴﾗｰ"},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i)
        EXPECT_EQ(statusText(kRows[i].result), kRows[i].text) << "row " << i;
}

}  // namespace
}  // namespace lorrin
