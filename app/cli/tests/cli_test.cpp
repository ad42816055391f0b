// lorrin-cli as a user runs it: pictures are read back by zbar and libpng, SVG files are
// rendered by rsvg-convert.
#include "lorrin/cli/options.h"
#include "lorrin/cli/report.h"
#include "lorrin/test/fakes.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <map>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <span>
#include <tuple>
#include <utility>
#include <variant>
#include <vector>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lorrin {
namespace {

class Cli : public test_support::TempFolderTest {
protected:
    void SetUp() override {
        // An empty settings file: the record's defaults, whatever lies beside the program.
        std::ofstream(dir_ / "lorrin.ini") << "";
    }
    // Runs lorrin-cli with `args` in the test folder under the locale `locale_`, its files
    // held to `fileSizeLimit` bytes unless that is 0; returns the exit status, -1 when a
    // signal ended it.  A run that has not ended after kRunSeconds is ended by the alarm, a
    // failure like any other.
    static constexpr unsigned kRunSeconds = 120;
    int run(const std::string& args, rlim_t fileSizeLimit = 0) {
        const std::string command = "cd '" + dir_.string() + "' && exec env -u LANGUAGE LC_ALL='" +
                                    locale_ + "' '" LORRIN_CLI_PATH "' --settings lorrin.ini " +
                                    args + " >stdout.txt 2>stderr.txt";
        const pid_t child = fork();
        if (child == 0) {
            signal(SIGALRM, SIG_DFL);
            alarm(kRunSeconds);  // kept across exec
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            if (fileSizeLimit == 0 || setrlimit(RLIMIT_FSIZE, &limit) == 0)
                execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        if (child < 0 || waitpid(child, &status, 0) != child) return -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // The names in the test folder.
    std::set<std::string> files() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_))
            names.insert(entry.path().filename().string());
        return names;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void write(const std::string& name, std::string_view text) const {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }

    std::string locale_ = "C";  // messages in English
};

// A batch of `lines` EAN-13 codes (490000000001 and on), enough for several drawing
// threads, with the given lines replaced.
std::string longBatch(int lines, const std::map<int, std::string>& replaced = {}) {
    std::string batch;
    for (int i = 1; i <= lines; ++i) {
        const auto r = replaced.find(i);
        batch += (r != replaced.end() ? r->second : std::to_string(490000000000 + i)) + "\n";
    }
    return batch;
}

// No picture file in the folder.
bool nothingDrawn(const std::set<std::string>& names) {
    return std::none_of(names.begin(), names.end(), [](const std::string& name) {
        return name.ends_with(".png") || name.ends_with(".bmp") || name.ends_with(".svg");
    });
}

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
        ASSERT_EQ(run("--no-check --narrow 2 -a " + a + " --batch codes.txt -o a" + a + "-{n}.png"),
                  0)
            << read("stderr.txt");
        for (std::size_t i = 0; i < kSymbols.size(); ++i) {
            const auto picture =
                test::readPng(dir_ / ("a" + a + "-" + std::to_string(i + 1) + ".png"));
            ASSERT_TRUE(picture) << "angle " << angle << " row " << i;
            EXPECT_EQ(test::scan(*picture), kSymbols[i].scanned)
                << "angle " << angle << " row " << i;
        }
    }
}

// The SVG is the PNG's picture: the same bars, and the same size on paper at the same
// resolution (rendered at that resolution, it has the PNG's pixels).
TEST_F(Cli, SvgBarsLieWhereThePngBarsLie) {
    struct Row {
        int angle, dpi;
    };
    constexpr std::array<Row, 6> kRows = {
        {{0, 96}, {90, 96}, {180, 96}, {270, 96}, {0, 300}, {90, 600}}};
    for (const auto [angle, dpi] : kRows) {
        const std::string a = std::to_string(angle);
        const std::string d = " --dpi " + std::to_string(dpi);
        ASSERT_EQ(run("-t code39 -a " + a + d + " -o p" + a + ".png ABC-123"), 0)
            << read("stderr.txt");
        ASSERT_EQ(run("-t code39 -a " + a + d + " -o s" + a + ".svg ABC-123"), 0)
            << read("stderr.txt");
        // rsvg-convert refuses a document that is not well-formed XML.
        const std::string render = "cd '" + dir_.string() + "' && rsvg-convert -b white" +
                                   " --dpi-x " + std::to_string(dpi) + " --dpi-y " +
                                   std::to_string(dpi) + " s" + a + ".svg -o r" + a +
                                   ".png 2>/dev/null";
        ASSERT_EQ(std::system(render.c_str()), 0) << "angle " << angle << " dpi " << dpi;
        const auto png = test::readPng(dir_ / ("p" + a + ".png"));
        const auto svg = test::readPng(dir_ / ("r" + a + ".png"));
        ASSERT_TRUE(png && svg);
        ASSERT_EQ(svg->width, png->width) << "angle " << angle << " dpi " << dpi;
        ASSERT_EQ(svg->height, png->height) << "angle " << angle << " dpi " << dpi;
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
        EXPECT_EQ(mismatches, 0) << "angle " << angle << " dpi " << dpi;
        EXPECT_EQ(test::scan(*svg), "CODE-39:ABC-123W\n") << "angle " << angle << " dpi " << dpi;
    }
}

// A font name is any bytes on a command line; the SVG stays well-formed XML whatever it is
// (rsvg-convert refuses anything else).
TEST_F(Cli, SvgIsWellFormedWhateverTheFontName) {
    constexpr std::array<std::string_view, 4> kNames = {
        "a\xFF\xFE"
        "b",  // bytes of no UTF-8 sequence
        "\xEF\xBF\xBE"
        "x",  // U+FFFE, no XML character
        "\xE3\x81"
        "&<\">",         // a sequence cut short, markup
        "\x01\x1B[31m",  // control characters
    };
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        ASSERT_EQ(run("-t code39 --font '" + std::string(kNames[i]) + "' -o f.svg ABC"), 0)
            << "row " << i << ": " << read("stderr.txt");
        const std::string render =
            "cd '" + dir_.string() + "' && rsvg-convert f.svg -o f.png 2>/dev/null";
        EXPECT_EQ(std::system(render.c_str()), 0) << "row " << i;
    }
}

// Without an X display the picture has nowhere to stay: lorrin-cli says so, and why.
TEST_F(Cli, ClipboardWithoutAnXDisplaySaysWhy) {
    const char* display = std::getenv("DISPLAY");
    const std::string kept = display == nullptr ? "" : display;
    unsetenv("DISPLAY");
    const int status = run("--clipboard 490123456789");
    if (display != nullptr) setenv("DISPLAY", kept.c_str(), 1);
    EXPECT_EQ(status, 3);
    EXPECT_EQ(read("stderr.txt"),
              "lorrin-cli: cannot put the picture on the clipboard: no X display: DISPLAY is "
              "not set (the clipboard is kept on X11, through XWayland on a Wayland session)\n");
    EXPECT_TRUE(nothingDrawn(files()));
}

