#include "lorrin/choices.h"
#include "lorrin/draw.h"
#include "lorrin/status.h"
#include "lorrin/test/draw_fixture.h"
#include "lorrin/test/fakes.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

namespace lorrin {
namespace {

using test::Grey;

using MatrixDraw = test::DrawTest;

struct Code {
    int type;
    std::string text;
    std::string zxingName;
};

const std::array<Code, 3> kCodes = {{
    {kQr, "https://example.jp/ラベル?id=42", "QRCode"},
    {kDataMatrix, "Data Matrix 2024", "DataMatrix"},
    {kPdf417, "PDF417 テスト", "PDF417"},
}};

// The upright position of pixel (x, y) of a picture turned by `angle` quarter turns
// clockwise, the upright picture being w x h.
std::pair<int, int> upright(int angle, int x, int y, int w, int h) {
    switch (angle) {
        case 1: return {y, h - 1 - x};
        case 2: return {w - 1 - x, h - 1 - y};
        case 3: return {w - 1 - y, x};
    }
    return {x, y};
}

// Module size, quiet zone and size pixel for pixel against the module grid, at every
// module size and angle, and the turned pictures read back.
TEST_F(MatrixDraw, PicturesAreTheGridAtTheModuleSizeWithTheStandardsQuietZone) {
    for (const Code& code : kCodes) {
        const matrix::Symbology symbology = matrixSymbology(code.type);
        const matrix::Grid grid = matrix::encode(symbology, code.text, {}).grid;
        ASSERT_GT(grid.width, 0);
        const int quiet = matrix::quietModules(symbology);
        for (int n = 1; n <= 4; ++n) {
            settings.narrowWidth = n;
            const int w = (grid.width + 2 * quiet) * n;
            const int h = (grid.height + 2 * quiet) * n;
            for (int angle = 0; angle < 4; ++angle) {
                SCOPED_TRACE(code.zxingName + " narrow " + std::to_string(n) + " angle " +
                             std::to_string(angle));
                ASSERT_EQ(draw(code.type, code.text, angle), code.type);
                EXPECT_EQ(view.status, kSymbologyNames[static_cast<std::size_t>(code.type)]);
                const Grey g = picture();
                ASSERT_EQ(g.width, angle % 2 == 0 ? w : h);
                ASSERT_EQ(g.height, angle % 2 == 0 ? h : w);
                int mismatches = 0;
                for (int y = 0; y < g.height; ++y) {
                    for (int x = 0; x < g.width; ++x) {
                        const auto [ux, uy] = upright(angle, x, y, w, h);
                        const int mx = ux / n - quiet;
                        const int my = uy / n - quiet;
                        const bool inside =
                            mx >= 0 && my >= 0 && mx < grid.width && my < grid.height;
                        mismatches += g.dark(x, y) != (inside && grid.at(mx, my));
                    }
                }
                EXPECT_EQ(mismatches, 0);
                if (n < 2) continue;  // readers want more than a pixel a module
                const auto read = test_support::readMatrixSymbols(g);
                ASSERT_EQ(read.size(), 1u);
                EXPECT_EQ(read[0].type, code.zxingName);
                EXPECT_EQ(read[0].data, code.text);
                if (code.type == kQr) {
                    EXPECT_EQ(test::scan(g), "QR-Code:" + code.text + "\n");
                }
            }
        }
    }
}

// The SVG's rectangles are the PNG's dark pixels: every code, every angle.
TEST_F(MatrixDraw, TheSvgHasTheSameModulesAsTheBitmap) {
    settings.narrowWidth = 2;
    for (const Code& code : kCodes) {
        for (int angle = 0; angle < 4; ++angle) {
            SCOPED_TRACE(code.zxingName + " angle " + std::to_string(angle));
            ASSERT_EQ(draw(code.type, code.text, angle), code.type);
            const platform::Picture& p = clipboard.pictures.back();
            const Grey g = test::toGrey(p.bitmap);
            // The rectangles after the white background, turned as the group says.
            std::vector<std::uint8_t> dark(static_cast<std::size_t>(g.width) * g.height, 0);
            const int w = angle % 2 == 0 ? g.width : g.height;
            const int h = angle % 2 == 0 ? g.height : g.width;
            std::size_t at = p.svg.find("fill=\"#fff\"/>");
            ASSERT_NE(at, std::string::npos);
            while ((at = p.svg.find("<rect x=\"", at)) != std::string::npos) {
                int x = 0, y = 0, rw = 0, rh = 0;
                ASSERT_EQ(std::sscanf(p.svg.c_str() + at,
                                      "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\"", &x, &y,
                                      &rw, &rh),
                          4);
                for (int yy = y; yy < y + rh; ++yy) {
                    for (int xx = x; xx < x + rw; ++xx) {
                        // Upright (xx, yy) lands where the turn takes it.
                        int tx = xx, ty = yy;
                        if (angle == 1) tx = h - 1 - yy, ty = xx;
                        if (angle == 2) tx = w - 1 - xx, ty = h - 1 - yy;
                        if (angle == 3) tx = yy, ty = w - 1 - xx;
                        dark[static_cast<std::size_t>(ty) * g.width + tx] = 1;
                    }
                }
                ++at;
            }
            int mismatches = 0;
            for (int y = 0; y < g.height; ++y)
                for (int x = 0; x < g.width; ++x)
                    mismatches += g.dark(x, y) != (dark[static_cast<std::size_t>(y) * g.width + x] != 0);
            EXPECT_EQ(mismatches, 0);
        }
    }
}

TEST_F(MatrixDraw, TheReadableLineIsOffUntilItsOwnSettingAsksForIt) {
    settings.narrowWidth = 3;  // zbar wants more than a pixel a module
    const matrix::Grid grid = matrix::encode(matrix::Symbology::kQr, "ABC\nDEF", {}).grid;
    const int side = (grid.width + 8) * 3;
    ASSERT_EQ(settings.ocrDisp, 1);
    ASSERT_EQ(draw(kQr, "ABC\nDEF"), kQr);
    EXPECT_EQ(picture().height, side);

    settings.matrixText = 1;
    ASSERT_EQ(draw(kQr, "ABC\nDEF"), kQr);
    const Grey g = picture();
    const int lineHeight = fonts.font(settings.fontName, settings.fontSize)->height();
    ASSERT_EQ(g.height, side + lineHeight);
    // The line lies under the bottom quiet zone, and the symbol still reads.
    int ink = 0;
    for (int y = side; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x) ink += g.dark(x, y);
    EXPECT_GT(ink, 0);
    for (int y = side - 4 * 3; y < side; ++y)
        for (int x = 0; x < g.width; ++x) EXPECT_FALSE(g.dark(x, y)) << x << "," << y;
    EXPECT_EQ(test::scan(g), "QR-Code:ABC\nDEF\n");
}

TEST_F(MatrixDraw, RefusalsAndUnusableSettingsLeaveTheClipboardAlone) {
    struct Row {
        int type;
        std::string text;
        std::int32_t Settings::*field;
        std::int32_t value;
        int result;
        std::string status;
    };
    const std::array<Row, 8> rows = {{
        /* 0 */ {kQr, std::string(3000, 'a'), nullptr, 0, kMatrixTooLong,
                 "QR ﾃﾞｰﾀが長すぎます (3000文字, 最大2331文字)"},
        {kQr, std::string(35, '9'), &Settings::qrVersion, 1, kMatrixVersionSmall,
         "QR ﾊﾞｰｼﾞｮﾝ1では小さすぎます (35文字, 最大34文字, ﾊﾞｰｼﾞｮﾝ2以上)"},
        {kQr, std::string(3000, 'a'), &Settings::qrLevel, 0, kMatrixTooLong,
         "QR ﾃﾞｰﾀが長すぎます (3000文字, 最大2953文字)"},
        {kDataMatrix, "a\xff", nullptr, 0, kMatrixNotUtf8, "DataMatrix UTF-8 ではありません"},
        {kPdf417, std::string("a\0b", 3), nullptr, 0, kMatrixNul, "PDF417 NUL 文字は使えません"},
        /* 5 */ {kQr, "A", &Settings::qrLevel, 4, kUnusableSettings, "未定義ｴﾗｰ"},
        {kPdf417, "A", &Settings::pdfLevel, 1, kUnusableSettings, "未定義ｴﾗｰ"},
        {kDataMatrix, "A", &Settings::narrowWidth, 0, kUnusableSettings, "未定義ｴﾗｰ"},
    }};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        settings = Settings{};
        if (rows[i].field != nullptr) settings.*rows[i].field = rows[i].value;
        sound.played.clear();
        EXPECT_EQ(draw(rows[i].type, rows[i].text), rows[i].result);
        EXPECT_EQ(view.status, rows[i].status);
        EXPECT_TRUE(clipboard.pictures.empty());
        EXPECT_EQ(sound.played.size(), 1u);
        EXPECT_EQ(view.code, rows[i].text);  // the edit box keeps what was typed
    }
}

}  // namespace
}  // namespace lorrin
