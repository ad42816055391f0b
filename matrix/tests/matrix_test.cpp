#include "matrix/matrix.h"

#include "test_support/readers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using matrix::DataMatrixShape;
using matrix::Options;
using matrix::QrLevel;
using matrix::Refusal;
using matrix::Symbology;

// The grid as a printed symbol: `modulePixels` a module, the standard's quiet zone around.
test_support::Grey paint(const matrix::Grid& grid, Symbology symbology, int modulePixels = 4) {
    const int quiet = matrix::quietModules(symbology) * modulePixels;
    test_support::Grey out;
    out.width = grid.width * modulePixels + 2 * quiet;
    out.height = grid.height * modulePixels + 2 * quiet;
    out.pixels.assign(static_cast<std::size_t>(out.width) * out.height, 255);
    for (int y = 0; y < out.height - 2 * quiet; ++y)
        for (int x = 0; x < out.width - 2 * quiet; ++x)
            if (grid.at(x / modulePixels, y / modulePixels))
                out.pixels[static_cast<std::size_t>(y + quiet) * out.width + x + quiet] = 0;
    return out;
}

std::string zxingName(Symbology symbology) {
    switch (symbology) {
        case Symbology::kQr: return "QRCode";
        case Symbology::kDataMatrix: return "DataMatrix";
        case Symbology::kPdf417: return "PDF417";
    }
    return {};
}

// Every reader that reads the symbology finds the text in the grid, byte for byte.
void expectReads(const matrix::Grid& grid, Symbology symbology, const std::string& text) {
    const test_support::Grey picture = paint(grid, symbology);
    const auto zxing = test_support::readMatrixSymbols(picture);
    ASSERT_EQ(zxing.size(), 1u) << "ZXing finds no single symbol";
    EXPECT_EQ(zxing[0].type, zxingName(symbology));
    EXPECT_EQ(zxing[0].data, text) << "ZXing";
    if (symbology == Symbology::kQr) {  // zbar reads no other two-dimensional code
        const auto zbar = test_support::readSymbols(picture);
        ASSERT_EQ(zbar.size(), 1u) << "zbar finds no single symbol";
        EXPECT_EQ(zbar[0].data, text) << "zbar";
    }
}

struct Sample {
    const char* name;
    std::string text;
};

const std::vector<Sample> kSamples = {
    /* 0 */ {"digits", "01234567890123456789"},
    {"alphanumerics", "HELLO WORLD $%*+-./:42"},
    {"url", "https://example.com/labels?id=4901234567894&lot=7"},
    {"symbols", "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~ and text"},
    {"kanji and kana", "日本語のラベル、かな・カナ・漢字"},
    /* 5 */ {"half-width katakana", "ﾊﾞｰｺｰﾄﾞ ﾗﾍﾞﾙ"},
    {"outside Shift_JIS", "Grüße, ①髙 ～ 😀"},
    {"one character", "A"},
    {"line ends", "first line\nsecond\r\nthird"},
    {"yen and backslash", "¥100 \\ 価格"},
    /* 10 */ {"yen alone", "¥100 価格"},
    {"overline", "‾ソ表"},
};

struct Case {
    Symbology symbology;
    Options options;
    std::string label;
};

std::vector<Case> cases() {
    std::vector<Case> out;
    for (const QrLevel level : {QrLevel::kL, QrLevel::kM, QrLevel::kQ, QrLevel::kH}) {
        Options o;
        o.qrLevel = level;
        out.push_back({Symbology::kQr, o, "QR level " + std::to_string(static_cast<int>(level))});
    }
    for (const DataMatrixShape shape : {DataMatrixShape::kSquare, DataMatrixShape::kRectangle}) {
        Options o;
        o.dataMatrixShape = shape;
        out.push_back({Symbology::kDataMatrix, o,
                       shape == DataMatrixShape::kSquare ? "Data Matrix square"
                                                         : "Data Matrix rectangle"});
    }
    for (int level = 0; level <= matrix::kPdf417LevelMax; level = level == 0 ? 2 : level + 1) {
        Options o;
        o.pdf417Level = level;
        out.push_back({Symbology::kPdf417, o, "PDF417 level " + std::to_string(level)});
    }
    return out;
}