TEST_F(Cli, BatchesTakeLineEndsBlankLinesAndRefusalsInStride) {
    write("codes.txt",
          "\xEF\xBB\xBF"
          "490123456789\r\n\r\n   \r\n49012345678X\r\nc39@ABC\r\n4901234");
    EXPECT_EQ(run("--batch codes.txt -o {n}.png"), 1);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "4.png"));
    for (const auto& [name, scanned] : {std::pair{"1.png", "EAN-13:4901234567894\n"},
                                        std::pair{"5.png", "CODE-39:ABCX\n"},
                                        std::pair{"6.png", "EAN-8:49012347\n"}}) {
        const auto picture = test::readPng(dir_ / name);
        ASSERT_TRUE(picture) << name;
        EXPECT_EQ(test::scan(*picture), scanned) << name;
    }
    EXPECT_EQ(read("stderr.txt"), "lorrin-cli: line 4: \"49012345678X\": UPC encoding error (-11)\n");
}

TEST_F(Cli, LongBatchesReportRefusalsInLineOrder) {
    // Enough lines for several drawing threads; two refusals far apart.
    write("codes.txt", longBatch(1200, {{7, "c39@A#"}, {1100, "12X"}}));
    EXPECT_EQ(run("--no-text --batch codes.txt -o {n}.bmp"), 1);
    EXPECT_EQ(read("stderr.txt"),
              "lorrin-cli: line 7: \"A#\": CODE39 encoding error (-14)\n"
              "lorrin-cli: line 1100: \"12X\": UPC encoding error (-11)\n");
    for (const int line : {1, 6, 8, 600, 1099, 1101, 1200})
        EXPECT_TRUE(std::filesystem::exists(dir_ / (std::to_string(line) + ".bmp"))) << line;
    EXPECT_FALSE(std::filesystem::exists(dir_ / "1100.bmp"));
}

// What a run leaves in `folder`: each file's name and bytes.
std::map<std::string, std::string> folderContents(const std::filesystem::path& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        contents[entry.path().filename().string()] = {std::istreambuf_iterator<char>(in),
                                                      std::istreambuf_iterator<char>()};
    }
    return contents;
}

// A mixed batch of a few thousand lines: codes drawn, codes refused, two lines naming one
// file, every kind of prefix.  `refused` counts the refused lines.
std::string mixedBatch(std::size_t& refused) {
    std::map<int, std::string> lines;
    for (int i = 11; i <= 3000; i += 211) lines[i] = "c39@ABC" + std::to_string(i);
    for (int i = 13; i <= 3000; i += 307) lines[i] = "qr@https://example.jp/" + std::to_string(i);
    for (int i = 17; i <= 3000; i += 401) lines[i] = "128a@Lot " + std::to_string(i);
    for (int i = 19; i <= 3000; i += 503) lines[i] = "dm@" + std::to_string(i) + " DM";
    for (int i = 5; i <= 3000; i += 97) lines[i] = std::to_string(i) + "X";  // refused
    lines[40] = "c39@A/B";
    lines[41] = "4901234";    // EAN-8
    lines[2500] = "c39@A B";  // the file of line 40
    lines[2900] = "c39@A#";   // refused
    refused = static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [](const auto& l) {
        return l.second.ends_with('X') || l.second.ends_with('#');
    }));
    return longBatch(3000, lines);
}

// Drawing threads change no file and no report: each run writes the same files, byte for
// byte, and reports the same lines in the same order with the same exit status.
TEST_F(Cli, ThreadsChangeNeitherFilesNorReports) {
    std::size_t refused = 0;
    write("codes.txt", mixedBatch(refused));
    std::string firstReport;
    std::map<std::string, std::string> firstFiles;
    for (const int jobs : {1, 2, 8}) {
        const std::string folder = "j" + std::to_string(jobs);
        std::filesystem::create_directory(dir_ / folder);
        EXPECT_EQ(
            run("-j " + std::to_string(jobs) + " --batch codes.txt -o " + folder + "/{code}.png"),
            1)
            << "jobs " << jobs;
        // The same report but for the folder's name.
        std::string report = read("stderr.txt");
        for (std::size_t at; (at = report.find(folder + "/")) != std::string::npos;)
            report.erase(at, folder.size() + 1);
        const auto files = folderContents(dir_ / folder);
        if (jobs == 1) {
            firstReport = report;
            firstFiles = files;
            EXPECT_EQ(files.size(), 3000 - refused - 1);
            EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), refused + 1) << report;
            EXPECT_NE(
                report.find("lorrin-cli: line 2500: \"A B\": same file as line 40: A_B.png\n"),
                std::string::npos)
                << report;
            continue;
        }
        EXPECT_EQ(report, firstReport) << "jobs " << jobs;
        EXPECT_TRUE(files == firstFiles) << "jobs " << jobs;
    }
}

