// lorrin-cli as a user runs it: pictures are read back by zbar and libpng, SVG files are
// rendered by rsvg-convert.
#include "app/cli/options.h"
#include "app/tests/test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

namespace lorrin {
namespace {

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("lorrin_cli_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        // An empty settings file: the record's defaults, whatever lies beside the program.
        std::ofstream(dir_ / "lorrin.ini") << "";
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // Runs lorrin-cli with `args` in the test folder; returns the exit status.
    int run(const std::string& args) {
        const std::string command = "cd '" + dir_.string() + "' && '" LORRIN_CLI_PATH
                                    "' --settings lorrin.ini " + args +
                                    " >stdout.txt 2>stderr.txt";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void write(const std::string& name, std::string_view text) const {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }
    std::filesystem::path dir_;
};

struct Symbol {
    std::string_view line;     // a batch line with the symbology's clipboard prefix
    std::string_view scanned;  // what zbar reads
};

// One code per symbology list entry, check characters off so zbar's data is the code.
// Drawn two pixels a module: zbar misses some one-pixel Code 128 symbols ("Hello" among
// them, from zint just the same).
constexpr std::array<Symbol, 7> kSymbols = {{
    /* 0 */ {"upc@490123456789", "EAN-13:4901234567894\n"},
    /* 1 */ {"nw7@A1234B", "Codabar:A1234B\n"},
    /* 2 */ {"c39@ABC123", "CODE-39:ABC123\n"},
    /* 3 */ {"itf@123456", "I2/5:123456\n"},
    /* 4 */ {"128a@Hello", "CODE-128:Hello\n"},
    /* 5 */ {"128b@B212223", "CODE-128:ABC\n"},
    /* 6 */ {"c93@CODE93", "CODE-93:CODE93\n"},
}};

TEST_F(Cli, EverySymbologyAtEveryAngleScans) {
    std::string batch;
    for (const Symbol& s : kSymbols) batch += std::string(s.line) + "\n";
    write("codes.txt", batch);
    for (const int angle : {0, 90, 180, 270}) {
        const std::string a = std::to_string(angle);
        ASSERT_EQ(run("--no-check --narrow 2 -a " + a + " --batch codes.txt -o a" + a + "-{n}.png"), 0)
            << read("stderr.txt");
        for (std::size_t i = 0; i < kSymbols.size(); ++i) {
            const auto picture = test::readPng(dir_ / ("a" + a + "-" + std::to_string(i + 1) + ".png"));
            ASSERT_TRUE(picture) << "angle " << angle << " row " << i;
            EXPECT_EQ(test::scan(*picture), kSymbols[i].scanned) << "angle " << angle << " row " << i;
        }
    }
}

TEST_F(Cli, SvgBarsLieWhereThePngBarsLie) {
    for (const int angle : {0, 90, 180, 270}) {
        const std::string a = std::to_string(angle);
        ASSERT_EQ(run("-t code39 -a " + a + " -o p" + a + ".png ABC-123"), 0) << read("stderr.txt");
        ASSERT_EQ(run("-t code39 -a " + a + " -o s" + a + ".svg ABC-123"), 0) << read("stderr.txt");
        // rsvg-convert refuses a document that is not well-formed XML.
        const std::string render = "cd '" + dir_.string() + "' && rsvg-convert -b white s" + a +
                                   ".svg -o r" + a + ".png 2>/dev/null";
        ASSERT_EQ(std::system(render.c_str()), 0) << "angle " << angle;
        const auto png = test::readPng(dir_ / ("p" + a + ".png"));
        const auto svg = test::readPng(dir_ / ("r" + a + ".png"));
        ASSERT_TRUE(png && svg);
        ASSERT_EQ(svg->width, png->width) << "angle " << angle;
        ASSERT_EQ(svg->height, png->height) << "angle " << angle;
        // Row 30 of the upright picture crosses every bar; find it in the turned one.
        int mismatches = 0;
        const int length = (angle == 0 || angle == 180) ? png->width : png->height;
        for (int k = 0; k < length; ++k) {
            int x = k, y = 30;
            if (angle == 90) x = png->width - 1 - 30, y = k;
            if (angle == 180) y = png->height - 1 - 30;
            if (angle == 270) x = 30, y = k;
            mismatches += png->dark(x, y) != svg->dark(x, y);
        }
        EXPECT_EQ(mismatches, 0) << "angle " << angle;
        EXPECT_EQ(test::scan(*svg), "CODE-39:ABC-123W\n") << "angle " << angle;
    }
}

TEST_F(Cli, BatchesTakeLineEndsBlankLinesAndRefusalsInStride) {
    write("codes.txt", "\xEF\xBB\xBF" "490123456789\r\n\r\n   \r\n49012345678X\r\nc39@ABC\r\n4901234");
    EXPECT_EQ(run("--batch codes.txt -o {n}.png"), 1);
    EXPECT_EQ(test::scan(*test::readPng(dir_ / "1.png")), "EAN-13:4901234567894\n");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "4.png"));
    EXPECT_EQ(test::scan(*test::readPng(dir_ / "5.png")), "CODE-39:ABCX\n");
    EXPECT_EQ(test::scan(*test::readPng(dir_ / "6.png")), "EAN-8:49012347\n");
    EXPECT_EQ(read("stderr.txt"), "lorrin-cli: line 4: \"49012345678X\": UPC系 ｴﾝｺｰﾄﾞｴﾗｰ (-11)\n");
}

TEST_F(Cli, LongBatchesReportRefusalsInLineOrder) {
    // Enough lines for several drawing threads; two refusals far apart.
    std::string batch;
    for (int i = 1; i <= 1200; ++i)
        batch += (i == 1100 ? std::string("12X") : i == 7 ? std::string("c39@A#") :
                                                std::to_string(490000000000 + i)) + "\n";
    write("codes.txt", batch);
    EXPECT_EQ(run("--no-text --batch codes.txt -o {n}.bmp"), 1);
    EXPECT_EQ(read("stderr.txt"),
              "lorrin-cli: line 7: \"A#\": CODE39 ｴﾝｺｰﾄﾞｴﾗｰ (-14)\n"
              "lorrin-cli: line 1100: \"12X\": UPC系 ｴﾝｺｰﾄﾞｴﾗｰ (-11)\n");
    for (const int line : {1, 6, 8, 600, 1099, 1101, 1200})
        EXPECT_TRUE(std::filesystem::exists(dir_ / (std::to_string(line) + ".bmp"))) << line;
    EXPECT_FALSE(std::filesystem::exists(dir_ / "1100.bmp"));
}

TEST_F(Cli, BadUsageExitsWithTwo) {
    for (const std::string_view args :
         {"", "--angle 45 123", "-t code11 123", "--height x 123", "--bogus 123", "-o x.gif 123",
          "-o same.png 1 2", "--batch codes.txt 123", "--dpi 0 123", "--dpi 54546085 123",
          "--dpi 2147483647 123"}) {
        EXPECT_EQ(run(std::string(args)), 2) << args;
        EXPECT_NE(read("stderr.txt"), "") << args;
    }
}

TEST_F(Cli, WidthsPrintsTheEncodingInsteadOfDrawing) {
    ASSERT_EQ(run("--widths 490123456789"), 0);
    const std::string out = read("stdout.txt");
    // EAN-13: the start guard is three guard elements, 59 elements, 95 modules.
    EXPECT_TRUE(out.starts_with("4901234567894\t-1 -1 -1 ")) << out;
    EXPECT_TRUE(out.ends_with("\t95\n")) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), ' '), 58);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "490123456789.png"));
}