TEST(MatrixRoundTrip, EveryCodeLevelAndTextReadsBackByteForByte) {
    matrix::Encoder encoder;
    for (const Case& c : cases()) {
        for (const Sample& s : kSamples) {
            // The largest rectangle holds 49 codewords: the long samples go square.
            SCOPED_TRACE(c.label + ", " + s.name);
            const matrix::Encoded e = encoder.encode(c.symbology, s.text, c.options);
            if (c.options.dataMatrixShape == DataMatrixShape::kRectangle && !e.ok()) {
                EXPECT_EQ(e.refusal, Refusal::kTooLong);
                continue;
            }
            ASSERT_TRUE(e.ok()) << static_cast<int>(e.refusal);
            expectReads(e.grid, c.symbology, s.text);
        }
    }
}

TEST(MatrixRoundTrip, LongestTextFitsAndOneMoreCharacterIsRefused) {
    matrix::Encoder encoder;
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.label);
        const std::string text(8000, 'a');
        const matrix::Encoded refused = encoder.encode(c.symbology, text, c.options);
        ASSERT_EQ(refused.refusal, Refusal::kTooLong);
        EXPECT_EQ(refused.length, text.size());
        ASSERT_GT(refused.limit, 0u);
        const matrix::Encoded longest =
            encoder.encode(c.symbology, text.substr(0, refused.limit), c.options);
        ASSERT_TRUE(longest.ok());
        expectReads(longest.grid, c.symbology, text.substr(0, refused.limit));
        EXPECT_EQ(encoder.encode(c.symbology, text.substr(0, refused.limit + 1), c.options).refusal,
                  Refusal::kTooLong);
    }
}

// The largest symbols' capacities, from the standards' tables.
TEST(MatrixCapacity, LargestSymbolsHoldWhatTheStandardsSay) {
    struct Row {
        Symbology symbology;
        QrLevel level;
        char character;
        std::size_t capacity;
    };
    const Row rows[] = {
        /* 0 */ {Symbology::kQr, QrLevel::kL, '7', 7089},
        {Symbology::kQr, QrLevel::kM, '7', 5596},
        {Symbology::kQr, QrLevel::kQ, '7', 3993},
        {Symbology::kQr, QrLevel::kH, '7', 3057},
        {Symbology::kQr, QrLevel::kL, 'a', 2953},
        /* 5 */ {Symbology::kQr, QrLevel::kM, 'a', 2331},
        {Symbology::kQr, QrLevel::kQ, 'a', 1663},
        {Symbology::kQr, QrLevel::kH, 'a', 1273},
        {Symbology::kDataMatrix, QrLevel::kM, '7', 3116},
    };
    matrix::Encoder encoder;
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& r = rows[i];
        SCOPED_TRACE("row " + std::to_string(i));
        Options o;
        o.qrLevel = r.level;
        const std::string text(8000, r.character);
        const matrix::Encoded e = encoder.encode(r.symbology, text, o);
        ASSERT_EQ(e.refusal, Refusal::kTooLong);
        EXPECT_EQ(e.limit, r.capacity);
    }
}

// Versions 1 and 2 at level M hold 34/63 digits, 20/38 alphanumerics, 14/26 bytes and 8/16
// kanji (the standard's capacity table): the mode of each text is the compact one.
TEST(MatrixQr, EachTextTakesItsMostCompactMode) {
    struct Row {
        std::string unit;
        std::size_t version1;
    };
    // "ソ" and "表" end in 0x5C: kanji all the same.
    const Row rows[] = {{"9", 34}, {"Z", 20}, {"z", 14}, {"漢", 8}, {"ア", 8}, {"ｱ", 14},
                        {"ソ", 8}, {"表", 8}};
    matrix::Encoder encoder;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.unit);
        std::string text;
        for (std::size_t n = 0; n < r.version1; ++n) text += r.unit;
        EXPECT_EQ(encoder.encode(Symbology::kQr, text, {}).grid.width, 21);
        EXPECT_EQ(encoder.encode(Symbology::kQr, text + r.unit, {}).grid.width, 25);
    }
    // Forced to UTF-8, eight kanji are 24 bytes and an ECI: version 2.
    Options utf8;
    utf8.qrUtf8 = true;
    const matrix::Encoded forced = encoder.encode(Symbology::kQr, "漢字漢字漢字漢字", utf8);
    ASSERT_TRUE(forced.ok());
    EXPECT_EQ(forced.grid.width, 25);
    expectReads(forced.grid, Symbology::kQr, "漢字漢字漢字漢字");
}

