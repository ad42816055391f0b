// lorrin-cli: the draw of the desktop program without its window.  The pictures are the
// ones the desktop program puts on the clipboard, written to files instead.
#include "app/cli/options.h"
#include "app/cli/picture_files.h"
#include "app/core/draw.h"
#include "app/core/settings.h"
#include "app/core/status.h"
#include "rotateimage/rotate_image.h"

#include <climits>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#define LORRIN_ISATTY _isatty
#define LORRIN_FILENO _fileno
#else
#include <unistd.h>
#define LORRIN_ISATTY isatty
#define LORRIN_FILENO fileno
#endif

namespace lorrin::cli {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
// A batch on a terminal reports its progress every this many codes.
constexpr std::size_t kProgressStep = 500;

// The window's position has no meaning here: every position is on this screen.
class UnboundedScreen : public platform::Screen {
public:
    platform::ScreenSize size() const override { return {INT_MAX, INT_MAX}; }
};

class Silence : public platform::Sound {
public:
    void playAsync(std::string_view) override {}
};

// The clipboard of the command line: a picture placed on it goes to the next output file.
class FileClipboard : public platform::Clipboard {
public:
    std::string path;
    Format format = Format::kPng;
    int dpi = 96;
    bool written = false;

    bool hasText() const override { return false; }
    std::string text() const override { return {}; }
    void empty() override {}
    void setPicture(const platform::Bitmap& picture) override {
        std::FILE* out = path == "-" ? stdout : std::fopen(path.c_str(), "wb");
        if (out == nullptr) {
            written = false;
            return;
        }
        written = format == Format::kBmp ? writeBmp(out, picture, dpi) : writePng(out, picture, dpi);
        written = (out == stdout ? std::fflush(out) == 0 : std::fclose(out) == 0) && written;
    }
};

std::filesystem::path programDir(const char* argv0) {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) return self.parent_path();
    return std::filesystem::absolute(argv0, ec).parent_path();
}

class Runner {
public:
    Runner(const Options& options, Settings& settings, int typeIndex, int angleIndex)
        : options_(options), settings_(settings), typeIndex_(typeIndex), angleIndex_(angleIndex),
          services_{clipboard_, silence_, fonts_, rImage_} {
        clipboard_.dpi = options.dpi;
    }

    // Draws one code; `where` names it in messages ("line 3: " in a batch).
    void draw(std::size_t number, std::string_view text, const std::string& where, bool prefixed) {
        int type = typeIndex_;
        std::string_view code = text;
        if (prefixed) {
            if (const auto match = matchPrefix(text)) {
                type = match->typeIndex;
                code.remove_prefix(match->codeAt);
            }
        }
        const int result = options_.widths ? printWidths(type, code)
                                           : drawPicture(number, type, code, where);
        if (result <= 0) {
            std::cerr << "lorrin-cli: " << where << '"' << code << "\": " << statusText(result)
                      << " (" << result << ")\n";
            refused_ = true;
        }
    }

    bool refused() const { return refused_; }
    bool failed() const { return failed_; }

private:
    int printWidths(int type, std::string_view code) {
        const kelda::Encoded e = kelda::encode(type, code, settings_.checkSum != 0,
                                               settings_.wideRatio, settings_.charGap);
        if (!e.ok()) return e.result;
        std::string line = e.readableText + '\t';
        for (std::size_t i = 0; i < e.elementWidths.size(); ++i)
            line += (i == 0 ? "" : " ") + std::to_string(e.elementWidths[i]);
        line += '\t' + std::to_string(e.moduleCount) + '\n';
        std::fwrite(line.data(), 1, line.size(), stdout);
        return e.result;
    }

    int drawPicture(std::size_t number, int type, std::string_view code, const std::string& where) {
        const std::string path = outputName(options_.output, number, code);
        const Format format = *formatFor(options_.output);
        if (format == Format::kSvg) {
            const Composition c = composeBarcode(settings_, type, code, fonts_);
            if (!c.ok()) return c.result;
            platform::RasterFont* font = fonts_.font(settings_.fontName, settings_.fontSize);
            const std::string svg =
                svgImage(c.layout, angleIndex_, settings_, font == nullptr ? 0 : font->ascent());
            std::ofstream out(path, std::ios::binary);
            out << svg;
            out.close();
            if (!out) reportWriteFailure(where, path);
            return c.result;
        }
        clipboard_.path = path;
        clipboard_.format = format;
        clipboard_.written = false;
        view_.type = type;
        view_.angle = angleIndex_;
        view_.code = std::string(code);
        const int result = DrawBarcode(settings_, view_, services_);
        if (result > 0 && !clipboard_.written) reportWriteFailure(where, path);
        return result;
    }