// The big-endian word at `at` of a PNG, the little-endian one of a BMP.
std::uint32_t pngWord(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes.at(at + i));
    return v;
}
std::uint32_t bmpWord(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 4; i-- > 0;) v = v << 8 | static_cast<unsigned char>(bytes.at(at + i));
    return v;
}

TEST_F(Cli, ResolutionGoesIntoTheFileHeaders) {
    // 300 dpi is 11811 pixels per metre, 96 dpi 3780.
    ASSERT_EQ(run("--dpi 300 -o a.png 490123456789"), 0);
    ASSERT_EQ(run("-o b.png 490123456789"), 0);
    ASSERT_EQ(run("--dpi 300 -o c.bmp 490123456789"), 0);
    const std::string a = read("a.png");
    const std::string b = read("b.png");
    const std::string c = read("c.bmp");
    EXPECT_EQ(pngWord(a, a.find("pHYs") + 4), 11811u);
    EXPECT_EQ(pngWord(b, b.find("pHYs") + 4), 3780u);
    ASSERT_EQ(c.substr(0, 2), "BM");
    EXPECT_EQ(bmpWord(c, 38), 11811u);
    EXPECT_EQ(bmpWord(c, 28) & 0xFFFF, 4u);  // the 4-bit picture as drawn
}

TEST(CliOptions, TypeNames) {
    struct Row {
        std::string_view name;
        int type;  // -1: refused
    };
    constexpr std::array<Row, 12> kRows = {{
        /* 0 */ {"JAN/UPC", 0}, /* 1 */ {"jan", 0},     /* 2 */ {"nw7", 1},
        /* 3 */ {"NW-7", 1},    /* 4 */ {"code-39", 2}, /* 5 */ {"ITF", 3},
        /* 6 */ {"code128a", 4}, /* 7 */ {"Code128B", 5}, /* 8 */ {"code93", 6},
        /* 9 */ {"6", 6},        /* 10 */ {"7", -1},      /* 11 */ {"upc", -1},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i)
        EXPECT_EQ(cli::parseType(kRows[i].name).value_or(-1), kRows[i].type) << "row " << i;
}

TEST(CliOptions, OutputNamesKeepCodesInsideTheFolder) {
    EXPECT_EQ(cli::outputName("out/{n}-{code}.png", 3, "AB/../C"), "out/3-AB_.._C.png");
    EXPECT_EQ(cli::outputName("{code}.svg", 1, "..x"), "_..x.svg");
    EXPECT_EQ(cli::outputName("{code}.png", 1, ""), "_.png");
}

}  // namespace
}  // namespace lorrin