TEST(MatrixQr, FixedVersionIsKeptOrRefusedNamingTheOneNeeded) {
    matrix::Encoder encoder;
    Options o;
    o.qrVersion = 10;
    const matrix::Encoded big = encoder.encode(Symbology::kQr, "A", o);
    ASSERT_TRUE(big.ok());
    EXPECT_EQ(big.grid.width, 57);
    expectReads(big.grid, Symbology::kQr, "A");

    o.qrVersion = 1;
    const matrix::Encoded small = encoder.encode(Symbology::kQr, std::string(35, '9'), o);
    EXPECT_EQ(small.refusal, Refusal::kVersionSmall);
    EXPECT_EQ(small.limit, 34u);
    EXPECT_EQ(small.neededVersion, 2);
    // Beyond every version: too long, with what the fixed one holds.
    const matrix::Encoded huge = encoder.encode(Symbology::kQr, std::string(6000, '9'), o);
    EXPECT_EQ(huge.refusal, Refusal::kTooLong);
    EXPECT_EQ(huge.limit, 34u);
}

TEST(MatrixShapes, DataMatrixSquareOrRectangleAndPdf417Columns) {
    matrix::Encoder encoder;
    Options o;
    const matrix::Encoded square = encoder.encode(Symbology::kDataMatrix, "hello", o);
    EXPECT_EQ(square.grid.width, square.grid.height);
    o.dataMatrixShape = DataMatrixShape::kRectangle;
    const matrix::Encoded rectangle = encoder.encode(Symbology::kDataMatrix, "hello", o);
    EXPECT_EQ(rectangle.grid.width, 18);  // 8x18, the smallest rectangle, holds 5 codewords
    EXPECT_EQ(rectangle.grid.height, 8);
    expectReads(rectangle.grid, Symbology::kDataMatrix, "hello");

    // PDF417: 17 modules a codeword column, with start, row indicators and stop 69 more
    // (the last stop bar one module wider); rows kPdf417RowModules high.
    for (const int columns : {1, 3, 10}) {
        SCOPED_TRACE(columns);
        Options p;
        p.pdf417Columns = columns;
        const matrix::Encoded e = encoder.encode(Symbology::kPdf417, "PDF417 column test", p);
        ASSERT_TRUE(e.ok());
        EXPECT_EQ(e.grid.width, 17 * columns + 69);
        EXPECT_EQ(e.grid.height % matrix::kPdf417RowModules, 0);
        expectReads(e.grid, Symbology::kPdf417, "PDF417 column test");
    }
    // Automatic columns make a symbol wider than high.
    const matrix::Encoded automatic =
        encoder.encode(Symbology::kPdf417, std::string(200, 'x'), Options{});
    EXPECT_GT(automatic.grid.width, automatic.grid.height);
}

TEST(MatrixRefusals, BadTextsAndOptionsAreRefusedWithTheirReason) {
    struct Row {
        std::string text;
        Options options;
        Refusal refusal;
    };
    Options badVersion;
    badVersion.qrVersion = 41;
    Options badLevel;
    badLevel.pdf417Level = 1;
    Options badColumns;
    badColumns.pdf417Columns = 31;
    const Row rows[] = {
        /* 0 */ {"", {}, Refusal::kEmpty},
        {std::string("a\0b", 3), {}, Refusal::kNul},
        {"\xff", {}, Refusal::kNotUtf8},
        {"\xc0\x80", {}, Refusal::kNotUtf8},      // overlong NUL
        {"\xed\xa0\x80", {}, Refusal::kNotUtf8},  // a surrogate
        /* 5 */ {"\xe6\x97", {}, Refusal::kNotUtf8},  // cut short
        {"ok", badVersion, Refusal::kBadOption},
        {"ok", badLevel, Refusal::kBadOption},
        {"ok", badColumns, Refusal::kBadOption},
    };
    matrix::Encoder encoder;
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        for (const Symbology s : {Symbology::kQr, Symbology::kDataMatrix, Symbology::kPdf417}) {
            SCOPED_TRACE("row " + std::to_string(i) + ", " + zxingName(s));
            const matrix::Encoded e = encoder.encode(s, rows[i].text, rows[i].options);
            EXPECT_EQ(e.refusal, rows[i].refusal);
            EXPECT_TRUE(e.grid.dark.empty());
        }
    }
}

}  // namespace