    void reportWriteFailure(const std::string& where, const std::string& path) {
        std::cerr << "lorrin-cli: " << where << "cannot write " << path << '\n';
        failed_ = true;
    }

    const Options& options_;
    Settings& settings_;
    int typeIndex_;
    int angleIndex_;
    FileClipboard clipboard_;
    Silence silence_;
    platform::FontEngine fonts_;
    rotateimage::TRotateImage rImage_;
    DrawServices services_;
    ViewState view_;
    bool refused_ = false;
    bool failed_ = false;
};

int runBatch(Runner& runner, std::istream& in) {
    const bool showProgress = LORRIN_ISATTY(LORRIN_FILENO(stderr)) != 0;
    std::string line;
    std::size_t number = 0;
    std::size_t drawn = 0;
    while (std::getline(in, line)) {
        ++number;
        if (number == 1 && line.starts_with(kBom)) line.erase(0, kBom.size());
        if (line.ends_with('\r')) line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        runner.draw(number, line, "line " + std::to_string(number) + ": ", true);
        if (showProgress && ++drawn % kProgressStep == 0)
            std::cerr << "\rlorrin-cli: " << drawn << " codes" << std::flush;
    }
    if (showProgress && drawn >= kProgressStep) std::cerr << "\r\033[K" << std::flush;
    return in.bad() ? 2 : 0;
}

int run(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    const ParseResult parsed = parseOptions(args);
    const Options& o = parsed.options;
    if (!parsed.error.empty()) {
        std::cerr << "lorrin-cli: " << parsed.error << "\nTry 'lorrin-cli --help'.\n";
        return 2;
    }
    if (o.help) {
        std::cout << kUsage;
        return 0;
    }
    if (o.version) {
        std::cout << "lorrin-cli 3.04 (KELDA " << BarcodeVersion() << ")\n";
        return 0;
    }

    Settings settings;
    ViewState lists;
    if (o.settingsFile) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(*o.settingsFile, ec)) {
            std::cerr << "lorrin-cli: no settings file " << *o.settingsFile << '\n';
            return 2;
        }
        settings.iniPath = *o.settingsFile;
    } else {
        BuildIniPath(settings, programDir(argv[0]));
    }
    LoadSettings(settings, lists, UnboundedScreen{});
    const auto apply = [](auto& field, const auto& value) {
        if (value) field = *value;
    };
    apply(settings.barHeight, o.barHeight);
    apply(settings.guardExtra, o.guardExtra);
    apply(settings.narrowWidth, o.narrowWidth);
    apply(settings.wideRatio, o.wideRatio);
    apply(settings.charGap, o.charGap);
    apply(settings.checkSum, o.checkSum);
    apply(settings.ocrDisp, o.ocrDisp);
    apply(settings.addSum, o.addSum);
    apply(settings.fontName, o.fontName);
    apply(settings.fontSize, o.fontSize);
    // The lists as the desktop program would show them; no selection means the first entry.
    const int type = o.typeIndex.value_or(lists.type < 0 ? 0 : lists.type);
    const int angle = o.angleIndex.value_or(lists.angle < 0 ? 0 : lists.angle);

    Runner runner(o, settings, type, angle);
    if (o.batchFile) {
        int status = 0;
        if (*o.batchFile == "-") {
            status = runBatch(runner, std::cin);
        } else {
            std::ifstream in(*o.batchFile, std::ios::binary);
            if (!in) {
                std::cerr << "lorrin-cli: cannot read " << *o.batchFile << '\n';
                return 2;
            }
            status = runBatch(runner, in);
        }
        if (status != 0) return status;
    } else {
        for (std::size_t i = 0; i < o.codes.size(); ++i) {
            const std::string where = o.codes.size() > 1 ? "argument " + std::to_string(i + 1) + ": " : "";
            runner.draw(i + 1, o.codes[i], where, false);
        }
    }
    return (runner.refused() || runner.failed()) ? 1 : 0;
}

}  // namespace
}  // namespace lorrin::cli

int main(int argc, char** argv) { return lorrin::cli::run(argc, argv); }