// A picture that cannot be written stops a threaded run with the report of one thread.
// Other threads may have written pictures of later lines, each whole; nothing is left
// half-written and no temporary file stays.
TEST_F(Cli, AFailedWriteStopsEveryThreadAsItStopsOne) {
    // A QR symbol of 600 letters and digits packs to 1.2 KB of PNG, an EAN-13 picture to
    // 340 bytes.
    std::string text;
    for (int i = 0; i < 600; ++i)
        text += "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"[(i * i * 7 + i * 13) % 36];
    struct Row {
        std::string name;
        std::string line600;   // of 1200, enough for five threads
        rlim_t fileSizeLimit;  // bytes, 0 for none
        std::string message;
    };
    const Row rows[] = {
        /* 0 */ {"read-only file", "490000000600", 0,
                 "line 600: cannot write out/600.png: Permission denied"},
        /* 1 */
        {"file size limit", "qr@" + text, 1024,
         "line 600: cannot write out/600.png: File too large"},
    };
    for (const Row& r : rows) {
        write("codes.txt", longBatch(1200, {{600, r.line600}}));
        for (const int jobs : {1, 2, 8}) {
            SCOPED_TRACE(r.name + ", jobs " + std::to_string(jobs));
            std::filesystem::remove_all(dir_ / "out");
            std::filesystem::create_directory(dir_ / "out");
            if (r.fileSizeLimit == 0) {
                write("out/600.png", "old");
                std::filesystem::permissions(dir_ / "out/600.png",
                                             std::filesystem::perms::owner_read);
            }
            EXPECT_EQ(run("-j " + std::to_string(jobs) + " --batch codes.txt -o out/{n}.png",
                          r.fileSizeLimit),
                      3);
            EXPECT_EQ(read("stderr.txt"), "lorrin-cli: " + r.message + "\n");
            const auto files = folderContents(dir_ / "out");
            for (int line = 1; line < 600; ++line)
                EXPECT_TRUE(files.contains(std::to_string(line) + ".png")) << line;
            if (jobs == 1) {
                EXPECT_EQ(files.size(), r.fileSizeLimit == 0 ? 600u : 599u);
            }
            for (const auto& [name, bytes] : files) {
                EXPECT_FALSE(name.starts_with('.')) << name << " is a temporary file";
                if (name == "600.png") {
                    EXPECT_EQ(bytes, "old");
                    continue;
                }
                const auto png = test_support::readPngFile(
                    {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
                EXPECT_TRUE(png && png->width == 135) << name << " is no whole picture";
            }
        }
    }
}

// PNG files as the encoder before this one wrote them (libpng, rows filtered "up"), kept
// in tests/data: the same codes give files that read back through libpng with the same
// size, depth, palette, resolution and pixels, and are no larger.
TEST_F(Cli, PngFilesHoldThePicturesTheyHeldBefore) {
    struct Row {
        std::string_view file;
        std::string_view args;
    };
    constexpr std::array<Row, 6> kRows = {{
        /* 0 */ {"ean13.png", "490123456789"},
        {"code128.png", "-t code128a LORRIN-0000000000001"},
        {"qr.png", "-t qr --ecc M https://example.jp/item/000001"},
        {"ean13-90-300dpi.png", "-a 90 --dpi 300 490123456789"},
        {"code39-180.png", "-t code39 -a 180 --narrow 2 ABC-123"},
        /* 5 */ {"pdf417-270.png", "-t pdf417 -a 270 --text Quillmark"},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        ASSERT_EQ(run("-o new.png " + std::string(kRows[i].args)), 0) << "row " << i;
        std::ifstream in(std::filesystem::path(LORRIN_CLI_TEST_DATA) / kRows[i].file,
                         std::ios::binary);
        const std::string before{std::istreambuf_iterator<char>(in),
                                 std::istreambuf_iterator<char>()};
        const std::string now = read("new.png");
        const auto bytes = [](const std::string& s) {
            return std::span(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
        };
        const auto old = test_support::readPngFile(bytes(before));
        const auto png = test_support::readPngFile(bytes(now));
        ASSERT_TRUE(old && png) << "row " << i;
        EXPECT_EQ(std::tie(png->width, png->height, png->bitDepth, png->colourType),
                  std::tie(old->width, old->height, old->bitDepth, old->colourType))
            << "row " << i;
        EXPECT_EQ(png->palette, old->palette) << "row " << i;
        EXPECT_EQ(png->pixelsPerMetre, old->pixelsPerMetre) << "row " << i;
        EXPECT_TRUE(png->samples == old->samples) << "row " << i;
        EXPECT_LE(now.size(), before.size()) << "row " << i;
    }
}

// A settings file that cannot be read gives the defaults, as no file does.
TEST_F(Cli, BesideAFolderNamedLorrinIniDrawsWithTheDefaults) {
    const std::filesystem::path program = dir_ / "program";
    std::filesystem::create_directories(program / "lorrin.ini");
    std::filesystem::copy_file(LORRIN_CLI_PATH, program / "lorrin-cli");
    const std::string command = "cd '" + program.string() + "' && XDG_CONFIG_HOME='" +
                                (dir_ / "config").string() +
                                "' ./lorrin-cli -o code.png 490123456789 2>stderr.txt";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << read("program/stderr.txt");
    EXPECT_TRUE(std::filesystem::exists(program / "code.png"));
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

// The draw hands the library the code in CP932, where these characters are ASCII bytes;
// --widths shows the very encoding the draw paints.
TEST_F(Cli, WidthsEncodeTheCodeAsTheDrawDoes) {
    struct Row {
        std::string_view code;
        std::string_view cp932;  // the same code as the library reads it
        std::string_view scanned;
    };
    constexpr std::array<Row, 2> kRows = {{
        /* 0 yen sign */ {"A¥1", "A\\1", "CODE-128:A\\1\n"},
        /* 1 overline */ {"x‾y", "x~y", "CODE-128:x~y\n"},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Row& r = kRows[i];
        ASSERT_EQ(run("-t code128a --widths '" + std::string(r.cp932) + "'"), 0) << "row " << i;
        const std::string widths = read("stdout.txt");
        EXPECT_EQ(run("-t code128a --widths '" + std::string(r.code) + "'"), 0) << "row " << i;
        EXPECT_EQ(read("stdout.txt"), widths) << "row " << i;
        ASSERT_EQ(run("-t code128a --narrow 2 -o x.png '" + std::string(r.code) + "'"), 0)
            << "row " << i;
        const auto picture = test::readPng(dir_ / "x.png");
        ASSERT_TRUE(picture) << "row " << i;
        EXPECT_EQ(test::scan(*picture), r.scanned) << "row " << i;
    }
}

TEST_F(Cli, RefusedCodesReachTheTerminalEscaped) {
    using namespace std::string_view_literals;
    struct Row {
        std::string_view line;   // a JAN/UPC batch line, refused
        std::string_view shown;  // how the report quotes it
    };
    const std::array<Row, 11> kRows = {{
        /* 0 escape sequence */ {"\x1B[31mX", "\\x1B[31mX"},
        /* 1 NUL */ {"A\0B"sv, "A\\x00B"},
        /* 2 backslash */ {"a\\b", "a\\\\b"},
        /* 3 DEL, tab, CR */ {"\x7F\t\rZ", "\\x7F\\x09\\x0DZ"},
        /* 4 Japanese */ {"テスト", "テスト"},
        /* 5 not UTF-8 */ {"\xFF\xFE", "\\xFF\\xFE"},
        /* 6 cut short */ {"\xE3\x81", "\\xE3\\x81"},
        /* 7 overlong '/' */ {"\xC0\xAF", "\\xC0\\xAF"},
        /* 8 surrogate */ {"\xED\xA0\x80", "\\xED\\xA0\\x80"},
        /* 9 C1 CSI */
        {"\xC2\x9B"
         "1m",
         "\\xC2\\x9B1m"},
        /* 10 four bytes */ {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
    }};
    std::string batch;
    for (const Row& r : kRows) batch += std::string(r.line) + "\n";
    write("codes.txt", batch);
    EXPECT_EQ(run("--batch codes.txt -o {n}.png"), 1);
    const std::string reports = read("stderr.txt");
    for (std::size_t i = 0; i < kRows.size(); ++i)
        EXPECT_NE(reports.find("lorrin-cli: line " + std::to_string(i + 1) + ": \"" +
                               std::string(kRows[i].shown) + "\": "),
                  std::string::npos)
            << "row " << i << "\n"
            << reports;
    EXPECT_EQ(std::count_if(reports.begin(), reports.end(),
                            [](char c) { return (c >= 0 && c < 0x20 && c != '\n') || c == 0x7F; }),
              0);
}

TEST_F(Cli, WideAndGapOutsideWhatScannersReadAreRefusedBeforeDrawing) {
    write("mixed.txt", "490123456789\nc39@ABC\n");
    struct Row {
        std::string_view args;
        std::string_view settingsFile;
        std::string_view message;  // empty: drawn
    };
    constexpr std::array<Row, 10> kRows = {{
        /* 0 */ {"-t nw7 --wide 2 A1B", "",
                 "--wide (wn=) 2 gives no readable NW-7: it takes 3 modules"},
        /* 1 */
        {"-t code39 --wide 1 ABC", "",
         "--wide (wn=) 1 gives no readable Code39: it takes 2 to 3 modules"},
        /* 2 */
        {"-t itf --wide 4 1234", "",
         "--wide (wn=) 4 gives no readable ITF: it takes 2 to 3 modules"},
        /* 3 */
        {"-t code39 --gap 0 ABC", "",
         "--gap (gap=) 0 gives no readable Code39: it takes 1 to 5 modules"},
        /* 4 */
        {"-t nw7 --gap 6 A1B", "",
         "--gap (gap=) 6 gives no readable NW-7: it takes 1 to 5 modules"},
        /* 5 */
        {"-t code39 ABC", "[barcode]\nwn=0\n",
         "--wide (wn=) 0 gives no readable Code39: it takes 2 to 3 modules"},
        // The batch's prefixes count: nothing is drawn, the JAN line neither.
        /* 6 */
        {"--gap 0 --batch mixed.txt -o {n}.png", "",
         "--gap (gap=) 0 gives no readable Code39: it takes 1 to 5 modules"},
        // Symbologies that do not use the setting do not mind it.
        /* 7 */ {"-t itf --gap 0 1234", "", ""},
        /* 8 */ {"--wide 1 --gap 0 490123456789", "", ""},
        /* 9 */ {"-t code128a --wide 9 --gap 9 ABC", "", ""},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Row& r = kRows[i];
        for (const std::string& name : files())
            if (name.ends_with(".png")) std::filesystem::remove(dir_ / name);
        write("lorrin.ini", r.settingsFile);
        const bool refused = !r.message.empty();
        EXPECT_EQ(run(std::string(r.args)), refused ? 2 : 0) << "row " << i;
        EXPECT_EQ(read("stderr.txt"), refused ? "lorrin-cli: " + std::string(r.message) + "\n" : "")
            << "row " << i;
        EXPECT_EQ(nothingDrawn(files()), refused) << "row " << i;
    }
}

TEST_F(Cli, WideAndGapAtTheirLimitsScan) {
    struct Row {
        std::string_view args;  // at one pixel a module, the default
        std::string_view scanned;
    };
    constexpr std::array<Row, 7> kRows = {{
        /* 0 */ {"-t nw7 --wide 3 --gap 1 A1234B", "Codabar:A1234B\n"},
        /* 1 */ {"-t nw7 --wide 3 --gap 5 A1234B", "Codabar:A1234B\n"},
        /* 2 */ {"-t code39 --wide 2 --gap 1 ABC123", "CODE-39:ABC123\n"},
        /* 3 */ {"-t code39 --wide 2 --gap 5 ABC123", "CODE-39:ABC123\n"},
        /* 4 */ {"-t code39 --wide 3 --gap 5 ABC123", "CODE-39:ABC123\n"},
        /* 5 */ {"-t itf --wide 2 123456", "I2/5:123456\n"},
        /* 6 */ {"-t itf --wide 3 123456", "I2/5:123456\n"},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        ASSERT_EQ(run("--no-check -o x.png " + std::string(kRows[i].args)), 0) << "row " << i;
        const auto picture = test::readPng(dir_ / "x.png");
        ASSERT_TRUE(picture) << "row " << i;
        EXPECT_EQ(test::scan(*picture), kRows[i].scanned) << "row " << i;
    }
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
    struct Row {
        std::string_view dpi;  // empty: the default
        std::uint32_t pixelsPerMetre;
    };
    // dpi x 10000 / 254, rounded; both formats hold at most 2^31 - 1.
    constexpr std::array<Row, 4> kRows = {{
        /* 0 */ {"", 3780},
        /* 1 */ {"300", 11811},
        /* 2 */ {"1", 39},
        /* 3 */ {"54546084", 2147483622},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const std::string dpi = kRows[i].dpi.empty() ? "" : "--dpi " + std::string(kRows[i].dpi);
        ASSERT_EQ(run(dpi + " -o a.png 490123456789"), 0) << "row " << i;
        ASSERT_EQ(run(dpi + " -o b.bmp 490123456789"), 0) << "row " << i;
        const std::string a = read("a.png");
        const std::string b = read("b.bmp");
        EXPECT_EQ(pngWord(a, a.find("pHYs") + 4), kRows[i].pixelsPerMetre) << "row " << i;
        EXPECT_EQ(pngWord(a, a.find("pHYs") + 8), kRows[i].pixelsPerMetre) << "row " << i;
        ASSERT_EQ(b.substr(0, 2), "BM");
        EXPECT_EQ(bmpWord(b, 38), kRows[i].pixelsPerMetre) << "row " << i;
        EXPECT_EQ(bmpWord(b, 42), kRows[i].pixelsPerMetre) << "row " << i;
        EXPECT_EQ(bmpWord(b, 28) & 0xFFFF, 4u);  // the 4-bit picture as drawn
    }
}

TEST_F(Cli, FailedWritesKeepTheOldFileAndStopTheRun) {
    constexpr std::string_view kOld = "the old picture";
    for (const char* name : {"keep.png", "keep.bmp", "keep.svg", "ro.png"}) write(name, kOld);
    std::filesystem::permissions(
        dir_ / "ro.png", std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    std::filesystem::create_directory(dir_ / "folder.png");
    write("codes.txt", longBatch(1200));
    const std::set<std::string> before = files();

    struct Row {
        std::string_view args;
        rlim_t fileSizeLimit;  // bytes, 0 for none
        std::string_view message;
    };
    // Every picture is larger than the limit: this Code 39 packs to 1 KB of PNG.
    constexpr std::array<Row, 7> kRows = {{
        /* 0 */ {"-o keep.png -t code39 ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", 512,
                 "cannot write keep.png: File too large"},
        /* 1 */
        {"-o keep.bmp -t code39 ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", 512,
         "cannot write keep.bmp: File too large"},
        /* 2 */
        {"-o keep.svg -t code39 ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", 512,
         "cannot write keep.svg: File too large"},
        /* 3 */ {"-o ro.png 490123456789", 0, "cannot write ro.png: Permission denied"},
        /* 4 */ {"-o folder.png 490123456789", 0, "cannot write folder.png: Is a directory"},
        // One message for a whole batch, whichever thread failed first.
        /* 5 */
        {"--batch codes.txt -o missing/{n}.png", 0,
         "line 1: cannot write missing/1.png: No such file or directory"},
        /* 6 */
        {"-o missing/{n}.png 490123456789 4901234", 0,
         "argument 1: cannot write missing/1.png: No such file or directory"},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        EXPECT_EQ(run(std::string(kRows[i].args), kRows[i].fileSizeLimit), 3) << "row " << i;
        EXPECT_EQ(read("stderr.txt"), "lorrin-cli: " + std::string(kRows[i].message) + "\n")
            << "row " << i;
        std::set<std::string> after = files();
        after.erase("stdout.txt");
        after.erase("stderr.txt");
        EXPECT_EQ(after, before) << "row " << i;  // no temporary file left, nothing drawn
        for (const char* name : {"keep.png", "keep.bmp", "keep.svg", "ro.png"})
            EXPECT_EQ(read(name), kOld) << "row " << i << ' ' << name;
    }
}

TEST_F(Cli, CodesNamingTheSameFileKeepTheFirstPicture) {
    write("long.txt", longBatch(1200, {{3, "c39@A/B"}, {1100, "c39@A B"}}));
    write("short.txt", "c39@A/B\nc39@A B\nc39@A/B\n");
    struct Row {
        std::string_view args;
        std::string_view message;
    };
    constexpr std::array<Row, 3> kRows = {{
        /* 0 */ {"--batch short.txt",
                 "lorrin-cli: line 2: \"A B\": same file as line 1: A_B.png\n"
                 "lorrin-cli: line 3: \"A/B\": same file as line 1: A_B.png\n"},
        /* 1 */
        {"-t code39 A/B 'A B' A-B",
         "lorrin-cli: argument 2: \"A B\": same file as argument 1: A_B.png\n"},
        // Several drawing threads: the later line still loses, wherever it is drawn.
        /* 2 */
        {"--no-text --batch long.txt",
         "lorrin-cli: line 1100: \"A B\": same file as line 3: A_B.png\n"},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        std::filesystem::remove(dir_ / "A_B.png");
        EXPECT_EQ(run("--no-check -o {code}.png " + std::string(kRows[i].args)), 1) << "row " << i;
        EXPECT_EQ(read("stderr.txt"), kRows[i].message) << "row " << i;
        const auto picture = test::readPng(dir_ / "A_B.png");
        ASSERT_TRUE(picture) << "row " << i;
        EXPECT_EQ(test::scan(*picture), "CODE-39:A/B\n") << "row " << i;
    }
    EXPECT_TRUE(std::filesystem::exists(dir_ / "A-B.png"));
    EXPECT_TRUE(std::filesystem::exists(dir_ / "490000001200.png"));
}

TEST_F(Cli, UnreadableBatchesAreBadUsage) {
    std::filesystem::create_directory(dir_ / "folder");
    struct Row {
        std::string_view args;
        std::string_view message;
    };
    constexpr std::array<Row, 3> kRows = {{
        /* 0 */ {"--batch folder", "lorrin-cli: cannot read folder: Is a directory\n"},
        /* 1 */
        {"--batch none.txt", "lorrin-cli: cannot read none.txt: No such file or directory\n"},
        /* 2 */ {"--batch - <folder", "lorrin-cli: cannot read standard input: Is a directory\n"},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        EXPECT_EQ(run(std::string(kRows[i].args)), 2) << "row " << i;
        EXPECT_EQ(read("stderr.txt"), kRows[i].message) << "row " << i;
    }
}

TEST_F(Cli, UnusableSettingsAreNamedAsTheUserGaveThem) {
    std::string batch;
    for (int i = 1; i <= 600; ++i) batch += std::to_string(490000000000 + i) + "\n";
    write("codes.txt", batch);
    struct Row {
        std::string_view args;
        std::string_view settingsFile;
        std::string_view message;
    };
    constexpr std::array<Row, 11> kRows = {{
        /* 0 */ {"--height 0 490123456789", "", "\"490123456789\": --height (h=) 0"},
        /* 1 */ {"--narrow 100000 490123456789", "", "\"490123456789\": --narrow (narrow=) 100000"},
        /* 2 */ {"--font-size 0 490123456789", "", "\"490123456789\": --font-size (size=) 0"},
        /* 3 */ {"--guard -100 490123456789", "", "\"490123456789\": --guard (gh=) -100"},
        /* 4 */
        {"--no-text --height 40000 490123456789", "", "\"490123456789\": --height (h=) 40000"},
        /* 5 */ {"--font-size 5000 490123456789", "", "\"490123456789\": --font-size (size=) 5000"},
        /* 6 */ {"490123456789", "[barcode]\nnarrow=0\n", "\"490123456789\": --narrow (narrow=) 0"},
        // One message for the batch, not one a line.
        /* 7 */
        {"--height 0 --batch codes.txt -o {n}.png", "",
         "line 1: \"490000000001\": --height (h=) 0"},
        // Two-dimensional settings out of range in the file.
        /* 8 */ {"-t qr A", "[matrix]\nqrecc=7\n", "\"A\": --ecc (qrecc=) 7"},
        {"-t pdf417 A", "[matrix]\npdfcolumns=31\n", "\"A\": --pdf-columns (pdfcolumns=) 31"},
        /* 10 */ {"-t datamatrix A", "[matrix]\ndmshape=2\n", "\"A\": --dm-shape (dmshape=) 2"},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Row& r = kRows[i];
        write("lorrin.ini", r.settingsFile);
        EXPECT_EQ(run(std::string(r.args)), 2) << "row " << i;
        EXPECT_EQ(read("stderr.txt"),
                  "lorrin-cli: " + std::string(r.message) + " cannot make a picture\n")
            << "row " << i;
        EXPECT_TRUE(nothingDrawn(files())) << "row " << i;
    }
    // At one pixel a module the code itself is too long: a refusal, not bad usage.
    write("lorrin.ini", "");
    const std::string code(3000, 'X');
    write("long.txt", "128a@" + code + "\n490123456789\n");
    EXPECT_EQ(run("--batch long.txt -o {n}.png"), 1);
    EXPECT_EQ(read("stderr.txt"), "lorrin-cli: line 1: \"" + code + "\": too long for a picture\n");
    EXPECT_TRUE(std::filesystem::exists(dir_ / "2.png"));
}

TEST(CliOptions, TypeNames) {
    struct Row {
        std::string_view name;
        int type;  // -1: refused
    };
    constexpr std::array<Row, 16> kRows = {{
        /* 0 */ {"JAN/UPC", 0},
        /* 1 */ {"jan", 0},
        /* 2 */ {"nw7", 1},
        /* 3 */ {"NW-7", 1},
        /* 4 */ {"code-39", 2},
        /* 5 */ {"ITF", 3},
        /* 6 */ {"code128a", 4},
        /* 7 */ {"Code128B", 5},
        /* 8 */ {"code93", 6},
        /* 9 */ {"6", 6},
        /* 10 */ {"7", 7},
        /* 11 */ {"upc", -1},
        /* 12 */ {"qr", 7},
        /* 13 */ {"datamatrix", 8},
        /* 14 */ {"pdf-417", 9},
        /* 15 */ {"10", -1},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i)
        EXPECT_EQ(cli::parseType(kRows[i].name).value_or(-1), kRows[i].type) << "row " << i;
}

// The value a field holds, as text.
std::string valueText(std::int32_t value) { return std::to_string(value); }
std::string valueText(const std::string& value) { return value; }
std::string valueOf(SettingsField field, const Settings& settings) {
    return std::visit([&](auto member) { return valueText(settings.*member); }, field);
}
void setUnusual(std::int32_t& value) { value = 99; }
void setUnusual(std::string& value) { value = "unusual"; }

TEST(CliOptions, EachSettingOptionGivesItsOwnField) {
    struct Row {
        std::vector<std::string_view> args;
        SettingsField field;
        std::string_view value;
    };
    const std::array<Row, 13> kRows = {{
        /* 0 */ {{"--height", "7"}, &Settings::barHeight, "7"},
        /* 1 */ {{"--guard=7"}, &Settings::guardExtra, "7"},
        /* 2 */ {{"--narrow", "7"}, &Settings::narrowWidth, "7"},
        /* 3 */ {{"--wide", "7"}, &Settings::wideRatio, "7"},
        /* 4 */ {{"--gap", "-7"}, &Settings::charGap, "-7"},
        /* 5 */ {{"--font-size", "7"}, &Settings::fontSize, "7"},
        /* 6 */ {{"--font", "Mincho"}, &Settings::fontName, "Mincho"},
        /* 7 */ {{"--check"}, &Settings::checkSum, "1"},
        /* 8 */ {{"--no-check"}, &Settings::checkSum, "0"},
        /* 9 */ {{"--text"}, &Settings::ocrDisp, "1"},
        /* 10 */ {{"--no-text"}, &Settings::ocrDisp, "0"},
        /* 11 */ {{"--full-text"}, &Settings::addSum, "1"},
        /* 12 */ {{"--typed-text"}, &Settings::addSum, "0"},
    }};
    // Every field starts at a value no row gives, so a field given by mistake shows.
    Settings start;
    for (const Row& r : kRows) std::visit([&](auto member) { setUnusual(start.*member); }, r.field);
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        std::vector<std::string_view> args = kRows[i].args;
        args.push_back("490123456789");
        const cli::ParseResult parsed = cli::parseOptions(args);
        ASSERT_EQ(parsed.error, "") << "row " << i;
        Settings given = start;
        parsed.options.settings.applyTo(given);
        for (const Row& other : kRows)
            EXPECT_EQ(valueOf(other.field, given), other.field == kRows[i].field
                                                       ? std::string(kRows[i].value)
                                                       : valueOf(other.field, start))
                << "row " << i;
    }
}

TEST(CliOptions, CommandLineErrors) {
    struct Row {
        std::vector<std::string_view> args;
        std::string_view error;
    };
    const std::array<Row, 14> kRows = {{
        /* 0 */ {{"--check=1", "1"}, "--check takes no value"},
        /* 1 */ {{"--widths=", "1"}, "--widths takes no value"},
        /* 2 */ {{"1", "--height"}, "--height needs a value"},
        /* 3 */ {{"1", "-t"}, "-t needs a value"},
        /* 4 */ {{"--height=x", "1"}, "--height: not a whole number: x"},
        /* 5 */ {{"--dpi", "0", "1"}, "--dpi must be 1 to 54546084: 0"},
        /* 6 */ {{"-t=nw7", "1"}, "unknown option: -t=nw7"},
        /* 7 */ {{"--type", "code11", "1"}, "unknown type: code11"},
        /* 8 */ {{"--clipboard", "1", "2"}, "--clipboard takes one code"},
        /* 9 */ {{"--clipboard", "--batch", "codes.txt"}, "--clipboard takes one code"},
        /* 10 */ {{"--clipboard", "-o", "a.png", "1"}, "give --clipboard or --output, not both"},
        /* 11 */ {{"--widths", "--clipboard", "1"}, "give --clipboard or --widths, not both"},
        {{"-j", "0", "1"}, "--jobs must be 1 to 1024: 0"},
        {{"--jobs=two", "1"}, "--jobs: not a whole number: two"},
    }};
    for (std::size_t i = 0; i < kRows.size(); ++i)
        EXPECT_EQ(cli::parseOptions(kRows[i].args).error, kRows[i].error) << "row " << i;
}

// Reports name a setting by its option and its settings-file key.
TEST(CliReports, SettingsAreNamedByOptionAndKey) {
    std::string names;
    for (const SettingsField field :
         {SettingsField{&Settings::barHeight}, SettingsField{&Settings::guardExtra},
          SettingsField{&Settings::narrowWidth}, SettingsField{&Settings::wideRatio},
          SettingsField{&Settings::charGap}, SettingsField{&Settings::fontName},
          SettingsField{&Settings::fontSize}})
        names += cli::named(field, Settings{}) + "\n";
    EXPECT_EQ(names,
              "--height (h=) 50\n--guard (gh=) 5\n--narrow (narrow=) 1\n--wide (wn=) 3\n"
              "--gap (gap=) 2\n--font (name=) Arial\n--font-size (size=) 9\n");
}

TEST(CliOptions, OutputNamesKeepCodesInsideTheFolder) {
    EXPECT_EQ(cli::outputName("out/{n}-{code}.png", 3, "AB/../C"), "out/3-AB_.._C.png");
    EXPECT_EQ(cli::outputName("{code}.svg", 1, "..x"), "_..x.svg");
    EXPECT_EQ(cli::outputName("{code}.png", 1, ""), "_.png");
    // A brace that opens no placeholder is a character of the name.
    EXPECT_EQ(cli::outputName("{{n}{x}{code", 12, "A"), "{12{x}{code");
}

// The two-dimensional codes from batch prefixes, as PNG, BMP and SVG at every angle: ZXing
// reads each text back byte for byte, and the SVG rendered by rsvg-convert has the PNG's
// modules.
TEST_F(Cli, TwoDimensionalCodesInEveryFormatAndAngleReadBack) {
    struct Row {
        std::string_view line;
        std::string_view text;
        std::string_view type;  // ZXing's name
    };
    const std::array<Row, 4> rows = {{
        /* 0 */ {"qr@日本語のラベル ｱｲｳ", "日本語のラベル ｱｲｳ", "QRCode"},
        /* 1 */ {"qr@https://example.com/a?b=1", "https://example.com/a?b=1", "QRCode"},
        /* 2 */ {"dm@Grüße 2024", "Grüße 2024", "DataMatrix"},
        /* 3 */ {"pdf@PDF417 テスト", "PDF417 テスト", "PDF417"},
    }};
    std::string batch;
    for (const Row& r : rows) batch += std::string(r.line) + "\n";
    write("codes.txt", batch);
    for (const int angle : {0, 90, 180, 270}) {
        const std::string a = std::to_string(angle);
        for (const std::string_view ending : {"png", "bmp", "svg"}) {
            ASSERT_EQ(run("--narrow 3 -a " + a + " --batch codes.txt -o a" + a + "-{n}." +
                          std::string(ending)),
                      0)
                << read("stderr.txt");
        }
        for (std::size_t i = 0; i < rows.size(); ++i) {
            SCOPED_TRACE("angle " + a + " row " + std::to_string(i));
            const std::string name = "a" + a + "-" + std::to_string(i + 1);
            const std::string convert = "cd '" + dir_.string() + "' && rsvg-convert -b white " +
                                        name + ".svg -o " + name + "-svg.png && convert " +
                                        name + ".bmp " + name + "-bmp.png";
            ASSERT_EQ(std::system(convert.c_str()), 0);
            const auto png = test::readPng(dir_ / (name + ".png"));
            ASSERT_TRUE(png);
            const auto read = test_support::readMatrixSymbols(*png);
            ASSERT_EQ(read.size(), 1u);
            EXPECT_EQ(read[0].type, rows[i].type);
            EXPECT_EQ(read[0].data, rows[i].text);
            for (const std::string other : {"-svg.png", "-bmp.png"}) {
                const auto copy = test::readPng(dir_ / (name + other));
                ASSERT_TRUE(copy) << other;
                ASSERT_EQ(copy->width, png->width) << other;
                ASSERT_EQ(copy->height, png->height) << other;
                int mismatches = 0;
                for (int y = 0; y < png->height; ++y)
                    for (int x = 0; x < png->width; ++x)
                        mismatches += png->dark(x, y) != copy->dark(x, y);
                EXPECT_EQ(mismatches, 0) << other;
            }
        }
    }
}

TEST_F(Cli, TwoDimensionalOptionsShapeTheSymbolOrAreRefused) {
    struct Row {
        std::string args;
        int exit;
        std::string firstLine;  // of standard output (--widths: the size) or standard error
    };
    const std::array<Row, 14> rows = {{
        /* 0 */ {"-t qr --widths HELLO", 0, "21x21"},
        {"-t QR --qr-version 5 --widths HELLO", 0, "37x37"},
        {"-t qr --ecc h --widths " + std::string(20, 'A'), 0, "25x25"},  // 1-H holds 10
        {"-t qr --ecc L --widths " + std::string(25, 'A'), 0, "21x21"},  // 1-L holds 25
        {"-t datamatrix --widths hello", 0, "12x12"},
        /* 5 */ {"-t dataMatrix --dm-shape rect --widths hello", 0, "18x8"},
        {"-t pdf417 --pdf-columns 2 --widths PDF", 0, "103x"},
        {"-t 9 --ecc 8 --pdf-columns 10 --widths PDF", 0, "239x"},
        {"-t qr --ecc X A", 2, "lorrin-cli: --ecc must be L, M, Q or H (QR) or 2 to 8 (PDF417): X"},
        {"-t qr --ecc 9 A", 2, "lorrin-cli: --ecc must be L, M, Q or H (QR) or 2 to 8 (PDF417): 9"},
        /* 10 */ {"-t qr --qr-version 41 A", 2, "lorrin-cli: --qr-version must be 1 to 40 or auto: 41"},
        {"-t dm --dm-shape round A", 2, "lorrin-cli: unknown type: dm"},
        {"-t datamatrix --dm-shape round A", 2, "lorrin-cli: --dm-shape must be square or rect: round"},
        {"-t pdf417 --pdf-columns 31 A", 2,
         "lorrin-cli: --pdf-columns must be 1 to 30 or auto: 31"},
    }};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        EXPECT_EQ(run(rows[i].args), rows[i].exit) << read("stderr.txt");
        const std::string out = read(rows[i].exit == 0 ? "stdout.txt" : "stderr.txt");
        EXPECT_EQ(out.substr(0, out.find_first_of("\n")).substr(0, rows[i].firstLine.size()),
                  rows[i].firstLine);
    }
}

// Texts a two-dimensional code refuses are reported, line by line, and drawn nothing for;
// the other lines are drawn.  The reports speak the locale's language: Japanese with the
// status line's very texts, English under any other locale.
TEST_F(Cli, RefusedTwoDimensionalTextsAreNamedAndDrawNothing) {
    const std::string tooLong(3000, 'a');
    const std::string shown = std::string(80, 'a') + "...";
    const std::array<std::pair<const char*, std::string>, 3> rows = {{
        /* 0 */ {"ja_JP.UTF-8",
                 "lorrin-cli: 2 行目: \"\": QR ﾃﾞｰﾀがありません (-110)\n"
                 "lorrin-cli: 3 行目: \"bad\\xFF\": DataMatrix UTF-8 ではありません (-111)\n"
                 "lorrin-cli: 4 行目: \"a\\x00b\": PDF417 NUL 文字は使えません (-112)\n"
                 "lorrin-cli: 5 行目: \"" + shown +
                     "\": QR ﾃﾞｰﾀが長すぎます (3000文字, 最大2331文字) (-113)\n"},
        /* 1 */ {"C",
                 "lorrin-cli: line 2: \"\": QR no data (-110)\n"
                 "lorrin-cli: line 3: \"bad\\xFF\": DataMatrix not UTF-8 (-111)\n"
                 "lorrin-cli: line 4: \"a\\x00b\": PDF417 NUL is not allowed (-112)\n"
                 "lorrin-cli: line 5: \"" + shown +
                     "\": QR data too long (3000 characters, at most 2331) (-113)\n"},
        /* 2 */ {"de_DE.UTF-8", ""},  // as row 1
    }};
    write("codes.txt", "qr@ok\nqr@\ndm@bad\xff\npdf@a" + std::string(1, '\0') + "b\nqr@" + tooLong +
                           "\n");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        locale_ = rows[i].first;
        EXPECT_EQ(run("--batch codes.txt -o '{n}.png'"), 1) << "row " << i;
        EXPECT_EQ(files(), (std::set<std::string>{"1.png", "codes.txt", "lorrin.ini", "stderr.txt",
                                                  "stdout.txt"}))
            << "row " << i;
        EXPECT_EQ(read("stderr.txt"), rows[i].second.empty() ? rows[1].second : rows[i].second)
            << "row " << i;
        std::filesystem::remove(dir_ / "1.png");
    }
}

// Usage errors and the help speak the locale's language too, whatever the system has
// installed of it: Japanese for a Japanese locale, English for every other.
TEST_F(Cli, UsageMessagesFollowTheLocale) {
    struct Row {
        const char* locale;
        const char* args;
        int exit;
        const char* file;
        std::string_view start;
    };
    const std::array<Row, 7> rows = {{
        /* 0 */ {"C", "--bogus", 2, "stderr.txt",
                 "lorrin-cli: unknown option: --bogus\nTry 'lorrin-cli --help'.\n"},
        /* 1 */ {"en_US.UTF-8", "--bogus", 2, "stderr.txt",
                 "lorrin-cli: unknown option: --bogus\nTry 'lorrin-cli --help'.\n"},
        /* 2 */ {"ja_JP.UTF-8", "--bogus", 2, "stderr.txt",
                 "lorrin-cli: 不明なオプション: --bogus\n使い方は 'lorrin-cli --help' で表示されます。\n"},
        /* 3 */ {"ja_JP.eucJP", "-t code39 -a 45 A", 2, "stderr.txt",
                 "lorrin-cli: 角度は 0、90、180、270 のどれかです: 45\n"},
        /* 4 */ {"ja_JP.UTF-8", "--wide 5 -t itf -o x.png 12", 2, "stderr.txt",
                 "lorrin-cli: --wide (wn=) 5 では ITF を読み取れません: 2 から 3 モジュールにしてください\n"},
        /* 5 */ {"ja_JP.UTF-8", "--help", 0, "stdout.txt", "使い方: lorrin-cli [オプション] コード..."},
        /* 6 */ {"POSIX", "--help", 0, "stdout.txt", "usage: lorrin-cli [OPTIONS] CODE..."},
    }};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        locale_ = rows[i].locale;
        EXPECT_EQ(run(rows[i].args), rows[i].exit) << "row " << i;
        EXPECT_EQ(read(rows[i].file).substr(0, rows[i].start.size()), rows[i].start)
            << "row " << i;
    }
    // The system's reason comes whole, in Japanese where the system has it so: never
    // turned into question marks for a code set the locale does not name.
    locale_ = "ja_JP.UTF-8";
    EXPECT_EQ(run("-o missing/x.png 12345670"), 3);
    const std::string report = read("stderr.txt");
    EXPECT_TRUE(report.starts_with("lorrin-cli: missing/x.png に書き込めません: ")) << report;
    EXPECT_EQ(report.find('?'), std::string::npos) << report;
}

// Programs that take an SVG's user units for pixels at 96 dpi and ignore its size in points
// (Inkscape among them) place it at its printed size: rendered at 96 dpi with no zoom, the
// picture is its pixels x 96 / dpi; zoomed by dpi / 96, it is the PNG, bar for bar.
TEST_F(Cli, SvgUserUnitsGiveThePrintedSizeAtEveryResolution) {
    for (const int dpi : {72, 96, 150, 300, 600}) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        const std::string d = std::to_string(dpi);
        ASSERT_EQ(run("-t code39 --narrow 4 --dpi " + d + " -o p" + d + ".png ABC-123"), 0);
        ASSERT_EQ(run("-t code39 --narrow 4 --dpi " + d + " -o s" + d + ".svg ABC-123"), 0);
        const std::string zoom = std::to_string(dpi / 96.0);
        const std::string render = "cd '" + dir_.string() + "' && rsvg-convert -b white s" + d +
                                   ".svg -o n" + d + ".png && rsvg-convert -b white -z " + zoom +
                                   " s" + d + ".svg -o z" + d + ".png";
        ASSERT_EQ(std::system(render.c_str()), 0);
        const auto png = test::readPng(dir_ / ("p" + d + ".png"));
        const auto plain = test::readPng(dir_ / ("n" + d + ".png"));
        const auto zoomed = test::readPng(dir_ / ("z" + d + ".png"));
        ASSERT_TRUE(png && plain && zoomed);
        EXPECT_NEAR(plain->width, png->width * 96.0 / dpi, 1.0);
        EXPECT_NEAR(plain->height, png->height * 96.0 / dpi, 1.0);
        ASSERT_EQ(zoomed->width, png->width);
        ASSERT_EQ(zoomed->height, png->height);
        int mismatches = 0;
        for (int x = 0; x < png->width; ++x) mismatches += png->dark(x, 30) != zoomed->dark(x, 30);
        EXPECT_EQ(mismatches, 0);
    }
}

// A picture written to a device goes into the device, never over its node: a null device
// takes it, a full one fails the run with its reason (exit status 3).  Nodes of our own,
// so a fault could never replace the system's.
TEST_F(Cli, DevicesAreWrittenNotReplaced) {
    if (::geteuid() != 0) GTEST_SKIP() << "device nodes need the superuser to make";
    struct Row {
        const char* name;
        unsigned minor;  // of major 1: 3 null, 7 full
        int exit;
        std::string message;
    };
    const Row rows[] = {
        {"null.png", 3, 0, ""},
        {"full.png", 7, 3, "lorrin-cli: cannot write full.png: No space left on device\n"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const auto node = dir_ / r.name;
        ASSERT_EQ(::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, r.minor)), 0);
        EXPECT_EQ(run(std::string("-o ") + r.name + " 490123456789"), r.exit);
        EXPECT_EQ(read("stderr.txt"), r.message);
        EXPECT_TRUE(std::filesystem::is_character_file(std::filesystem::symlink_status(node)));
    }
}

}  // namespace
}  // namespace lorrin
